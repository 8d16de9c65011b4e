#include "cli/app/CliOptions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"

namespace soten::cli {

namespace {

constexpr const char* ReadingUsage =
    "Usage: soten-cli [--style shinji|honji] [--format text|json|tsv|csv] [--report]\n"
    "                 [--no-report] [--lines] [--bom] [--encoding utf-8|cp932]\n"
    "                 [--pdf FILE] SURNAME GIVEN\n";
constexpr const char* BatchUsage =
    "Usage: soten-cli --batch [--style shinji|honji] [--format json|tsv|csv]\n"
    "                 [--input text|tsv|csv] [--input-encoding utf-8|cp932]\n"
    "                 [--header | --no-header] [--surname-column COLUMN]\n"
    "                 [--given-column COLUMN] [--name-column COLUMN]\n"
    "                 [--style-column COLUMN] [--keep-columns | --no-keep-columns]\n"
    "                 [--report | --no-report] [--lines] [--bom] [--jobs N]\n";
constexpr const char* StrokesUsage = "Usage: soten-cli --strokes TEXT [--style shinji|honji]\n";
constexpr const char* SuggestUsage =
    "Usage: soten-cli --suggest SURNAME [--style shinji|honji] [--space names|all]\n"
    "                 [--gender f|m] [--chars N] [--reading-length N]\n"
    "                 [--reading-prefix KANA | --reading-contains KANA]\n"
    "                 [--contains TEXT[:POSITION]] [--min-grade total=1,person=2,...]\n"
    "                 [--min-score N] [--limit N] [--page N] [--format text|json|tsv]\n";
constexpr const char* CompareUsage =
    "Usage: soten-cli --compare SURNAME GIVEN[:READING]... [--style shinji|honji]\n"
    "                 [--format text|json|tsv|csv] [--bom] [--pdf FILE]\n";
constexpr const char* ShortlistUsage =
    "Usage: soten-cli --shortlist [--format text|json|tsv|csv] [--bom] [--pdf FILE]\n";
constexpr const char* HelpUsage = "Usage: soten-cli --help | --version\n";

}  // namespace

const char* const UsageText =
    "Usage: soten-cli [--style shinji|honji] [--format text|json|tsv|csv] [--report]\n"
    "                 [--no-report] [--lines] [--bom] [--encoding utf-8|cp932]\n"
    "                 [--detail] [--pdf FILE] SURNAME GIVEN\n"
    "       soten-cli --batch [--style shinji|honji] [--format json|tsv|csv]\n"
    "                 [--input text|tsv|csv] [--input-encoding utf-8|cp932]\n"
    "                 [--header | --no-header] [--surname-column COLUMN]\n"
    "                 [--given-column COLUMN] [--name-column COLUMN]\n"
    "                 [--style-column COLUMN] [--keep-columns | --no-keep-columns]\n"
    "                 [--report | --no-report] [--lines] [--bom] [--jobs N]\n"
    "       soten-cli --strokes TEXT [--style shinji|honji]\n"
    "       soten-cli --suggest SURNAME [--style shinji|honji] [--space names|all]\n"
    "                 [--gender f|m [--include-unspecified]] [--include-unregistrable]\n"
    "                 [--chars N] [--reading KANA] [--reading-prefix KANA]\n"
    "                 [--reading-suffix KANA] [--reading-contains KANA]\n"
    "                 [--reading-length N] [--morae N] [--exclude CHARS]\n"
    "                 [--contains TEXT[:POSITION]] [--min-grade total=◎,person=○,...]\n"
    "                 [--min-score N] [--min-sansai 吉|大吉] [--inyo-ok]\n"
    "                 [--sort KEY [--reverse]] [--limit N] [--page N]\n"
    "                 [--format text|json|tsv]\n"
    "       soten-cli --compare SURNAME GIVEN[:READING]... [--style shinji|honji]\n"
    "                 [--format text|json|tsv|csv] [--bom] [--pdf FILE]\n"
    "       soten-cli --shortlist [--format text|json|tsv|csv] [--bom] [--pdf FILE]\n"
    "       soten-cli --help | --version\n"
    "\n"
    "Modes:\n"
    "  SURNAME GIVEN  one reading: the report as text, or a record (json, tsv, csv)\n"
    "  --batch        one record per name read on stdin, in input order\n"
    "  --strokes      the stroke count of each character of TEXT\n"
    "  --suggest      given names that come out well with SURNAME\n"
    "  --compare      given names side by side, each after SURNAME\n"
    "  --shortlist    the names kept in the desktop program's shortlist\n"
    "  --help         this text; --version: the version\n"
    "\n"
    "Each form takes the options shown with it; any other option is a usage\n"
    "error. A value follows its option or is joined to it with \"=\"; a value\n"
    "that starts with \"-\" must be joined: --pdf=-x.pdf.\n"
    "\n"
    "--batch reads lines \"SURNAME GIVEN [shinji|honji]\" (--input text, fields\n"
    "separated by spaces or U+3000) or the rows of a table (--input tsv|csv; a\n"
    "first row with the names 姓 名字 surname 名 名前 given 氏名 name 画数式 style is\n"
    "a header). It writes JSON lines (--lines adds the screen and print lines)\n"
    "or TSV/CSV with a header row. TSV and CSV leave the report out unless\n"
    "--report; tables keep their columns unless --no-keep-columns. --jobs N\n"
    "reads on N threads (default: one per processor the load leaves idle).\n"
    "Error records carry a code: unknown-character, refused-length,\n"
    "malformed, too-long, invalid-encoding.\n"
    "\n"
    "JSON and TSV records carry the supplementary 三才配置 (sansai) and 陰陽配列\n"
    "(inyo); --detail adds them, explained, after the text report.\n"
    "\n"
    "--suggest lists given names whose numbers come out well with SURNAME: the\n"
    "names of the name dictionary (--space names) or every name of one to three\n"
    "kanji allowed in given names (--space all). Only names a registry office\n"
    "accepts (常用漢字, 人名用漢字, kana, ー, 々ゝゞヽヾ) are listed unless\n"
    "--include-unregistrable. --gender f lists girls' names and names given to\n"
    "both, m the same for boys; names with no gender given come only without\n"
    "--gender or with --include-unspecified. The reading filters all apply,\n"
    "in hiragana or katakana: --reading (exact), --reading-prefix,\n"
    "--reading-suffix, --reading-contains, --reading-length (kana) and --morae\n"
    "(ゃゅょぁぃぅぇぉゎ do not count; っ, ん and ー do); --exclude leaves out\n"
    "names holding any of CHARS. A name of kanji is read by joining each\n"
    "kanji's 名乗り, 訓 (the stem) and 音 as KANJIDIC2 gives them; no 連濁\n"
    "(さくら → ざくら) and no small っ (いち → いっ) are made. --min-grade gives\n"
    "the worst grade each number may have: ◎ (or 1) only ◎, ○ (2) ◎ or ○,\n"
    "△ (3) anything but ×, × (4) anything. --min-sansai keeps names whose\n"
    "三才配置 is at least that verdict, --inyo-ok those whose 陰陽配列 is not 凶.\n"
    "--sort takes score (the default), heaven, person, earth, outer, total (best\n"
    "grade first), strokes, name or reading (in --space all, name and reading\n"
    "sort the page only); --reverse turns the order round. Filters no name can\n"
    "satisfy are a usage error.\n"
    "\n"
    "--compare reads each GIVEN after SURNAME, in the order given, and lists\n"
    "them side by side: a table (text), one JSON object {\"surname\", \"style\",\n"
    "\"names\"} whose names are the records of single readings, or a TSV/CSV row\n"
    "per name. GIVEN:READING gives the name's reading in hiragana or katakana\n"
    "(kept as hiragana), as in 由衣:ゆい. Refused names are listed with the\n"
    "refusal. --shortlist lists the kept names the same way, each with its own\n"
    "surname, style, reading and note; --pdf prints the comparison.\n"
    "\n"
    "Exit status: 0 every reading made (or a search answered, with or without\n"
    "names; an empty shortlist), 1 some names refused, 2 usage error, a malformed input line or\n"
    "search filters that contradict each other, 3 input/output failure (input\n"
    "unreadable, output closed, disk full, PDF not writable).\n";

namespace {

struct UsageError {
    std::string message;
};

// The modes an option applies to, one bit each.
constexpr unsigned ModeBit(Mode mode) {
    return 1u << static_cast<unsigned>(mode);
}
constexpr unsigned ForReading = ModeBit(Mode::Reading);
constexpr unsigned ForBatch = ModeBit(Mode::Batch);
constexpr unsigned ForStrokes = ModeBit(Mode::Strokes);
constexpr unsigned ForSuggest = ModeBit(Mode::Suggest);
constexpr unsigned ForCompare = ModeBit(Mode::Compare);
constexpr unsigned ForShortlist = ModeBit(Mode::Shortlist);
constexpr unsigned ForLists = ForCompare | ForShortlist;  // names side by side

using Apply = void (*)(CliOptions&, const std::string& value);

struct Option {
    const char* name;
    bool takesValue;
    std::optional<Mode> selects;  // set for the options that choose the mode
    unsigned modes;               // the modes it applies to
    Apply apply;
};

std::int64_t ParseNumber(const std::string& text, const std::string& option, std::int64_t low,
                         std::int64_t high) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        throw UsageError{option + " needs a number from " + std::to_string(low) + " to " +
                         std::to_string(high)};
    }
    return value;
}

std::string Cp932Option(const std::string& utf8, const char* option) {
    auto cp932 = Cp932::FromUtf8(utf8);
    if (!cp932) throw UsageError{std::string(option) + " holds a character soten cannot use"};
    return *cp932;
}

int ParseGrade(const std::string& text) {
    if (text == "1" || text == "◎") return 1;
    if (text == "2" || text == "○") return 2;
    if (text == "3" || text == "△") return 3;
    if (text == "4" || text == "×") return 4;
    throw UsageError{"--min-grade takes grades 1 to 4 (or ◎ ○ △ ×)"};
}

// "total=1,person=2": the worst grade accepted for each named number.
void ParseMinGrades(const std::string& text, std::array<int, FortuneCount>& worst) {
    static const std::array<std::pair<const char*, FortuneKind>, 4> keys = {
        {{"person", Person}, {"earth", Earth}, {"outer", Outer}, {"total", Total}}};
    std::istringstream stream(text);
    for (std::string item; std::getline(stream, item, ',');) {
        const std::size_t equals = item.find('=');
        const std::string key = item.substr(0, equals);
        const auto found =
            std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return key == k.first; });
        if (equals == std::string::npos || found == keys.end()) {
            throw UsageError{"--min-grade takes person=, earth=, outer= and total= grades"};
        }
        worst[found->second] = ParseGrade(item.substr(equals + 1));
    }
}

// "翔" (anywhere) or "大:1" (at that position), one or more characters
// before the colon.
void ParseContains(const std::string& text, std::vector<RequiredCharacter>& required) {
    std::string characters = text;
    int position = 0;
    if (const std::size_t colon = text.rfind(':'); colon != std::string::npos) {
        characters = text.substr(0, colon);
        position = static_cast<int>(
            ParseNumber(text.substr(colon + 1), "--contains POSITION", 1, MaxPartChars));
    }
    const std::string cp932 = Cp932Option(characters, "--contains");
    if (cp932.empty()) throw UsageError{"--contains needs a character"};
    int k = 0;
    for (const std::string_view character : Cp932Characters(cp932)) {
        if (required.size() >= static_cast<std::size_t>(MaxRequiredCharacters)) {
            throw UsageError{"--contains takes at most 3 characters in all"};
        }
        required.push_back({std::string(character), position == 0 ? 0 : position + k});
        ++k;
    }
}

void ApplyStyle(CliOptions& options, const std::string& value) {
    const auto style = ParseStyle(value);
    if (!style) throw UsageError{"--style must be shinji or honji"};
    options.style = *style;
}

void ApplyFormat(CliOptions& options, const std::string& value) {
    if (value == "text") {
        options.format = Format::Text;
    } else if (value == "json") {
        options.format = Format::Json;
    } else if (value == "tsv") {
        options.format = Format::Tsv;
    } else if (value == "csv") {
        options.format = Format::Csv;
    } else {
        throw UsageError{"--format must be text, json, tsv or csv"};
    }
    options.formatGiven = true;
}

void ApplyJobs(CliOptions& options, const std::string& value) {
    unsigned jobs = 0;
    const auto [end, failure] = std::from_chars(value.data(), value.data() + value.size(), jobs);
    if (failure != std::errc() || end != value.data() + value.size() || jobs < 1 ||
        jobs > MaxJobs) {
        throw UsageError{"--jobs must be a number from 1 to " + std::to_string(MaxJobs)};
    }
    options.jobs = jobs;
}

Encoding ParseEncoding(const std::string& value, const char* option) {
    if (value == "utf-8" || value == "utf8") return Encoding::Utf8;
    if (value == "cp932" || value == "shift-jis" || value == "sjis") return Encoding::Cp932;
    throw UsageError{std::string(option) + " must be utf-8 or cp932"};
}

void ApplyEncoding(CliOptions& options, const std::string& value) {
    options.encoding = ParseEncoding(value, "--encoding");
}

void ApplyInput(CliOptions& options, const std::string& value) {
    if (value == "text") {
        options.input = InputFormat::Text;
    } else if (value == "tsv") {
        options.input = InputFormat::Tsv;
    } else if (value == "csv") {
        options.input = InputFormat::Csv;
    } else {
        throw UsageError{"--input must be text, tsv or csv"};
    }
}

// A column: a header name or a number from 1.
std::string ColumnOption(const std::string& value, const char* option) {
    if (value.empty()) throw UsageError{std::string(option) + " needs a column name or number"};
    return value;
}

void ApplyPdf(CliOptions& options, const std::string& value) {
    if (value.empty()) throw UsageError{"--pdf needs a file name"};
    options.pdfPath = value;
}

void ApplySurnameToSuggest(CliOptions& options, const std::string& value) {
    const auto cp932 = Cp932::NameFromUtf8(value);
    if (!cp932) throw UsageError{"the surname is not valid UTF-8"};
    if (cp932->empty()) throw UsageError{"--suggest needs a surname"};
    options.search.surname = *cp932;
}

void ApplySpace(CliOptions& options, const std::string& value) {
    if (value != "names" && value != "all") throw UsageError{"--space must be names or all"};
    options.search.space = value == "all" ? SearchSpace::All : SearchSpace::Names;
}

void ApplyGender(CliOptions& options, const std::string& value) {
    if (value == "f") {
        options.search.gender = GenderFilter::Female;
    } else if (value == "m") {
        options.search.gender = GenderFilter::Male;
    } else if (value == "any") {
        options.search.gender = GenderFilter::Any;
    } else {
        throw UsageError{"--gender must be f, m or any"};
    }
}

void ApplySort(CliOptions& options, const std::string& value) {
    static const std::array<std::pair<const char*, SortKey>, 9> keys = {
        {{"score", SortKey::Score},
         {"heaven", SortKey::Heaven},
         {"person", SortKey::Person},
         {"earth", SortKey::Earth},
         {"outer", SortKey::Outer},
         {"total", SortKey::Total},
         {"strokes", SortKey::Strokes},
         {"name", SortKey::Name},
         {"reading", SortKey::Yomi}}};
    const auto found =
        std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return value == k.first; });
    if (found == keys.end()) {
        throw UsageError{
            "--sort must be score, heaven, person, earth, outer, total, strokes, name or reading"};
    }
    options.search.sort = found->second;
}

// Every character of CHARS, each on its own.
void ApplyExclude(CliOptions& options, const std::string& value) {
    const std::string cp932 = Cp932Option(value, "--exclude");
    if (cp932.empty()) throw UsageError{"--exclude needs a character"};
    for (const std::string_view character : Cp932Characters(cp932)) {
        options.search.excluded.emplace_back(character);
    }
}

void ApplyChars(CliOptions& options, const std::string& value) {
    options.search.chars =
        value == "any" ? 0 : static_cast<int>(ParseNumber(value, "--chars", 1, MaxPartChars));
}

void ApplyMinSansai(CliOptions& options, const std::string& value) {
    if (value == "吉") {
        options.search.worstSansai = SansaiVerdict::Good;
    } else if (value == "大吉") {
        options.search.worstSansai = SansaiVerdict::VeryGood;
    } else {
        throw UsageError{"--min-sansai must be 吉 or 大吉"};
    }
}

void Nothing(CliOptions&, const std::string&) {}

constexpr unsigned ForNames = ForReading | ForBatch;  // the readings of names

// Every option: its modes and whether it takes a value.
constexpr Option Options[] = {
    {"--help", false, Mode::Help, 0, Nothing},
    {"-h", false, Mode::Help, 0, Nothing},
    {"--version", false, Mode::Version, 0, Nothing},
    {"--batch", false, Mode::Batch, ForBatch, Nothing},
    {"--strokes", true, Mode::Strokes, ForStrokes,
     [](CliOptions& o, const std::string& v) { o.strokesText = v; }},
    {"--suggest", true, Mode::Suggest, ForSuggest, ApplySurnameToSuggest},
    {"--compare", false, Mode::Compare, ForCompare, Nothing},
    {"--shortlist", false, Mode::Shortlist, ForShortlist, Nothing},
    {"--style", true, std::nullopt, ForNames | ForStrokes | ForSuggest | ForCompare, ApplyStyle},
    {"--format", true, std::nullopt, ForNames | ForSuggest | ForLists, ApplyFormat},
    {"--lines", false, std::nullopt, ForNames,
     [](CliOptions& o, const std::string&) { o.lines = true; }},
    {"--report", false, std::nullopt, ForNames,
     [](CliOptions& o, const std::string&) { o.reportGiven = true; }},
    {"--no-report", false, std::nullopt, ForNames,
     [](CliOptions& o, const std::string&) { o.reportGiven = false; }},
    {"--bom", false, std::nullopt, ForNames | ForLists,
     [](CliOptions& o, const std::string&) { o.bom = true; }},
    {"--input", true, std::nullopt, ForBatch, ApplyInput},
    {"--input-encoding", true, std::nullopt, ForBatch,
     [](CliOptions& o, const std::string& v) {
         o.inputEncoding = ParseEncoding(v, "--input-encoding");
     }},
    {"--header", false, std::nullopt, ForBatch,
     [](CliOptions& o, const std::string&) { o.header = true; }},
    {"--no-header", false, std::nullopt, ForBatch,
     [](CliOptions& o, const std::string&) { o.header = false; }},
    {"--surname-column", true, std::nullopt, ForBatch,
     [](CliOptions& o, const std::string& v) {
         o.surnameColumn = ColumnOption(v, "--surname-column");
     }},
    {"--given-column", true, std::nullopt, ForBatch,
     [](CliOptions& o, const std::string& v) {
         o.givenColumn = ColumnOption(v, "--given-column");
     }},
    {"--name-column", true, std::nullopt, ForBatch,
     [](CliOptions& o, const std::string& v) { o.nameColumn = ColumnOption(v, "--name-column"); }},
    {"--style-column", true, std::nullopt, ForBatch,
     [](CliOptions& o, const std::string& v) {
         o.styleColumn = ColumnOption(v, "--style-column");
     }},
    {"--keep-columns", false, std::nullopt, ForBatch,
     [](CliOptions& o, const std::string&) { o.keepColumnsGiven = true; }},
    {"--no-keep-columns", false, std::nullopt, ForBatch,
     [](CliOptions& o, const std::string&) { o.keepColumnsGiven = false; }},
    {"--jobs", true, std::nullopt, ForBatch, ApplyJobs},
    {"--encoding", true, std::nullopt, ForReading, ApplyEncoding},
    {"--pdf", true, std::nullopt, ForReading | ForLists, ApplyPdf},
    {"--detail", false, std::nullopt, ForReading,
     [](CliOptions& o, const std::string&) { o.detail = true; }},
    {"--space", true, std::nullopt, ForSuggest, ApplySpace},
    {"--gender", true, std::nullopt, ForSuggest, ApplyGender},
    {"--chars", true, std::nullopt, ForSuggest, ApplyChars},
    {"--include-unspecified", false, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string&) { o.search.includeUnspecified = true; }},
    {"--include-unregistrable", false, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string&) { o.search.includeUnregistrable = true; }},
    {"--reading", true, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string& v) {
         o.search.yomi.exact = Cp932Option(v, "--reading");
     }},
    {"--reading-prefix", true, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string& v) {
         o.search.yomi.prefix = Cp932Option(v, "--reading-prefix");
     }},
    {"--reading-suffix", true, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string& v) {
         o.search.yomi.suffix = Cp932Option(v, "--reading-suffix");
     }},
    {"--reading-contains", true, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string& v) {
         o.search.yomi.contains = Cp932Option(v, "--reading-contains");
     }},
    {"--reading-length", true, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string& v) {
         o.search.yomi.length = static_cast<int>(ParseNumber(v, "--reading-length", 1, 40));
     }},
    {"--morae", true, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string& v) {
         o.search.yomi.morae = static_cast<int>(ParseNumber(v, "--morae", 1, 40));
     }},
    {"--exclude", true, std::nullopt, ForSuggest, ApplyExclude},
    {"--sort", true, std::nullopt, ForSuggest, ApplySort},
    {"--reverse", false, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string&) { o.search.reversed = true; }},
    {"--contains", true, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string& v) { ParseContains(v, o.search.required); }},
    {"--min-grade", true, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string& v) { ParseMinGrades(v, o.search.worstGrade); }},
    {"--min-score", true, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string& v) {
         o.search.minScore = static_cast<int>(ParseNumber(v, "--min-score", 0, 12));
     }},
    {"--min-sansai", true, std::nullopt, ForSuggest, ApplyMinSansai},
    {"--inyo-ok", false, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string&) { o.search.inyoOk = true; }},
    // Larger limits are capped by the search, with a note.
    {"--limit", true, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string& v) {
         o.search.limit = static_cast<int>(ParseNumber(v, "--limit", 1, 1'000'000'000));
     }},
    {"--page", true, std::nullopt, ForSuggest,
     [](CliOptions& o, const std::string& v) {
         o.search.page =
             static_cast<std::uint64_t>(ParseNumber(v, "--page", 1, 1'000'000'000'000'000));
     }},
};

const Option* FindOption(std::string_view name) {
    for (const Option& option : Options) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

// The options that choose each mode, for the messages.
std::string ModeNames(unsigned modes) {
    std::string names;
    for (const Option& option : Options) {
        if (option.selects && (modes & ModeBit(*option.selects)) != 0) {
            names += names.empty() ? "" : " or ";
            names += option.name;
        }
    }
    return names;
}

struct GivenOption {
    const Option* option;
    std::string value;
};

bool IsTable(Format format) {
    return format == Format::Tsv || format == Format::Csv;
}

// The report is in JSON unless refused, in TSV and CSV only when asked for.
void CheckRecordOptions(CliOptions& options) {
    if (options.lines && options.format != Format::Json) {
        throw UsageError{"--lines needs --format json"};
    }
    if (options.bom && !IsTable(options.format))
        throw UsageError{"--bom needs --format tsv or csv"};
    options.report = options.reportGiven.value_or(options.format == Format::Json);
}

void CheckReading(CliOptions& options, const std::vector<std::string>& positional) {
    if (options.format == Format::Text && options.reportGiven) {
        throw UsageError{std::string(*options.reportGiven ? "--report" : "--no-report") +
                         " needs --format json, tsv or csv"};
    }
    CheckRecordOptions(options);
    if (options.detail && options.format != Format::Text) {
        throw UsageError{
            "--detail needs --format text: json, tsv and csv always hold sansai and inyo"};
    }
    if (positional.size() != 2) {
        throw UsageError{positional.size() < 2
                             ? "a surname and a given name are needed"
                             : "too many arguments: give a surname and a given name"};
    }
    if (positional[0].empty() || positional[1].empty()) {
        throw UsageError{"the surname and the given name must not be empty"};
    }
    options.surname = positional[0];
    options.given = positional[1];
}

void CheckBatchInput(CliOptions& options) {
    const bool table = options.input != InputFormat::Text;
    if (!table && (options.header || !options.surnameColumn.empty() ||
                   !options.givenColumn.empty() || !options.nameColumn.empty() ||
                   !options.styleColumn.empty() || options.keepColumnsGiven == true)) {
        throw UsageError{"the header and column options need --input tsv or csv"};
    }
    if (!options.nameColumn.empty() &&
        (!options.surnameColumn.empty() || !options.givenColumn.empty())) {
        throw UsageError{
            "--name-column cannot be combined with --surname-column or --given-column"};
    }
    options.keepColumns = options.keepColumnsGiven.value_or(table);
}

// "よみ" or "ヨミ": hiragana, ー, or katakana that has a hiragana.
std::string ReadingOf(const std::string& given, const std::string& utf8) {
    const auto cp932 = Cp932::FromUtf8(utf8);
    std::string hiragana = cp932 ? ToHiragana(*cp932) : std::string();
    if (!cp932 || !IsHiraganaText(hiragana)) {
        // Appended piece by piece, clear of GCC 12's false -Wrestrict at -O3.
        std::string message = "the reading of ";
        message += given;
        message += " must be hiragana or katakana";
        throw UsageError{message};
    }
    return hiragana;
}

// SURNAME GIVEN[:READING]...
void CheckCompare(CliOptions& options, const std::vector<std::string>& positional) {
    CheckRecordOptions(options);
    if (positional.size() < 2) {
        throw UsageError{"--compare needs a surname and at least one given name"};
    }
    options.surname = positional[0];
    for (std::size_t i = 1; i < positional.size(); ++i) {
        const std::string& name = positional[i];
        const std::size_t colon = name.find(':');
        GivenToCompare compared{name.substr(0, colon), {}};
        if (colon != std::string::npos) {
            compared.reading = ReadingOf(compared.given, name.substr(colon + 1));
        }
        if (compared.given.empty()) throw UsageError{"a given name must not be empty"};
        options.compared.push_back(std::move(compared));
    }
    if (options.surname.empty()) throw UsageError{"the surname must not be empty"};
}

void CheckMode(CliOptions& options, const std::vector<std::string>& positional) {
    if (options.mode == Mode::Reading) {
        CheckReading(options, positional);
        return;
    }
    if (options.mode == Mode::Compare) {
        CheckCompare(options, positional);
        return;
    }
    if (!positional.empty()) throw UsageError{"unexpected argument " + positional.front()};
    switch (options.mode) {
        case Mode::Batch:
            if (options.formatGiven && options.format == Format::Text) {
                throw UsageError{"--batch writes json, tsv or csv"};
            }
            if (!options.formatGiven) options.format = Format::Json;
            CheckRecordOptions(options);
            CheckBatchInput(options);
            break;
        case Mode::Strokes:
            if (options.strokesText.empty()) throw UsageError{"--strokes needs a non-empty text"};
            break;
        case Mode::Suggest:
            if (options.format == Format::Csv)
                throw UsageError{"--suggest writes text, json or tsv"};
            options.search.style = options.style;
            break;
        case Mode::Shortlist:
            CheckRecordOptions(options);
            break;
        default:
            break;
    }
}

CliOptions Parse(const std::vector<std::string>& args) {
    CliOptions options;
    std::vector<std::string> positional;
    std::vector<GivenOption> given;
    const Option* modeOption = nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            positional.insert(positional.end(), args.begin() + static_cast<long>(i) + 1,
                              args.end());
            break;
        }
        if (!arg.starts_with("--") && arg != "-h") {
            positional.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const Option* option = FindOption(name);
        if (!option) throw UsageError{"unknown option " + name};
        std::string value;
        if (!option->takesValue) {
            if (equals != std::string::npos) throw UsageError{name + " takes no value"};
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 == args.size()) {
            throw UsageError{name + " needs a value"};
        } else if (args[i + 1].starts_with("-")) {
            throw UsageError{name + " needs a value; one that starts with - is written " + name +
                             "=VALUE"};
        } else {
            value = args[++i];
        }
        if (option->selects == Mode::Help || option->selects == Mode::Version) {
            options.mode = *option->selects;
            return options;
        }
        if (option->selects) {
            if (modeOption && modeOption->selects != option->selects) {
                throw UsageError{std::string(modeOption->name) + " and " + name +
                                 " cannot be combined"};
            }
            modeOption = option;
        }
        given.push_back({option, std::move(value)});
    }

    options.mode = modeOption ? *modeOption->selects : Mode::Reading;
    for (const auto& [option, value] : given) {
        if ((option->modes & ModeBit(options.mode)) == 0) {
            throw UsageError{std::string(option->name) +
                             (options.mode == Mode::Reading
                                  ? " needs " + ModeNames(option->modes)
                                  : " cannot be used with " + std::string(modeOption->name))};
        }
        option->apply(options, value);
    }
    CheckMode(options, positional);
    return options;
}

}  // namespace

Mode RequestedMode(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") break;
        const Option* option = FindOption(std::string_view(arg).substr(0, arg.find('=')));
        if (option && option->selects && *option->selects != Mode::Version) {
            return *option->selects;
        }
    }
    return Mode::Reading;
}

const char* ModeUsage(Mode mode) {
    switch (mode) {
        case Mode::Batch:
            return BatchUsage;
        case Mode::Strokes:
            return StrokesUsage;
        case Mode::Suggest:
            return SuggestUsage;
        case Mode::Compare:
            return CompareUsage;
        case Mode::Shortlist:
            return ShortlistUsage;
        case Mode::Help:
        case Mode::Version:
            return HelpUsage;
        case Mode::Reading:
            break;
    }
    return ReadingUsage;
}

std::optional<StrokeStyle> ParseStyle(const std::string& text) {
    if (text == "shinji" || text == "新字式") return StrokeStyle::Shinji;
    if (text == "honji" || text == "本字式") return StrokeStyle::Honji;
    return std::nullopt;
}

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    try {
        return Parse(args);
    } catch (const UsageError& usage) {
        error = usage.message;
        return std::nullopt;
    }
}

}  // namespace soten::cli
