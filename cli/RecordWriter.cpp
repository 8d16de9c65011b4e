#include "RecordWriter.h"

#include <charconv>
#include <cstring>

#include "Cp932.h"
#include "DetailedReading.h"
#include "Fortunes.h"
#include "NameSearchData.h"

namespace soten::cli {
namespace {

// The five in listing order, with their keys in JSON and TSV.
constexpr std::array<std::pair<const char*, FortuneKind>, FortuneCount> ListedKeys = {
    {{"total", ListedFortune(0)},
     {"heaven", ListedFortune(1)},
     {"person", ListedFortune(2)},
     {"earth", ListedFortune(3)},
     {"outer", ListedFortune(4)}}};

// The supplementary columns of a reading and a name found, after the numbers.
constexpr const char* SupplementColumns = "\tsansai\tsansai_elements\tinyo\tinyo_pattern";
constexpr int SupplementColumnCount = 4;

// The words of 三才配置 and 陰陽配列 in UTF-8, converted once: every record
// holds a few of them, and none needs quoting in TSV.
struct SupplementWords {
    template <typename Enum, std::size_t N, typename Name>
    static std::array<std::string, N> Convert(Name name) {
        std::array<std::string, N> words;
        for (std::size_t i = 0; i < N; ++i) {
            words[i] = Cp932::ToUtf8Lossy(name(static_cast<Enum>(i)));
        }
        return words;
    }

    std::array<std::string, 5> elements =
        Convert<Element, 5>([](Element e) -> const std::string& { return ElementName(e); });
    std::array<std::string, 3> relations = Convert<ElementRelation, 3>(
        [](ElementRelation r) -> const std::string& { return RelationName(r); });
    std::array<std::string, 4> sansai = Convert<SansaiVerdict, 4>(
        [](SansaiVerdict v) -> const std::string& { return VerdictName(v); });
    std::array<std::string, 3> inyo =
        Convert<InyoVerdict, 3>([](InyoVerdict v) -> const std::string& { return VerdictName(v); });
    std::array<std::string, 2> marks = {Cp932::ToUtf8Lossy(InyoMark(false)),
                                        Cp932::ToUtf8Lossy(InyoMark(true))};

    const std::string& ElementWord(Element e) const {
        return elements[static_cast<std::size_t>(e)];
    }
    void AppendPattern(const InyoReading& reading, std::string& out) const {
        for (int i = 0; i < reading.surnameChars + reading.givenChars; ++i) {
            out += marks[reading.oddMask >> i & 1u];
        }
    }
};

// The three elements as one number from 0 to 124; element e comes from the
// number 2e + 1, so index i is read back by ReadSansai(i / 25 * 2 + 1,
// i / 5 % 5 * 2 + 1, i % 5 * 2 + 1).
std::size_t SansaiIndex(const SansaiReading& sansai) {
    return static_cast<std::size_t>(sansai.elements[0]) * 25 +
           static_cast<std::size_t>(sansai.elements[1]) * 5 +
           static_cast<std::size_t>(sansai.elements[2]);
}

const SupplementWords& Words() {
    static const SupplementWords words;
    return words;
}

// The same five in alphabetical order, the order of the name search's JSON keys.
constexpr std::array<std::pair<const char*, FortuneKind>, FortuneCount> AlphabeticalKeys = {
    {{"earth", Earth}, {"heaven", Heaven}, {"outer", Outer}, {"person", Person}, {"total", Total}}};

void AppendNumber(long number, std::string& out) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out.append(digits, end);
}

// "3 5": the counts of one part, space-separated.
void AppendStrokes(const NameRecord& record, NamePart part, std::string& out) {
    for (int k = 1; k <= record.Lengths[part]; ++k) {
        if (k > 1) out.push_back(' ');
        AppendNumber(record.Strokes[part][static_cast<std::size_t>(k)], out);
    }
}

}  // namespace

RecordWriter::RecordWriter(const Tables& tables, RecordOptions options)
    : tables_(tables), options_(options), json_(buffer_) {}

void RecordWriter::AppendHeader(std::string& out) const {
    if (options_.format != Format::Tsv) return;
    out += "line\tsurname\tgiven\tstyle\tsurname_strokes\tgiven_strokes";
    for (const char* suffix : {"", "_grade", "_keyword"}) {
        for (const auto& [key, kind] : ListedKeys) {
            out.push_back('\t');
            out += key;
            out += suffix;
        }
    }
    out += SupplementColumns;
    out += "\tregistrable\terror";
    if (options_.report) out += "\treport";
    out.push_back('\n');
}

void RecordWriter::AppendReading(long line, const ShownReading& reading, std::string& out) {
    if (options_.format == Format::Tsv) {
        TsvReading(line, reading, out);
        return;
    }
    JsonReading(line, reading);
    FinishJson(out);
}

void RecordWriter::AppendRefusal(long line, std::string_view surnameUtf8,
                                 std::string_view givenUtf8, std::string_view messageCp932,
                                 std::string& out) {
    utf8_.clear();
    Cp932::AppendUtf8Lossy(messageCp932, utf8_);
    if (options_.format == Format::Tsv) {
        TsvRow(line, surnameUtf8, givenUtf8, utf8_, out);
        return;
    }
    StartJsonRecord(line);
    json_.Key("surname");
    JsonString(surnameUtf8);
    json_.Key("given");
    JsonString(givenUtf8);
    json_.Key("error");
    JsonString(utf8_);
    json_.EndObject();
    FinishJson(out);
}

void RecordWriter::AppendError(long line, std::string_view message, std::string& out) {
    if (options_.format == Format::Tsv) {
        TsvRow(line, {}, {}, message, out);
        return;
    }
    StartJsonRecord(line);
    json_.Key("error");
    JsonString(message);
    json_.EndObject();
    FinishJson(out);
}

void RecordWriter::AppendSearch(const NameSearchFilters& filters, const NameSearchResult& result,
                                std::string& out) {
    if (options_.format == Format::Tsv) {
        out += "given\treading\tgender\tstrokes";
        for (const auto& [key, kind] : ListedKeys) {
            for (const char* suffix : {"", "_grade", "_keyword"}) {
                out.push_back('\t');
                out += key;
                out += suffix;
            }
        }
        out += "\tscore";
        out += SupplementColumns;
        out += "\tregistrable\n";
        for (const NameCandidate& candidate : result.candidates) TsvCandidate(candidate, out);
        return;
    }
    StartJsonRecord(0);
    json_.Key("candidates");
    json_.StartArray();
    for (const NameCandidate& candidate : result.candidates) JsonCandidate(candidate);
    json_.EndArray();
    json_.Key("count");
    json_.Uint64(result.count);
    json_.Key("space");
    json_.String(filters.space == SearchSpace::All ? "all" : "names");
    json_.Key("style");
    json_.String(StyleName(filters.style));
    json_.Key("surname");
    JsonCp932(filters.surname);
    json_.EndObject();
    FinishJson(out);
}

void RecordWriter::JsonCandidate(const NameCandidate& candidate) {
    const NameRecord& record = candidate.record;
    json_.StartObject();
    json_.Key("fortunes");
    json_.StartObject();
    for (const auto& [key, kind] : AlphabeticalKeys) {
        json_.Key(key);
        json_.Int(record.Fortunes[kind]);
    }
    json_.EndObject();
    json_.Key("gender");
    if (const std::string_view tag = GenderTag(candidate.gender); !tag.empty()) {
        json_.String(tag.data(), static_cast<rapidjson::SizeType>(tag.size()));
    } else {
        json_.Null();
    }
    json_.Key("given");
    JsonCp932(candidate.given);
    json_.Key("grades");
    json_.StartObject();
    for (const auto& [key, kind] : AlphabeticalKeys) {
        json_.Key(key);
        json_.Int(candidate.keywords[kind].grade);
    }
    json_.EndObject();
    json_.Key("inyo");
    JsonInyo(candidate.inyo);
    json_.Key("keywords");
    json_.StartObject();
    for (const auto& [key, kind] : AlphabeticalKeys) {
        json_.Key(key);
        JsonCp932(candidate.keywords[kind].word);
    }
    json_.EndObject();
    json_.Key("reading");
    if (!candidate.readings.empty()) {
        JsonCp932(candidate.reading);
    } else {
        json_.Null();
    }
    json_.Key("readings");
    json_.StartArray();
    for (const std::string& reading : candidate.readings) JsonCp932(reading);
    json_.EndArray();
    json_.Key("registrable");
    json_.Bool(candidate.registrable);
    json_.Key("sansai");
    JsonSansai(candidate.sansai, true);
    json_.Key("score");
    json_.Int(candidate.score);
    json_.Key("strokes");
    json_.StartObject();
    for (const auto& [key, part] : {std::pair{"given", GivenName}, std::pair{"surname", Surname}}) {
        json_.Key(key);
        json_.StartArray();
        for (int k = 1; k <= record.Lengths[part]; ++k) {
            json_.Int(record.Strokes[part][static_cast<std::size_t>(k)]);
        }
        json_.EndArray();
    }
    json_.EndObject();
    json_.EndObject();
}

void RecordWriter::TsvCandidate(const NameCandidate& candidate, std::string& out) {
    TsvCp932(candidate.given, out);
    out.push_back('\t');
    TsvCp932(candidate.reading, out);
    out.push_back('\t');
    out += GenderTag(candidate.gender);
    out.push_back('\t');
    AppendStrokes(candidate.record, GivenName, out);
    for (const auto& [key, kind] : ListedKeys) {
        out.push_back('\t');
        AppendNumber(candidate.record.Fortunes[kind], out);
        out.push_back('\t');
        AppendNumber(candidate.keywords[kind].grade, out);
        out.push_back('\t');
        TsvCp932(candidate.keywords[kind].word, out);
    }
    out.push_back('\t');
    AppendNumber(candidate.score, out);
    TsvSupplement(candidate.sansai, candidate.inyo, out);
    out += candidate.registrable ? "\ttrue\n" : "\tfalse\n";
}

// {"heaven":"木","person":"火","earth":"土","relations":["相生","相生"],"verdict":"大吉"},
// the keys in alphabetical order in the name search's JSON. The object
// follows from the three elements alone, so the 125 of each order are
// written once (see SansaiIndex) and then copied as they are.
void RecordWriter::JsonSansai(const SansaiReading& sansai, bool alphabetical) {
    static const std::array<std::array<std::string, 125>, 2> objects = [] {
        const SupplementWords& words = Words();
        std::array<std::array<std::string, 125>, 2> made;
        for (int index = 0; index < 125; ++index) {
            const SansaiReading reading =
                ReadSansai(index / 25 * 2 + 1, index / 5 % 5 * 2 + 1, index % 5 * 2 + 1);
            const auto word = [&](FortuneKind kind) {
                return "\"" + words.ElementWord(reading.elements[static_cast<std::size_t>(kind)]) +
                       "\"";
            };
            const std::string rest =
                ",\"relations\":[\"" +
                words.relations[static_cast<std::size_t>(reading.relations[0])] + "\",\"" +
                words.relations[static_cast<std::size_t>(reading.relations[1])] +
                "\"],\"verdict\":\"" + words.sansai[static_cast<std::size_t>(reading.verdict)] +
                "\"}";
            made[0][static_cast<std::size_t>(index)] = "{\"heaven\":" + word(Heaven) +
                                                       ",\"person\":" + word(Person) +
                                                       ",\"earth\":" + word(Earth) + rest;
            made[1][static_cast<std::size_t>(index)] = "{\"earth\":" + word(Earth) +
                                                       ",\"heaven\":" + word(Heaven) +
                                                       ",\"person\":" + word(Person) + rest;
        }
        return made;
    }();
    JsonRaw(objects[alphabetical ? 1 : 0][SansaiIndex(sansai)]);
}

// A value already written as JSON, copied whole: the writer puts the
// separator before it, the bytes go straight into its buffer.
void RecordWriter::JsonRaw(std::string_view json) {
    json_.RawValue("", 0, rapidjson::kObjectType);
    std::memcpy(buffer_.Push(json.size()), json.data(), json.size());
}

// {"pattern":"○●○○","verdict":"吉"}
void RecordWriter::JsonInyo(const InyoReading& inyo) {
    utf8_.assign("{\"pattern\":\"");
    Words().AppendPattern(inyo, utf8_);
    utf8_ += "\",\"verdict\":\"";
    utf8_ += Words().inyo[static_cast<std::size_t>(inyo.verdict)];
    utf8_ += "\"}";
    JsonRaw(utf8_);
}

void RecordWriter::TsvSupplement(const SansaiReading& sansai, const InyoReading& inyo,
                                 std::string& out) {
    // "\t凶\t金水火", one for each triple of elements.
    static const std::array<std::string, 125> sansaiFields = [] {
        const SupplementWords& words = Words();
        std::array<std::string, 125> made;
        for (int index = 0; index < 125; ++index) {
            const SansaiReading reading =
                ReadSansai(index / 25 * 2 + 1, index / 5 % 5 * 2 + 1, index % 5 * 2 + 1);
            std::string& field = made[static_cast<std::size_t>(index)];
            field = '\t' + words.sansai[static_cast<std::size_t>(reading.verdict)] + '\t';
            for (const Element element : reading.elements) field += words.ElementWord(element);
        }
        return made;
    }();
    const SupplementWords& words = Words();
    out += sansaiFields[SansaiIndex(sansai)];
    out.push_back('\t');
    out += words.inyo[static_cast<std::size_t>(inyo.verdict)];
    out.push_back('\t');
    words.AppendPattern(inyo, out);
}

// A new record object, opened with the input line it answers (when it answers one).
void RecordWriter::StartJsonRecord(long line) {
    buffer_.Clear();
    json_.Reset(buffer_);
    json_.StartObject();
    if (line > 0) {
        json_.Key("line");
        json_.Int64(line);
    }
}

void RecordWriter::JsonReading(long line, const ShownReading& reading) {
    const NameRecord& record = reading.record;
    StartJsonRecord(line);
    json_.Key("surname");
    JsonCp932(record.Names[Surname]);
    json_.Key("given");
    JsonCp932(record.Names[GivenName]);
    // Whether a registry office takes the given name, and what it refuses.
    const std::vector<std::string> refused = UnregistrableCharacters(record.Names[GivenName]);
    json_.Key("registrable");
    json_.Bool(refused.empty());
    json_.Key("unregistrableCharacters");
    json_.StartArray();
    for (const std::string& character : refused) JsonCp932(character);
    json_.EndArray();
    json_.Key("style");
    json_.String(StyleName(reading.style));
    json_.Key("strokes");
    json_.StartObject();
    for (const auto& [key, part] : {std::pair{"surname", Surname}, std::pair{"given", GivenName}}) {
        json_.Key(key);
        json_.StartArray();
        for (int k = 1; k <= record.Lengths[part]; ++k) {
            json_.Int(record.Strokes[part][static_cast<std::size_t>(k)]);
        }
        json_.EndArray();
    }
    json_.EndObject();
    std::array<Keyword, FortuneCount> keywords;
    for (std::size_t i = 0; i < FortuneCount; ++i) {
        keywords[i] = LookupKeyword(tables_, record.Fortunes[ListedKeys[i].second]);
    }
    json_.Key("fortunes");
    json_.StartObject();
    for (const auto& [key, kind] : ListedKeys) {
        json_.Key(key);
        json_.Int(record.Fortunes[kind]);
    }
    json_.EndObject();
    json_.Key("grades");
    json_.StartObject();
    for (std::size_t i = 0; i < FortuneCount; ++i) {
        json_.Key(ListedKeys[i].first);
        json_.Int(keywords[i].grade);
    }
    json_.EndObject();
    json_.Key("keywords");
    json_.StartObject();
    for (std::size_t i = 0; i < FortuneCount; ++i) {
        json_.Key(ListedKeys[i].first);
        JsonCp932(keywords[i].word);
    }
    json_.EndObject();
    json_.Key("sansai");
    JsonSansai(ReadSansai(record), false);
    json_.Key("inyo");
    JsonInyo(ReadInyo(record));
    if (options_.report) {
        json_.Key("report");
        JsonCp932(record.ReportText);
    }
    if (options_.lines || line == 0) {
        JsonLines("screenLines", reading.lines.ScreenLines, record.ScreenLineIndex);
        JsonLines("printLines", reading.lines.PrintLines, record.PrintLineIndex);
        json_.Key("screenLineIndex");
        json_.Int(record.ScreenLineIndex);
        json_.Key("printLineIndex");
        json_.Int(record.PrintLineIndex);
    }
    json_.EndObject();
}

void RecordWriter::JsonLines(const char* key,
                             const std::array<std::string, WrappedLineCount>& lines,
                             int lastIndex) {
    json_.Key(key);
    json_.StartArray();
    for (int i = 0; i <= lastIndex && i < WrappedLineCount; ++i) {
        JsonCp932(lines[static_cast<std::size_t>(i)]);
    }
    json_.EndArray();
}

void RecordWriter::JsonString(std::string_view utf8) {
    json_.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
}

void RecordWriter::JsonCp932(std::string_view cp932) {
    utf8_.clear();
    Cp932::AppendUtf8Lossy(cp932, utf8_);
    JsonString(utf8_);
}

void RecordWriter::FinishJson(std::string& out) {
    out.append(buffer_.GetString(), buffer_.GetSize());
    out.push_back('\n');
}

void RecordWriter::TsvReading(long line, const ShownReading& reading, std::string& out) {
    const NameRecord& record = reading.record;
    if (line > 0) AppendNumber(line, out);
    out.push_back('\t');
    TsvCp932(record.Names[Surname], out);
    out.push_back('\t');
    TsvCp932(record.Names[GivenName], out);
    out.push_back('\t');
    out += StyleName(reading.style);
    out.push_back('\t');
    AppendStrokes(record, Surname, out);
    out.push_back('\t');
    AppendStrokes(record, GivenName, out);
    std::array<Keyword, FortuneCount> keywords;
    for (std::size_t i = 0; i < FortuneCount; ++i) {
        keywords[i] = LookupKeyword(tables_, record.Fortunes[ListedKeys[i].second]);
        out.push_back('\t');
        AppendNumber(record.Fortunes[ListedKeys[i].second], out);
    }
    for (const Keyword& keyword : keywords) {
        out.push_back('\t');
        AppendNumber(keyword.grade, out);
    }
    for (const Keyword& keyword : keywords) {
        out.push_back('\t');
        TsvCp932(keyword.word, out);
    }
    TsvSupplement(ReadSansai(record), ReadInyo(record), out);
    out += UnregistrableCharacters(record.Names[GivenName]).empty() ? "\ttrue" : "\tfalse";
    out.push_back('\t');  // no error
    if (options_.report) {
        out.push_back('\t');
        TsvCp932(record.ReportText, out);
    }
    out.push_back('\n');
}

void RecordWriter::TsvRow(long line, std::string_view surname, std::string_view given,
                          std::string_view error, std::string& out) {
    if (line > 0) AppendNumber(line, out);
    out.push_back('\t');
    TsvField(surname, out);
    out.push_back('\t');
    TsvField(given, out);
    // style, two stroke columns, five numbers, five grades, five keywords,
    // the supplement, registrable
    out.append(4 + 3 * FortuneCount + SupplementColumnCount, '\t');
    out.push_back('\t');
    TsvField(error, out);
    if (options_.report) out.push_back('\t');
    out.push_back('\n');
}

// A field holding a tab, a line break or a double quote is quoted, with its
// quotes doubled, as spreadsheets and Python's csv module read it.
void RecordWriter::TsvField(std::string_view utf8, std::string& out) {
    if (utf8.find_first_of("\t\r\n\"") == std::string_view::npos) {
        out += utf8;
        return;
    }
    out.push_back('"');
    for (const char c : utf8) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

void RecordWriter::TsvCp932(std::string_view cp932, std::string& out) {
    utf8_.clear();
    Cp932::AppendUtf8Lossy(cp932, utf8_);
    TsvField(utf8_, out);
}

}  // namespace soten::cli
