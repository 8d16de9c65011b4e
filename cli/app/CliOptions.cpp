#include "cli/app/CliOptions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string_view>

#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"

namespace soten::cli {

namespace {

// What --help says after the options: the forms of the values and the
// outputs, and the exit statuses.
constexpr const char* HelpNotes =
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
    "malformed, too-long, invalid-encoding. --batch FILE reads a file, an xlsx\n"
    "or ods workbook when its content is one (--sheet NAME: not the first sheet);\n"
    "-o FILE replaces FILE once written; --format xlsx writes a workbook to -o.\n"
    "\n"
    "JSON and TSV records carry the supplementary 三才配置 (sansai) and 陰陽配列\n"
    "(inyo); --detail adds them, explained, after the text report.\n"
    "\n"
    "--suggest lists given names whose numbers come out well with SURNAME: the\n"
    "names of the name dictionary (--space names) or every name of one to three\n"
    "kanji allowed in given names (--space all). Only names a registry office\n"
    "accepts (常用漢字, 人名用漢字, kana, ー, 々ゝゞヽヾ) are listed unless\n"
    "--include-unregistrable, and none holding a kanji naming guides advise\n"
    "against (死, 悪, 憂, 闇 … in data/avoided-kanji.txt) unless\n"
    "--include-avoided, which lists them with a note naming the kanji and why.\n"
    "--gender f lists girls' names and names given to\n"
    "both, m the same for boys. A name with no gender given whose reading's\n"
    "parts lean one way (they appear at least twice as often, plus one, in\n"
    "that gender's names of the dictionary) is listed under it as inferred\n"
    "(男性（推定）, genderInferred); the other names with no gender given come\n"
    "only without --gender or with --include-unspecified. In --space all,\n"
    "--gender leaves out the names whose parts lean the other way (at most\n"
    "1,000,000 names are weighed). The reading filters all apply,\n"
    "in hiragana or katakana: --reading (exact), --reading-prefix,\n"
    "--reading-suffix, --reading-contains, --reading-length (kana) and --morae\n"
    "(ゃゅょぁぃぅぇぉゎ do not count; っ, ん and ー do); --exclude leaves out\n"
    "names holding any of CHARS. A name of kanji is read by joining each\n"
    "kanji's yomi parts: in --space all by default only the (kanji, part) pairs\n"
    "real given names use (--common-only), with --any-reading every 名乗り, 訓\n"
    "(the stem) and 音 KANJIDIC2 gives (no 連濁, no small っ); the two together\n"
    "are a usage error. Every name carries its yomi's check by the 2025 rule\n"
    "(standard 一般の読み, partial 部分音訓, customary 名前での慣用, unverified\n"
    "要確認) and its name-likeness, the sum over its characters of\n"
    "ln((n_pos + n/4 + 1/2) / (N_pos + N/4 + V/2)) (n_pos: names of the name\n"
    "dictionary with that kanji and part at that position, n: anywhere; N_pos,\n"
    "N: all parts counted there and anywhere; V: the pairs; each name of the\n"
    "2010-2024 newborn rankings of Meiji Yasuda and Benesse counts as 30\n"
    "dictionary names). --min-grade gives\n"
    "the worst grade each number may have: ◎ (or 1) only ◎, ○ (2) ◎ or ○,\n"
    "△ (3) anything but ×, × (4) anything. --min-sansai keeps names whose\n"
    "三才配置 is at least that verdict, --inyo-ok those whose 陰陽配列 is not 凶.\n"
    "--sort takes score (the default), heaven, person, earth, outer, total (best\n"
    "grade first), strokes, name, reading (in --space all, name and reading\n"
    "sort the page only) or common (the most name-like first); score ties go\n"
    "to 三才配置, 陰陽配列, then name-likeness; --reverse turns the order round.\n"
    "Filters no name can\n"
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
    "--batch ends with a summary on stderr: the rows read, how many were read,\n"
    "refused and malformed, by code, and a hint when nearly every row failed\n"
    "the same way. Messages are in Japanese.\n"
    "\n"
    "Exit status: 0 every reading made (or a search answered, with or without\n"
    "names; an empty shortlist), 1 some names refused, 2 usage error or search\n"
    "filters that contradict each other, 3 input/output failure (input\n"
    "unreadable, output closed, disk full, PDF not writable), 4 --batch: some\n"
    "rows malformed (malformed, too-long, invalid-encoding; refused rows too\n"
    "may be among them).\n";

struct UsageError {
    std::string message;
};

constexpr unsigned ForReading = ModeBit(Mode::Reading);
constexpr unsigned ForBatch = ModeBit(Mode::Batch);
constexpr unsigned ForStrokes = ModeBit(Mode::Strokes);
constexpr unsigned ForSuggest = ModeBit(Mode::Suggest);
constexpr unsigned ForCompare = ModeBit(Mode::Compare);
constexpr unsigned ForShortlist = ModeBit(Mode::Shortlist);
constexpr unsigned ForHelp = ModeBit(Mode::Help) | ModeBit(Mode::Version);
constexpr unsigned ForNames = ForReading | ForBatch;      // the readings of names
constexpr unsigned ForLists = ForCompare | ForShortlist;  // names side by side

std::int64_t ParseNumber(const std::string& text, const std::string& option, std::int64_t low,
                         std::int64_t high) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        throw UsageError{option + " には " + std::to_string(low) + " から " + std::to_string(high) +
                         " までの数を指定してください"};
    }
    return value;
}

std::string Cp932Option(const std::string& utf8, const char* option) {
    auto cp932 = Cp932::FromUtf8(utf8);
    if (!cp932) throw UsageError{std::string(option) + " に使えない文字があります"};
    return *cp932;
}

int ParseGrade(const std::string& text) {
    if (text == "1" || text == "◎") return 1;
    if (text == "2" || text == "○") return 2;
    if (text == "3" || text == "△") return 3;
    if (text == "4" || text == "×") return 4;
    throw UsageError{"--min-grade の等級は 1 から 4（または ◎ ○ △ ×）です"};
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
            throw UsageError{
                "--min-grade には person=、earth=、outer=、total= の等級を指定してください"};
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
    if (cp932.empty()) throw UsageError{"--contains には文字を指定してください"};
    int k = 0;
    for (const std::string_view character : Cp932Characters(cp932)) {
        if (required.size() >= static_cast<std::size_t>(MaxRequiredCharacters)) {
            throw UsageError{"--contains の文字は合わせて 3 文字までです"};
        }
        required.push_back({std::string(character), position == 0 ? 0 : position + k});
        ++k;
    }
}

void ApplyStyle(CliOptions& options, const std::string& value) {
    const auto style = ParseStyle(value);
    if (!style) throw UsageError{"--style は shinji か honji（新字式 か 本字式）です"};
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
        // Each mode lists only the formats it writes.
        throw UsageError{options.mode == Mode::Batch ? "--format は json、tsv、csv のどれかです"
                         : options.mode == Mode::Suggest
                             ? "--format は text、json、tsv のどれかです"
                             : "--format は text、json、tsv、csv のどれかです"};
    }
    options.formatGiven = true;
}

// --batch also writes a workbook: its rows are the TSV records.
void ApplyBatchFormat(CliOptions& options, const std::string& value) {
    options.workbookOutput = value == "xlsx";
    ApplyFormat(options, options.workbookOutput ? "tsv" : value);
}

void ApplyJobs(CliOptions& options, const std::string& value) {
    unsigned jobs = 0;
    const auto [end, failure] = std::from_chars(value.data(), value.data() + value.size(), jobs);
    if (failure != std::errc() || end != value.data() + value.size() || jobs < 1 ||
        jobs > MaxJobs) {
        throw UsageError{"--jobs には 1 から " + std::to_string(MaxJobs) +
                         " までの数を指定してください"};
    }
    options.jobs = jobs;
}

// An encoding by any of its usual names, in any case.
Encoding ParseEncoding(const std::string& value, const char* option, bool utf16 = false) {
    std::string name = value;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name == "utf-8" || name == "utf8") return Encoding::Utf8;
    if (name == "cp932" || name == "shift-jis" || name == "shift_jis" || name == "sjis") {
        return Encoding::Cp932;
    }
    if (utf16 && (name == "utf-16" || name == "utf16")) return Encoding::Utf16;
    throw UsageError{std::string(option) +
                     (utf16 ? " は utf-8、cp932 か utf-16 です" : " は utf-8 か cp932 です")};
}

void ApplyEncoding(CliOptions& options, const std::string& value) {
    options.encoding = ParseEncoding(value, "--encoding");
}

void ApplySkipRows(CliOptions& options, const std::string& value) {
    long rows = 0;
    const auto [end, failure] = std::from_chars(value.data(), value.data() + value.size(), rows);
    if (failure != std::errc() || end != value.data() + value.size() || rows < 0) {
        throw UsageError{"--skip-rows は 0 以上の数です"};
    }
    options.skipRows = rows;
}

void ApplyInput(CliOptions& options, const std::string& value) {
    if (value == "text") {
        options.input = InputFormat::Text;
    } else if (value == "tsv") {
        options.input = InputFormat::Tsv;
    } else if (value == "csv") {
        options.input = InputFormat::Csv;
    } else if (value == "xlsx") {
        options.input = InputFormat::Xlsx;
    } else if (value == "ods") {
        options.input = InputFormat::Ods;
    } else {
        throw UsageError{"--input は text、tsv、csv、xlsx、ods のどれかです"};
    }
    options.inputGiven = true;
}

// A column: a header name or a number from 1.
std::string ColumnOption(const std::string& value, const char* option) {
    if (value.empty())
        throw UsageError{std::string(option) + " には列の名前か番号を指定してください"};
    return value;
}

void ApplyPdf(CliOptions& options, const std::string& value) {
    if (value.empty()) throw UsageError{"--pdf にはファイル名を指定してください"};
    options.pdfPath = value;
}

void ApplySurnameToSuggest(CliOptions& options, const std::string& value) {
    const auto cp932 = Cp932::NameFromUtf8(value);
    if (!cp932) throw UsageError{"名字が UTF-8 ではありません"};
    if (cp932->empty()) throw UsageError{"--suggest には名字を指定してください"};
    options.search.surname = *cp932;
}

void ApplySpace(CliOptions& options, const std::string& value) {
    if (value != "names" && value != "all") throw UsageError{"--space は names か all です"};
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
        throw UsageError{"--gender は f、m、any のどれかです"};
    }
}

void ApplySort(CliOptions& options, const std::string& value) {
    static const std::array<std::pair<const char*, SortKey>, 10> keys = {
        {{"score", SortKey::Score},
         {"heaven", SortKey::Heaven},
         {"person", SortKey::Person},
         {"earth", SortKey::Earth},
         {"outer", SortKey::Outer},
         {"total", SortKey::Total},
         {"strokes", SortKey::Strokes},
         {"name", SortKey::Name},
         {"reading", SortKey::Yomi},
         {"common", SortKey::Common}}};
    const auto found =
        std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return value == k.first; });
    if (found == keys.end()) {
        throw UsageError{
            "--sort は score、heaven、person、earth、outer、total、strokes、name、reading、"
            "common のどれかです"};
    }
    options.search.sort = found->second;
}

// Every character of CHARS, each on its own.
void ApplyExclude(CliOptions& options, const std::string& value) {
    const std::string cp932 = Cp932Option(value, "--exclude");
    if (cp932.empty()) throw UsageError{"--exclude には文字を指定してください"};
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
        throw UsageError{"--min-sansai は 吉 か 大吉 です"};
    }
}

// --header and --no-header say opposite things: given both, neither wins.
void SetHeader(CliOptions& options, bool header) {
    if (options.header && *options.header != header) {
        throw UsageError{"--header と --no-header は一緒に使えません"};
    }
    options.header = header;
}

void Nothing(CliOptions&, const std::string&) {}

// Every option, in the order the usages show them: the mode options first,
// then the others, each with the modes it applies to.
constexpr CliOption Options[] = {
    {.name = "--batch",
     .help = "one record per name of FILE or stdin, in input order",
     .modes = ForBatch,
     .selects = Mode::Batch,
     .apply = Nothing},
    {.name = "--strokes",
     .valueName = "TEXT",
     .help = "the stroke count of each character of TEXT",
     .modes = ForStrokes,
     .selects = Mode::Strokes,
     .apply = [](CliOptions& o, const std::string& v) { o.strokesText = v; }},
    {.name = "--suggest",
     .valueName = "SURNAME",
     .help = "given names that come out well with SURNAME",
     .modes = ForSuggest,
     .selects = Mode::Suggest,
     .apply = ApplySurnameToSuggest},
    {.name = "--compare",
     .help = "given names side by side, each after SURNAME",
     .modes = ForCompare,
     .selects = Mode::Compare,
     .apply = Nothing},
    {.name = "--shortlist",
     .help = "the names kept in the desktop program's shortlist",
     .modes = ForShortlist,
     .selects = Mode::Shortlist,
     .apply = Nothing},
    {.name = "--help",
     .alias = "-h",
     .help = "this text",
     .modes = ForHelp,
     .selects = Mode::Help,
     .orNext = true,
     .apply = Nothing},
    {.name = "--version",
     .help = "the version",
     .modes = ForHelp,
     .selects = Mode::Version,
     .apply = Nothing},

    {.name = "--style",
     .valueName = "shinji|honji",
     .help = "新字式 (the default) or 本字式 stroke counts",
     .modes = ForNames | ForStrokes | ForSuggest | ForCompare,
     .apply = ApplyStyle},
    {.name = "--format",
     .valueName = "text|json|tsv|csv",
     .help = "the report as text (the default) or a record",
     .modes = ForReading | ForLists,
     .apply = ApplyFormat},
    {.name = "--format",
     .valueName = "json|tsv|csv|xlsx",
     .help = "--batch: JSON lines (the default), a table, a workbook",
     .modes = ForBatch,
     .apply = ApplyBatchFormat},
    {.name = "--format",
     .valueName = "text|json|tsv",
     .help = "--suggest: text (the default), JSON or TSV",
     .modes = ForSuggest,
     .apply = ApplyFormat},
    {.name = "--input",
     .valueName = "text|tsv|csv|xlsx|ods",
     .help = "lines of names (the default), a table, a workbook",
     .modes = ForBatch,
     .apply = ApplyInput},
    {.name = "--sheet",
     .valueName = "NAME",
     .help = "the workbook's sheet to read (default: the first)",
     .modes = ForBatch,
     .apply =
         [](CliOptions& o, const std::string& v) {
             if (v.empty()) throw UsageError{"--sheet にはシートの名前が要ります"};
             o.sheet = v;
         }},
    {.name = "--output",
     .alias = "-o",
     .valueName = "FILE",
     .help = "write the records to FILE, replacing it whole",
     .modes = ForBatch,
     .apply =
         [](CliOptions& o, const std::string& v) {
             if (v.empty()) throw UsageError{"--output にはファイルの名前が要ります"};
             o.outputPath = v;
         }},
    {.name = "--input-encoding",
     .valueName = "utf-8|cp932|utf-16",
     .help = "the encoding of the input (default utf-8; UTF-16 told by its mark)",
     .modes = ForBatch,
     .apply =
         [](CliOptions& o, const std::string& v) {
             o.inputEncoding = ParseEncoding(v, "--input-encoding", true);
         }},
    {.name = "--skip-rows",
     .valueName = "N",
     .help = "skip N title rows above a table",
     .modes = ForBatch,
     .apply = ApplySkipRows},
    {.name = "--normalize",
     .help = "read half-width katakana as full-width (NFKC)",
     .modes = ForBatch,
     .apply = [](CliOptions& o, const std::string&) { o.normalize = true; }},
    {.name = "--output-encoding",
     .valueName = "utf-8|cp932",
     .help = "the encoding of TSV and CSV records (default utf-8)",
     .modes = ForBatch,
     .apply =
         [](CliOptions& o, const std::string& v) {
             o.outputEncoding = ParseEncoding(v, "--output-encoding");
         }},
    {.name = "--header",
     .help = "the table's first row names its columns",
     .modes = ForBatch,
     .orNext = true,
     .apply = [](CliOptions& o, const std::string&) { SetHeader(o, true); }},
    {.name = "--no-header",
     .help = "no header row (default: told by the names)",
     .modes = ForBatch,
     .apply = [](CliOptions& o, const std::string&) { SetHeader(o, false); }},
    {.name = "--surname-column",
     .valueName = "COLUMN",
     .help = "the surnames' column: a header name or a number",
     .modes = ForBatch,
     .apply = [](CliOptions& o,
                 const std::string& v) { o.surnameColumn = ColumnOption(v, "--surname-column"); }},
    {.name = "--given-column",
     .valueName = "COLUMN",
     .help = "the column of the given names",
     .modes = ForBatch,
     .apply = [](CliOptions& o,
                 const std::string& v) { o.givenColumn = ColumnOption(v, "--given-column"); }},
    {.name = "--name-column",
     .valueName = "COLUMN",
     .help = "the column holding both names",
     .modes = ForBatch,
     .apply = [](CliOptions& o,
                 const std::string& v) { o.nameColumn = ColumnOption(v, "--name-column"); }},
    {.name = "--style-column",
     .valueName = "COLUMN",
     .help = "the column of each name's shinji or honji",
     .modes = ForBatch,
     .apply = [](CliOptions& o,
                 const std::string& v) { o.styleColumn = ColumnOption(v, "--style-column"); }},
    {.name = "--keep-columns",
     .help = "keep the input columns in the records (default)",
     .modes = ForBatch,
     .orNext = true,
     .apply = [](CliOptions& o, const std::string&) { o.keepColumnsGiven = true; }},
    {.name = "--no-keep-columns",
     .help = "leave the table's columns out of the records",
     .modes = ForBatch,
     .apply = [](CliOptions& o, const std::string&) { o.keepColumnsGiven = false; }},
    {.name = "--report",
     .help = "put the report in the records (JSON: default)",
     .modes = ForNames,
     .orNext = true,
     .apply = [](CliOptions& o, const std::string&) { o.reportGiven = true; }},
    {.name = "--no-report",
     .help = "leave the report out of the records",
     .modes = ForNames,
     .apply = [](CliOptions& o, const std::string&) { o.reportGiven = false; }},
    {.name = "--lines",
     .help = "add the screen and print lines to JSON records",
     .modes = ForNames,
     .apply = [](CliOptions& o, const std::string&) { o.lines = true; }},
    {.name = "--bom",
     .help = "start TSV or CSV with a byte-order mark",
     .modes = ForNames | ForLists,
     .apply = [](CliOptions& o, const std::string&) { o.bom = true; }},
    {.name = "--encoding",
     .valueName = "utf-8|cp932",
     .help = "the output's encoding (cp932: a saved file's)",
     .modes = ForReading,
     .apply = ApplyEncoding},
    {.name = "--detail",
     .help = "explain 三才配置 and 陰陽配列 after the report",
     .modes = ForReading,
     .apply = [](CliOptions& o, const std::string&) { o.detail = true; }},
    {.name = "--jobs",
     .valueName = "N",
     .help = "N reading threads (default: one per idle core)",
     .modes = ForBatch,
     .apply = ApplyJobs},
    {.name = "--pdf",
     .valueName = "FILE",
     .help = "also print the reading or comparison to FILE",
     .modes = ForReading | ForLists,
     .apply = ApplyPdf},

    {.name = "--space",
     .valueName = "names|all",
     .help = "the name dictionary (the default) or every name",
     .modes = ForSuggest,
     .apply = ApplySpace},
    {.name = "--gender",
     .valueName = "f|m|any",
     .help = "girls' or boys' names, each with names for both (--space all: by lean)",
     .modes = ForSuggest,
     .apply = ApplyGender},
    {.name = "--include-unspecified",
     .help = "with --gender, also names with no gender given",
     .modes = ForSuggest,
     .apply = [](CliOptions& o, const std::string&) { o.search.includeUnspecified = true; }},
    {.name = "--common-only",
     .help = "--space all: only kanji read as real given names read them (default)",
     .modes = ForSuggest,
     .apply = [](CliOptions& o, const std::string&) { o.commonOnlyGiven = true; }},
    {.name = "--any-reading",
     .help = "--space all: read each kanji by every dictionary reading",
     .modes = ForSuggest,
     .apply = [](CliOptions& o, const std::string&) { o.search.commonOnly = false; }},
    {.name = "--include-unregistrable",
     .help = "also names a registry office refuses",
     .modes = ForSuggest,
     .apply = [](CliOptions& o, const std::string&) { o.search.includeUnregistrable = true; }},
    {.name = "--include-avoided",
     .help = "also names holding a kanji naming guides advise against",
     .modes = ForSuggest,
     .apply = [](CliOptions& o, const std::string&) { o.search.includeAvoided = true; }},
    {.name = "--chars",
     .valueName = "N",
     .help = "names of N characters (default: any)",
     .modes = ForSuggest,
     .apply = ApplyChars},
    {.name = "--reading",
     .valueName = "KANA",
     .help = "names read KANA",
     .modes = ForSuggest,
     .apply = [](CliOptions& o,
                 const std::string& v) { o.search.yomi.exact = Cp932Option(v, "--reading"); }},
    {.name = "--reading-prefix",
     .valueName = "KANA",
     .help = "names whose reading starts with KANA",
     .modes = ForSuggest,
     .apply =
         [](CliOptions& o, const std::string& v) {
             o.search.yomi.prefix = Cp932Option(v, "--reading-prefix");
         }},
    {.name = "--reading-suffix",
     .valueName = "KANA",
     .help = "names whose reading ends with KANA",
     .modes = ForSuggest,
     .apply =
         [](CliOptions& o, const std::string& v) {
             o.search.yomi.suffix = Cp932Option(v, "--reading-suffix");
         }},
    {.name = "--reading-contains",
     .valueName = "KANA",
     .help = "names whose reading holds KANA",
     .modes = ForSuggest,
     .apply =
         [](CliOptions& o, const std::string& v) {
             o.search.yomi.contains = Cp932Option(v, "--reading-contains");
         }},
    {.name = "--reading-length",
     .valueName = "N",
     .help = "names whose reading is N kana long",
     .modes = ForSuggest,
     .apply =
         [](CliOptions& o, const std::string& v) {
             o.search.yomi.length = static_cast<int>(ParseNumber(v, "--reading-length", 1, 40));
         }},
    {.name = "--morae",
     .valueName = "N",
     .help = "names whose reading is N morae long",
     .modes = ForSuggest,
     .apply =
         [](CliOptions& o, const std::string& v) {
             o.search.yomi.morae = static_cast<int>(ParseNumber(v, "--morae", 1, 40));
         }},
    {.name = "--exclude",
     .valueName = "CHARS",
     .help = "leave out the names holding any of CHARS",
     .modes = ForSuggest,
     .apply = ApplyExclude},
    {.name = "--contains",
     .valueName = "TEXT[:POSITION]",
     .help = "names holding TEXT (at POSITION, from 1)",
     .modes = ForSuggest,
     .apply = [](CliOptions& o, const std::string& v) { ParseContains(v, o.search.required); }},
    {.name = "--min-grade",
     .valueName = "total=1,person=2,...",
     .help = "the worst grade each number may have",
     .modes = ForSuggest,
     .apply = [](CliOptions& o, const std::string& v) { ParseMinGrades(v, o.search.worstGrade); }},
    {.name = "--min-score",
     .valueName = "N",
     .help = "names scoring at least N (0 to 12)",
     .modes = ForSuggest,
     .apply =
         [](CliOptions& o, const std::string& v) {
             o.search.minScore = static_cast<int>(ParseNumber(v, "--min-score", 0, 12));
         }},
    {.name = "--min-sansai",
     .valueName = "吉|大吉",
     .help = "names whose 三才配置 is at least that verdict",
     .modes = ForSuggest,
     .apply = ApplyMinSansai},
    {.name = "--inyo-ok",
     .help = "names whose 陰陽配列 is not 凶",
     .modes = ForSuggest,
     .apply = [](CliOptions& o, const std::string&) { o.search.inyoOk = true; }},
    {.name = "--sort",
     .valueName = "KEY",
     .help = "score (default), heaven, person, ... or reading",
     .modes = ForSuggest,
     .apply = ApplySort},
    {.name = "--reverse",
     .help = "turn the order round",
     .modes = ForSuggest,
     .apply = [](CliOptions& o, const std::string&) { o.search.reversed = true; }},
    // Larger limits are capped by the search, with a note.
    {.name = "--limit",
     .valueName = "N",
     .help = "N names a page (default 100)",
     .modes = ForSuggest,
     .apply =
         [](CliOptions& o, const std::string& v) {
             o.search.limit = static_cast<int>(ParseNumber(v, "--limit", 1, 1'000'000'000));
         }},
    {.name = "--page",
     .valueName = "N",
     .help = "the Nth page (default 1)",
     .modes = ForSuggest,
     .apply =
         [](CliOptions& o, const std::string& v) {
             o.search.page =
                 static_cast<std::uint64_t>(ParseNumber(v, "--page", 1, 1'000'000'000'000'000));
         }},
};

bool Named(const CliOption& option, std::string_view name) {
    return name == option.name || (option.alias && name == option.alias);
}

bool AppliesTo(const CliOption& option, Mode mode) {
    return (option.modes & ModeBit(mode)) != 0;
}

// The first row of an option, which says whether it takes a value and which
// mode it chooses.
const CliOption* FindOption(std::string_view name) {
    for (const CliOption& option : Options) {
        if (Named(option, name)) return &option;
    }
    return nullptr;
}

// The row of an option for one mode, or nullptr when it does not apply.
const CliOption* FindOption(std::string_view name, Mode mode) {
    for (const CliOption& option : Options) {
        if (Named(option, name) && AppliesTo(option, mode)) return &option;
    }
    return nullptr;
}

// The modes an option applies to, over all its rows.
unsigned ModesOf(std::string_view name) {
    unsigned modes = 0;
    for (const CliOption& option : Options) {
        if (Named(option, name)) modes |= option.modes;
    }
    return modes;
}

// The options that choose each mode, for the messages.
std::string ModeNames(unsigned modes) {
    std::string names;
    for (const CliOption& option : Options) {
        if (option.selects && (modes & ModeBit(*option.selects)) != 0) {
            names += names.empty() ? "" : " か ";
            names += option.name;
        }
    }
    return names;
}

struct GivenOption {
    const CliOption* option;  // its first row
    std::string value;
};

bool IsTable(Format format) {
    return format == Format::Tsv || format == Format::Csv;
}

// The report is in JSON unless refused, in TSV and CSV only when asked for.
void CheckRecordOptions(CliOptions& options) {
    if (options.lines && options.format != Format::Json) {
        throw UsageError{"--lines には --format json が必要です"};
    }
    if (options.bom && !IsTable(options.format))
        throw UsageError{"--bom には --format tsv か csv が必要です"};
    options.report = options.reportGiven.value_or(options.format == Format::Json);
}

void CheckReading(CliOptions& options, const std::vector<std::string>& positional) {
    if (options.format == Format::Text && options.reportGiven) {
        throw UsageError{std::string(*options.reportGiven ? "--report" : "--no-report") +
                         " には --format json、tsv、csv のどれかが必要です"};
    }
    CheckRecordOptions(options);
    if (options.detail && options.format != Format::Text) {
        throw UsageError{
            "--detail には --format text が必要です（json、tsv、csv にはいつも sansai と inyo "
            "が入ります）"};
    }
    if (positional.size() != 2) {
        throw UsageError{positional.size() < 2 ? "名字と名前が必要です"
                                               : "引数が多すぎます。名字と名前を指定してください"};
    }
    if (positional[0].empty() || positional[1].empty()) {
        throw UsageError{"名字と名前は空にできません"};
    }
    options.surname = positional[0];
    options.given = positional[1];
}

void CheckBatchInput(CliOptions& options) {
    const bool table = options.input != InputFormat::Text;
    const bool workbook = options.input == InputFormat::Xlsx || options.input == InputFormat::Ods;
    if (!options.sheet.empty() && !workbook) {
        throw UsageError{"--sheet は --input xlsx か ods と使います"};
    }
    if (!table && (options.header || options.skipRows > 0 || !options.surnameColumn.empty() ||
                   !options.givenColumn.empty() || !options.nameColumn.empty() ||
                   !options.styleColumn.empty() || options.keepColumnsGiven == true)) {
        throw UsageError{"見出しと列のオプションには --input tsv か csv が必要です"};
    }
    if (!options.nameColumn.empty() &&
        (!options.surnameColumn.empty() || !options.givenColumn.empty())) {
        throw UsageError{"--name-column は --surname-column や --given-column と一緒に使えません"};
    }
    options.keepColumns = options.keepColumnsGiven.value_or(table);
    if (options.outputEncoding == Encoding::Cp932) {
        // JSON is UTF-8 by definition, and a UTF-8 mark before cp932 bytes
        // would make a spreadsheet misread them.
        if (!IsTable(options.format)) {
            throw UsageError{"--output-encoding cp932 には --format tsv か csv が必要です"};
        }
        if (options.bom) throw UsageError{"--bom と --output-encoding cp932 は一緒に使えません"};
    }
}

// "よみ" or "ヨミ": hiragana, ー, or katakana that has a hiragana.
std::string ReadingOf(const std::string& given, const std::string& utf8) {
    const auto cp932 = Cp932::FromUtf8(utf8);
    std::string hiragana = cp932 ? ToHiragana(*cp932) : std::string();
    if (!cp932 || !IsHiraganaText(hiragana)) {
        // Appended piece by piece, clear of GCC 12's false -Wrestrict at -O3.
        std::string message = given;
        message += " の読みはひらがなかカタカナで書いてください";
        throw UsageError{message};
    }
    return hiragana;
}

// SURNAME GIVEN[:READING]...
void CheckCompare(CliOptions& options, const std::vector<std::string>& positional) {
    CheckRecordOptions(options);
    if (positional.size() < 2) {
        throw UsageError{"--compare には名字と一つ以上の名前が必要です"};
    }
    options.surname = positional[0];
    for (std::size_t i = 1; i < positional.size(); ++i) {
        const std::string& name = positional[i];
        const std::size_t colon = name.find(':');
        GivenToCompare compared{name.substr(0, colon), {}};
        if (colon != std::string::npos) {
            compared.reading = ReadingOf(compared.given, name.substr(colon + 1));
        }
        if (compared.given.empty()) throw UsageError{"名前は空にできません"};
        options.compared.push_back(std::move(compared));
    }
    if (options.surname.empty()) throw UsageError{"名字は空にできません"};
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
    // --batch reads one file, or stdin.
    const std::size_t arguments = options.mode == Mode::Batch ? 1 : 0;
    if (positional.size() > arguments) {
        throw UsageError{"余分な引数があります: " + positional[arguments]};
    }
    switch (options.mode) {
        case Mode::Batch:
            if (options.formatGiven && options.format == Format::Text) {
                throw UsageError{"--batch の出力は json、tsv、csv のどれかです"};
            }
            if (!options.formatGiven) options.format = Format::Json;
            CheckRecordOptions(options);
            if (options.workbookOutput && options.bom) {
                throw UsageError{"--bom は --format tsv か csv と使います"};
            }
            if (options.workbookOutput && options.outputPath.empty()) {
                throw UsageError{
                    "--format xlsx には -o FILE が必要です（ブックは標準出力には書きません）"};
            }
            if (!positional.empty()) options.inputPath = positional.front();
            if (options.inputPath.empty() &&
                (options.input == InputFormat::Xlsx || options.input == InputFormat::Ods)) {
                options.inputPath = "-";
            }
            // A file without --input is told by its content when it is read.
            if (options.inputGiven || options.inputPath.empty()) CheckBatchInput(options);
            break;
        case Mode::Strokes:
            if (options.strokesText.empty())
                throw UsageError{"--strokes には空でない文字列を指定してください"};
            break;
        case Mode::Suggest:
            if (options.format == Format::Csv)
                throw UsageError{"--suggest の出力は text、json、tsv のどれかです"};
            if (options.commonOnlyGiven && !options.search.commonOnly) {
                throw UsageError{"--common-only と --any-reading は同時に指定できません"};
            }
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
    const CliOption* modeOption = nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            positional.insert(positional.end(), args.begin() + static_cast<long>(i) + 1,
                              args.end());
            break;
        }
        if (!arg.starts_with("--") && !(arg.starts_with("-") && FindOption(arg))) {
            positional.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const CliOption* option = FindOption(name);
        if (!option) throw UsageError{"オプション " + name + " はありません"};
        std::string value;
        if (!option->valueName) {
            if (equals != std::string::npos) throw UsageError{name + " は値を取りません"};
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 == args.size()) {
            throw UsageError{name + " には値が必要です"};
        } else if (args[i + 1].starts_with("-")) {
            throw UsageError{name + " には値が必要です。- で始まる値は " + name + "=値 と書きます"};
        } else {
            value = args[++i];
        }
        if (option->selects == Mode::Help || option->selects == Mode::Version) {
            options.mode = *option->selects;
            return options;
        }
        if (option->selects) {
            if (modeOption && modeOption->selects != option->selects) {
                throw UsageError{std::string(modeOption->name) + " と " + name +
                                 " は一緒に使えません"};
            }
            modeOption = option;
        }
        given.push_back({option, std::move(value)});
    }

    options.mode = modeOption ? *modeOption->selects : Mode::Reading;
    for (const auto& [option, value] : given) {
        const CliOption* row = FindOption(option->name, options.mode);
        if (!row) {
            throw UsageError{
                std::string(option->name) +
                (options.mode == Mode::Reading
                     ? " には " + ModeNames(ModesOf(option->name)) + " が必要です"
                     : " は " + std::string(modeOption->name) + " と一緒に使えません")};
        }
        row->apply(options, value);
    }
    CheckMode(options, positional);
    return options;
}

// The operands of each form: after the mode option, or after the options
// when no option names the mode.
const char* Operands(Mode mode) {
    switch (mode) {
        case Mode::Reading:
            return "SURNAME GIVEN";
        case Mode::Compare:
            return "SURNAME GIVEN[:READING]...";
        case Mode::Batch:
            return "[FILE]";
        default:
            return "";
    }
}

constexpr const char* ReadingHelp = "one reading: the report as text, or a record (json, tsv, csv)";

// The longest line the usages and --help write.
constexpr std::size_t LineColumns = 79;

// The columns a UTF-8 text takes in a terminal: two for each CJK or
// full-width character.
std::size_t Columns(std::string_view text) {
    std::size_t columns = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        const bool wide =
            (point >= 0x1100 && point <= 0x115F) || (point >= 0x2E80 && point <= 0xA4CF) ||
            (point >= 0xAC00 && point <= 0xD7A3) || (point >= 0xF900 && point <= 0xFAFF) ||
            (point >= 0xFF00 && point <= 0xFF60) || (point >= 0xFFE0 && point <= 0xFFE6) ||
            point >= 0x20000;
        columns += wide ? 2 : 1;
        i += length;
    }
    return columns;
}

// "--pdf FILE"
std::string Spelled(const CliOption& option) {
    return option.valueName ? std::string(option.name) + " " + option.valueName : option.name;
}

// The pieces of one form: the mode option, the operands and every other
// option of the mode, in brackets, alternatives together.
std::vector<std::string> FormPieces(Mode mode) {
    std::vector<std::string> pieces;
    const std::string operands = Operands(mode);
    const std::span<const CliOption> options = Options;
    for (std::size_t i = 0; i < options.size(); ++i) {
        const CliOption& option = options[i];
        if (!AppliesTo(option, mode)) continue;
        std::string piece = Spelled(option);
        const bool choosesMode = option.selects.has_value();
        for (; options[i].orNext && i + 1 < options.size() && AppliesTo(options[i + 1], mode);
             ++i) {
            piece += " | " + Spelled(options[i + 1]);
        }
        if (choosesMode) {
            pieces.push_back(piece);
            if (!operands.empty()) pieces.push_back(operands);
        } else {
            pieces.push_back("[" + piece + "]");
        }
    }
    if (mode == Mode::Reading) pieces.push_back(operands);
    return pieces;
}

// `lead`, the program's name and the pieces, wrapped under the first piece.
void AppendForm(std::string& text, std::string_view lead, const std::vector<std::string>& pieces) {
    std::string line = std::string(lead) + "soten-cli";
    const std::size_t indent = Columns(line) + 1;
    std::size_t columns = Columns(line);
    bool lineHasPiece = false;
    for (const std::string& piece : pieces) {
        const std::size_t width = Columns(piece);
        if (lineHasPiece && columns + 1 + width > LineColumns) {
            text += line + "\n";
            line.assign(indent - 1, ' ');
            columns = indent - 1;
        }
        line += " " + piece;
        columns += 1 + width;
        lineHasPiece = true;
    }
    text += line + "\n";
}

// "  LABEL  help", the help from the column `at`, wrapped there; it starts
// on the next line when the label reaches the column.
void AppendEntry(std::string& text, const std::string& label, std::string_view help,
                 std::size_t at) {
    text += "  " + label;
    std::size_t columns = 2 + Columns(label);
    if (columns + 2 > at) {
        text += "\n";
        columns = 0;
    }
    text.append(at - columns, ' ');
    columns = at;
    bool lineHasWord = false;
    while (!help.empty()) {
        const std::size_t space = help.find(' ');
        const std::string_view word = help.substr(0, space);
        help.remove_prefix(space == std::string_view::npos ? help.size() : space + 1);
        if (lineHasWord && columns + 1 + Columns(word) > LineColumns) {
            text += "\n";
            text.append(at, ' ');
            columns = at;
            lineHasWord = false;
        }
        if (lineHasWord) {
            text += ' ';
            ++columns;
        }
        text += word;
        columns += Columns(word);
        lineHasWord = true;
    }
    text += "\n";
}

std::string Label(const CliOption& option) {
    return option.alias ? std::string(option.alias) + ", " + Spelled(option) : Spelled(option);
}

// The modes in the order of their forms.
constexpr Mode Forms[] = {Mode::Reading, Mode::Batch,     Mode::Strokes, Mode::Suggest,
                          Mode::Compare, Mode::Shortlist, Mode::Help};

std::string MakeHelpText() {
    std::string text;
    for (const Mode mode : Forms) {
        AppendForm(text, mode == Mode::Reading ? "Usage: " : "       ", FormPieces(mode));
    }
    text += "\nModes:\n";
    constexpr std::size_t ModeColumn = 17;
    AppendEntry(text, Operands(Mode::Reading), ReadingHelp, ModeColumn);
    for (const CliOption& option : Options) {
        if (option.selects) {
            AppendEntry(text,
                        option.alias ? std::string(option.alias) + ", " + option.name : option.name,
                        option.help, ModeColumn);
        }
    }
    text += "\nOptions:\n";
    constexpr std::size_t OptionColumn = 32;
    for (const CliOption& option : Options) {
        if (!option.selects) AppendEntry(text, Label(option), option.help, OptionColumn);
    }
    text += "\n";
    text += HelpNotes;
    return text;
}

}  // namespace

std::span<const CliOption> CliOptionTable() {
    return Options;
}

const std::string& HelpText() {
    static const std::string text = MakeHelpText();
    return text;
}

std::string ModeUsage(Mode mode) {
    std::string text;
    AppendForm(text, "Usage: ", FormPieces(mode == Mode::Version ? Mode::Help : mode));
    return text;
}

Mode RequestedMode(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") break;
        const CliOption* option = FindOption(std::string_view(arg).substr(0, arg.find('=')));
        if (option && option->selects && *option->selects != Mode::Version) {
            return *option->selects;
        }
    }
    return Mode::Reading;
}

std::optional<StrokeStyle> ParseStyle(const std::string& text) {
    if (text == "shinji" || text == "新字式") return StrokeStyle::Shinji;
    if (text == "honji" || text == "本字式") return StrokeStyle::Honji;
    return std::nullopt;
}

bool CheckBatchTable(CliOptions& options, std::string& error) {
    try {
        CheckBatchInput(options);
        return true;
    } catch (const UsageError& usage) {
        error = usage.message;
        return false;
    }
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
