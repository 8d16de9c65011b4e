#include "analysis/records/RecordWriter.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <set>

#include "analysis/naming/NameSearchData.h"
#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/Fortunes.h"
#include "analysis/records/JudgedColumns.h"
#include "analysis/text/Cp932.h"

namespace soten {
namespace {

// The five in listing order, with their keys in JSON and TSV.
constexpr std::pair<std::string_view, FortuneKind> ListedKey(int position) {
    return {KeyOf(FortuneColumn(ListedFortune(position))), ListedFortune(position)};
}
constexpr std::array<std::pair<std::string_view, FortuneKind>, FortuneCount> ListedKeys = {
    ListedKey(0), ListedKey(1), ListedKey(2), ListedKey(3), ListedKey(4)};

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

// Writes text where there is room for it, with no check of capacity: the
// fixed members of a JSON record, whose longest size is known.
// A piece of a record known when compiling, at most 16 bytes, kept padded
// so that it is put down with one copy of a fixed size.
struct ShortPiece {
    std::array<char, 16> bytes{};
    std::size_t size = 0;
};

constexpr ShortPiece Piece(std::initializer_list<std::string_view> parts) {
    ShortPiece piece;
    for (const std::string_view part : parts) {
        for (const char c : part) piece.bytes.at(piece.size++) = c;
    }
    return piece;
}

// Each of the five's key, as it starts a member: "heaven": for the first,
// ,"person": and so on after it.
constexpr std::array<ShortPiece, FortuneCount> FiveKeys = [] {
    std::array<ShortPiece, FortuneCount> keys;
    for (std::size_t i = 0; i < FortuneCount; ++i) {
        keys[i] = Piece({i == 0 ? "" : ",", "\"", ListedKeys[i].first, "\":"});
    }
    return keys;
}();

class TextCursor {
public:
    explicit TextCursor(char* at) : at_(at) {}
    void Put(char c) { *at_++ = c; }
    // Needs room for all 16 bytes.
    void Put(const ShortPiece& piece) {
        std::memcpy(at_, piece.bytes.data(), piece.bytes.size());
        at_ += piece.size;
    }
    void Put(std::string_view text) {
        std::memcpy(at_, text.data(), text.size());
        at_ += text.size();
    }
    void Number(long number) { at_ = std::to_chars(at_, at_ + 20, number).ptr; }
    void Skip(std::size_t written) { at_ += written; }
    char* At() const { return at_; }

private:
    char* at_;
};

// Code page 932 text appended to `out` as the body of a JSON string.
void AppendJsonUtf8(std::string_view cp932, std::string& out) {
    const std::size_t at = out.size();
    out.resize(at + Cp932::MaxJsonUtf8Size(cp932.size()));
    out.resize(at + Cp932::WriteJsonUtf8Lossy(cp932, out.data() + at));
}

// The JSON of a piece of text that depends on one number, composed and
// converted the first time the number comes.
template <typename Compose>
const std::string& CachedJson(std::vector<std::string>& cache, std::int32_t number,
                              const Compose& compose) {
    const auto index = static_cast<std::size_t>(number);
    if (index >= cache.size()) cache.resize(index + 1);
    std::string& json = cache[index];
    if (json.empty()) AppendJsonUtf8(compose(), json);
    return json;
}

void AppendNumber(long number, std::string& out) {
    // Most numbers of a record are strokes and fortunes, of one or two digits.
    if (number >= 0 && number < 100) {
        if (number >= 10) out.push_back(static_cast<char>('0' + number / 10));
        out.push_back(static_cast<char>('0' + number % 10));
        return;
    }
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

// The marks of grades 1 to 4, as the report shows them (without its space).
constexpr std::array<const char*, 4> Marks = {"◎", "○", "△", "×"};

const char* MarkOf(int grade) {
    return grade >= 1 && grade <= 4 ? Marks[static_cast<std::size_t>(grade - 1)] : "";
}

// The mark of each grade as a JSON string: "" for none, then grades 1 to 4.
constexpr std::array<ShortPiece, 5> MarkStrings = [] {
    std::array<ShortPiece, 5> strings = {Piece({"\"\""})};
    for (std::size_t grade = 1; grade < strings.size(); ++grade) {
        strings[grade] = Piece({"\"", Marks[grade - 1], "\""});
    }
    return strings;
}();

// The columns of a TSV or CSV record after the input columns, in order.
// TableReading and TableFailure write them in this order.
std::vector<std::string> ResultColumns(const RecordOptions& options) {
    using enum JudgedColumn;
    std::vector<std::string> columns = {"line"};
    if (options.rows) columns.emplace_back("row");
    columns.emplace_back(KeyOf(Surname));
    columns.emplace_back(KeyOf(Given));
    if (options.reading) columns.emplace_back(KeyOf(Yomi));
    columns.emplace_back(KeyOf(Style));
    columns.emplace_back("surname_strokes");
    columns.emplace_back("given_strokes");
    for (const auto& [key, kind] : ListedKeys) columns.emplace_back(key);
    for (const auto& [key, kind] : ListedKeys) {
        columns.push_back(std::string(key) + "_grade");
        columns.push_back(std::string(key) + "_mark");
    }
    for (const auto& [key, kind] : ListedKeys) columns.push_back(std::string(key) + "_keyword");
    for (const std::string_view column :
         {KeyOf(Score), KeyOf(Sansai), std::string_view("sansai_elements"), KeyOf(Inyo),
          std::string_view("inyo_pattern"), KeyOf(Registrable), std::string_view("code"),
          std::string_view("error"), std::string_view("characters")}) {
        columns.emplace_back(column);
    }
    if (options.rows) columns.emplace_back("notes");
    if (options.report) columns.emplace_back("report");
    if (options.note) columns.emplace_back(KeyOf(Note));
    return columns;
}

// The reading columns between "given" and "score" that a failure leaves empty.
constexpr std::size_t ReadingOnlyColumns = 3 + 4 * FortuneCount;

// A candidate's lean in records: "girls", "boys" or "neither".
const char* LeanKey(GenderLean lean) {
    switch (lean) {
        case GenderLean::Girls:
            return "girls";
        case GenderLean::Boys:
            return "boys";
        case GenderLean::Neither:
            break;
    }
    return "neither";
}

}  // namespace

ErrorCode ErrorCodeOf(Refusal::Reason reason) {
    return reason == Refusal::Reason::TooManyCharacters ? ErrorCode::RefusedLength
                                                        : ErrorCode::UnknownCharacter;
}

ReadingDetail BatchReadingDetail(const RecordOptions& options) {
    if (options.lines && options.format == Format::Json) return ReadingDetail::Whole;
    // A JSON writer puts the report together from pieces it keeps converted.
    return options.report && options.format != Format::Json ? ReadingDetail::Report
                                                            : ReadingDetail::Numbers;
}

const char* ErrorCodeName(ErrorCode code) {
    switch (code) {
        case ErrorCode::UnknownCharacter:
            return "unknown-character";
        case ErrorCode::RefusedLength:
            return "refused-length";
        case ErrorCode::Malformed:
            return "malformed";
        case ErrorCode::TooLong:
            return "too-long";
        case ErrorCode::InvalidEncoding:
            return "invalid-encoding";
    }
    return "";
}

long RecordCounts::Records() const {
    long records = readings;
    for (const long count : failures) records += count;
    return records;
}

RecordCounts& RecordCounts::operator+=(const RecordCounts& other) {
    readings += other.readings;
    for (std::size_t i = 0; i < failures.size(); ++i) failures[i] += other.failures[i];
    return *this;
}

RecordCounts RecordCounts::operator-(const RecordCounts& other) const {
    RecordCounts difference = *this;
    difference.readings -= other.readings;
    for (std::size_t i = 0; i < failures.size(); ++i) difference.failures[i] -= other.failures[i];
    return difference;
}

std::vector<std::string> UniqueInputKeys(const std::vector<std::string>& names,
                                         const RecordOptions& options) {
    std::set<std::string, std::less<>> results;
    for (std::string& column : ResultColumns(options)) results.insert(std::move(column));
    std::set<std::string, std::less<>> taken = results;
    // Names as they are come first, so that a later "列3" or "備考_2" made up
    // here never takes a name the input itself holds.
    std::vector<std::string> keys(names.size());
    std::set<std::string, std::less<>> given;
    for (const std::string& name : names) given.insert(name);
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string base = names[i];
        if (base.empty()) {
            base = "列";
            base += std::to_string(i + 1);
        }
        if (results.contains(base)) base.insert(0, CollidingInputPrefix);
        std::string key = base;
        for (int n = 2; taken.contains(key) || (key != names[i] && given.contains(key)); ++n) {
            key = base;
            key += '_';
            key += std::to_string(n);
        }
        taken.insert(key);
        keys[i] = std::move(key);
    }
    return keys;
}

RecordWriter::RecordWriter(const Tables& tables, RecordOptions options)
    : tables_(tables),
      options_(std::move(options)),
      separator_(options_.format == Format::Csv ? ',' : '\t'),
      json_(buffer_) {
    options_.inputColumns = UniqueInputKeys(options_.inputColumns, options_);
}

void RecordWriter::AppendHeader(std::string& out) const {
    if (!Table()) return;
    bool first = true;
    for (const std::string& column : options_.inputColumns) {
        if (!first) out.push_back(separator_);
        first = false;
        Field(column, out);
    }
    for (const std::string& column : ResultColumns(options_)) {
        if (!first) out.push_back(separator_);
        first = false;
        out += column;
    }
    EndRow(out);
}

void RecordWriter::AppendReading(const RecordSource& source, const Reading& reading,
                                 std::string& out) {
    ++counts_.readings;
    if (Table()) {
        TableReading(source, reading, out);
        return;
    }
    JsonReading(source, reading, out);
    FinishJson(out);
}

void RecordWriter::AppendCompared(const ComparedName& name, bool ownStyle, std::string& out,
                                  std::string_view typedSurname, std::string_view typedGiven,
                                  std::span<const std::string> typedCharacters) {
    RecordSource source;
    source.reading = name.entry.reading;
    source.note = name.entry.note;
    source.spoken = &name.spoken;
    if (name.reading) {
        AppendReading(source, *name.reading, out);
        return;
    }
    const std::string message = Cp932::ToUtf8Lossy(name.refusal->Message());
    const std::string surname = name.entry.SurnameUtf8();
    const std::string given = name.entry.GivenUtf8();
    std::vector<std::string> characters;
    for (const std::string& character : name.refusal->characters) {
        characters.push_back(Cp932::ToUtf8Lossy(character));
    }
    RecordFailure failure;
    failure.code = ErrorCodeOf(name.refusal->reason);
    failure.message = message;
    failure.surname = typedSurname.empty() ? std::string_view(surname) : typedSurname;
    failure.given = typedGiven.empty() ? std::string_view(given) : typedGiven;
    failure.characters =
        typedCharacters.empty() ? std::span<const std::string>(characters) : typedCharacters;
    if (ownStyle) failure.style = name.entry.style;
    AppendFailure(source, failure, out);
}

void RecordWriter::AppendFailure(const RecordSource& source, const RecordFailure& failure,
                                 std::string& out) {
    ++counts_.failures[static_cast<std::size_t>(failure.code)];
    if (Table()) {
        TableFailure(source, failure, out);
        return;
    }
    StartJsonRecord(source);
    if (!failure.surname.empty() || !failure.given.empty()) {
        JsonKey("surname");
        JsonString(failure.surname);
        JsonKey("given");
        JsonString(failure.given);
    }
    if (options_.reading) {
        JsonKey("reading");
        JsonCp932(source.reading);
    }
    if (failure.style) {
        JsonKey("style");
        json_.String(StyleName(*failure.style));
    }
    JsonKey("code");
    json_.String(ErrorCodeName(failure.code));
    JsonKey("error");
    JsonString(failure.message);
    if (failure.code == ErrorCode::UnknownCharacter) {
        JsonKey("characters");
        json_.StartArray();
        for (const std::string& character : failure.characters) JsonString(character);
        json_.EndArray();
    }
    JsonNotes(source);
    JsonNote(source);
    json_.EndObject();
    FinishJson(out);
}

void RecordWriter::AppendSearch(const NameSearchFilters& filters, const NameSearchResult& result,
                                std::string& out, std::string_view surnameYomi) {
    if (Table()) {
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
        out += "\tregistrable\tregistry\tgenderInferred\t";
        out += KeyOf(JudgedColumn::GenderLean);
        out += '\n';
        for (const NameCandidate& candidate : result.candidates) TsvCandidate(candidate, out);
        return;
    }
    StartJsonRecord({});
    JsonKey("candidates");
    json_.StartArray();
    for (const NameCandidate& candidate : result.candidates) {
        JsonCandidate(candidate, filters.surname, surnameYomi);
    }
    json_.EndArray();
    JsonKey("count");
    json_.Uint64(result.count);
    JsonKey("space");
    json_.String(filters.space == SearchSpace::All ? "all" : "names");
    JsonKey("style");
    json_.String(StyleName(filters.style));
    JsonKey("surname");
    JsonCp932(filters.surname);
    json_.EndObject();
    FinishJson(out);
}

void RecordWriter::JsonYomiCheck(const YomiCheck& check) {
    JsonKey("readingCheck");
    const std::string_view key = YomiClassKey(check.kind);
    json_.String(key.data(), static_cast<rapidjson::SizeType>(key.size()));
    JsonKey("readingParts");
    json_.StartArray();
    for (const auto& [kanji, kana] : check.parts) {
        json_.StartArray();
        JsonCp932(kanji);
        JsonCp932(kana);
        json_.EndArray();
    }
    json_.EndArray();
}

void RecordWriter::JsonCandidate(const NameCandidate& candidate, std::string_view surname,
                                 std::string_view surnameYomi) {
    const NameRecord& record = candidate.record;
    const SpokenName spoken = SpeakName(surname, surnameYomi, candidate.given, candidate.yomi);
    json_.StartObject();
    JsonAvoided(candidate.avoided);
    JsonKey("fortunes");
    json_.StartObject();
    for (const auto& [key, kind] : AlphabeticalKeys) {
        JsonKey(key);
        json_.Int(record.Fortunes[kind]);
    }
    json_.EndObject();
    JsonKey("gender");
    if (const std::string_view tag = GenderTag(candidate.gender); !tag.empty()) {
        json_.String(tag.data(), static_cast<rapidjson::SizeType>(tag.size()));
    } else {
        json_.Null();
    }
    JsonKey("genderInferred");
    json_.Bool(candidate.genderInferred);
    JsonKey("genderLean");
    json_.String(LeanKey(candidate.lean));
    JsonKey("given");
    JsonCp932(candidate.given);
    JsonKey("grades");
    json_.StartObject();
    for (const auto& [key, kind] : AlphabeticalKeys) {
        JsonKey(key);
        json_.Int(candidate.keywords[kind].grade);
    }
    json_.EndObject();
    JsonKey("initials");
    OptionalText(spoken.initials);
    JsonKey("inyo");
    JsonInyo(candidate.inyo);
    JsonKey("keywords");
    json_.StartObject();
    for (const auto& [key, kind] : AlphabeticalKeys) {
        JsonKey(key);
        JsonCp932(candidate.keywords[kind].word);
    }
    json_.EndObject();
    JsonKey("reading");
    if (!candidate.yomis.empty()) {
        JsonCp932(candidate.yomi);
    } else {
        json_.Null();
    }
    if (!candidate.yomis.empty()) JsonYomiCheck(candidate.yomiCheck);
    JsonKey("readings");
    json_.StartArray();
    for (const std::string& yomi : candidate.yomis) JsonCp932(yomi);
    json_.EndArray();
    JsonKey("registrable");
    json_.Bool(candidate.registrable);
    JsonKey("registry");
    const std::string_view registry = RegistryKey(CandidateRegistry(candidate));
    json_.String(registry.data(), static_cast<rapidjson::SizeType>(registry.size()));
    JsonKey("romaji");
    OptionalText(spoken.romaji);
    JsonKey("romajiAlternatives");
    TextArray(spoken.alternatives);
    JsonKey("romajiFullName");
    OptionalText(spoken.fullName);
    JsonKey("sansai");
    JsonSansai(candidate.sansai, true);
    JsonKey("score");
    json_.Int(candidate.score);
    JsonKey("soundNotes");
    TextArray(spoken.notes);
    JsonKey("strokes");
    json_.StartObject();
    for (const auto& [key, part] : {std::pair{"given", GivenName}, std::pair{"surname", Surname}}) {
        JsonKey(key);
        json_.StartArray();
        for (int k = 1; k <= record.Lengths[part]; ++k) {
            json_.Int(record.Strokes[part][static_cast<std::size_t>(k)]);
        }
        json_.EndArray();
    }
    json_.EndObject();
    json_.EndObject();
}

void RecordWriter::JsonAvoided(const std::vector<AvoidedKanjiEntry>& avoided) {
    if (avoided.empty()) return;
    JsonKey("avoidedKanji");
    json_.StartArray();
    for (const AvoidedKanjiEntry& entry : avoided) {
        json_.StartObject();
        JsonKey("kanji");
        JsonCp932(entry.kanji);
        JsonKey("category");
        JsonCp932(entry.category);
        JsonKey("reason");
        JsonCp932(entry.reason);
        json_.EndObject();
    }
    json_.EndArray();
}

void RecordWriter::TsvCandidate(const NameCandidate& candidate, std::string& out) {
    FieldCp932(candidate.given, out);
    out.push_back('\t');
    FieldCp932(candidate.yomi, out);
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
        FieldCp932(candidate.keywords[kind].word, out);
    }
    out.push_back('\t');
    AppendNumber(candidate.score, out);
    TsvSupplement(candidate.sansai, candidate.inyo, out);
    out += candidate.registrable ? "\ttrue\t" : "\tfalse\t";
    out += RegistryKey(CandidateRegistry(candidate));
    out += candidate.genderInferred ? "\ttrue\t" : "\tfalse\t";
    out += LeanKey(candidate.lean);
    out += '\n';
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

// {"pattern":"○●○○","verdict":"吉"}, made once per writer for each pattern
// of each split of the name.
void RecordWriter::JsonInyo(const InyoReading& inyo) {
    const auto split = static_cast<std::size_t>(inyo.surnameChars * 16 + inyo.givenChars);
    if (split >= inyoJson_.size()) inyoJson_.resize(split + 1);
    std::vector<std::string>& patterns = inyoJson_[split];
    if (patterns.empty()) patterns.resize(std::size_t{1} << (inyo.surnameChars + inyo.givenChars));
    std::string& json = patterns.at(inyo.oddMask);
    if (json.empty()) {
        json.assign("{\"pattern\":\"");
        Words().AppendPattern(inyo, json);
        json += "\",\"verdict\":\"";
        json += Words().inyo[static_cast<std::size_t>(inyo.verdict)];
        json += "\"}";
    }
    JsonRaw(json);
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
    const std::size_t at = out.size();
    out += sansaiFields[SansaiIndex(sansai)];
    out.push_back('\t');
    out += words.inyo[static_cast<std::size_t>(inyo.verdict)];
    out.push_back('\t');
    words.AppendPattern(inyo, out);
    // The words hold no separator, quote or line break: CSV needs no quoting.
    if (separator_ != '\t')
        std::replace(out.begin() + static_cast<std::ptrdiff_t>(at), out.end(), '\t', separator_);
}

// A new record object, opened with the input it answers.
void RecordWriter::StartJsonRecord(const RecordSource& source) {
    buffer_.Clear();
    json_.Reset(buffer_);
    json_.StartObject();
    if (source.line > 0) {
        JsonKey("line");
        json_.Int64(source.line);
    }
    if (source.row > 0) {
        JsonKey("row");
        json_.Int64(source.row);
    }
    if (!options_.inputColumns.empty()) {
        JsonKey("input");
        json_.StartObject();
        for (std::size_t i = 0; i < options_.inputColumns.size(); ++i) {
            JsonString(options_.inputColumns[i]);
            JsonString(i < source.cells.size() ? std::string_view(source.cells[i]) : "");
        }
        json_.EndObject();
    }
}

void RecordWriter::JsonReading(const RecordSource& source, const Reading& reading,
                               std::string& out) {
    const NameRecord& record = reading.Counted();
    const StrokeStyle style = reading.Style();
    const ReadingLines& lines = reading.Lines();
    StartJsonRecord(source);
    JsonKey("surname");
    JsonCp932(record.Names[Surname]);
    JsonKey("given");
    JsonCp932(record.Names[GivenName]);
    if (options_.reading) {
        JsonKey("reading");
        JsonCp932(source.reading);
        if (!source.reading.empty()) {
            JsonYomiCheck(
                CheckYomi(record.Names[GivenName], source.reading, BuiltInNameSearchData()));
        }
    }
    // Whether a registry office takes the given name, and what it refuses.
    const std::string& given = record.Names[GivenName];
    const std::vector<std::string> refused =
        IsRegistrable(given) ? std::vector<std::string>() : UnregistrableCharacters(given);
    JsonKey("registrable");
    json_.Bool(refused.empty());
    JsonKey("unregistrableCharacters");
    json_.StartArray();
    for (const std::string& character : refused) JsonCp932(character);
    json_.EndArray();
    JsonAvoided(BuiltInAvoidedKanji().In(record.Names[GivenName]));
    JsonKey("style");
    json_.String(StyleName(style));
    // The members from "strokes" to "score" hold only numbers, marks and
    // keywords: written as text in one go, after the last value the writer
    // put down, so its count of members stays right for the ones after.
    const auto keyword = [&reading](std::size_t i) -> const Keyword& {
        return reading.KeywordOf(ListedKeys[i].second);
    };
    // The room the members take at most: under 400 bytes of keys, numbers of
    // up to 20 characters and keywords of up to MaxJsonUtf8Size(4) bytes.
    constexpr std::size_t Room = 400 + (2 * MaxPartChars + 3 * FortuneCount + 1) * 21 +
                                 FortuneCount * (Cp932::MaxJsonUtf8Size(4) + 8) +
                                 sizeof(ShortPiece::bytes);
    char* const start = buffer_.Push(Room);
    TextCursor raw(start);
    raw.Put(",\"strokes\":{\"surname\":[");
    for (const NamePart part : {Surname, GivenName}) {
        if (part == GivenName) raw.Put("],\"given\":[");
        for (int k = 1; k <= record.Lengths[part]; ++k) {
            if (k > 1) raw.Put(',');
            raw.Number(record.Strokes[part][static_cast<std::size_t>(k)]);
        }
    }
    raw.Put(']');
    const auto five = [&raw](const ShortPiece& head, const auto& value) {
        raw.Put(head);
        for (std::size_t i = 0; i < FortuneCount; ++i) {
            raw.Put(FiveKeys[i]);
            value(i);
        }
    };
    static constexpr ShortPiece Fortunes = Piece({"},\"fortunes\":{"});
    static constexpr ShortPiece Grades = Piece({"},\"grades\":{"});
    static constexpr ShortPiece MarksHead = Piece({"},\"marks\":{"});
    static constexpr ShortPiece Keywords = Piece({"},\"keywords\":{"});
    five(Fortunes, [&](std::size_t i) { raw.Number(record.Fortunes[ListedKeys[i].second]); });
    five(Grades, [&](std::size_t i) { raw.Number(keyword(i).grade); });
    five(MarksHead, [&](std::size_t i) {
        const int grade = keyword(i).grade;
        raw.Put(MarkStrings[grade >= 1 && grade <= 4 ? static_cast<std::size_t>(grade) : 0]);
    });
    five(Keywords, [&](std::size_t i) {
        raw.Put('"');
        raw.Skip(Cp932::WriteJsonUtf8Lossy(keyword(i).word, raw.At()));
        raw.Put('"');
    });
    raw.Put("},\"score\":");
    raw.Number(NameScore(reading.Keywords()));
    buffer_.Pop(Room - static_cast<std::size_t>(raw.At() - start));
    JsonKey("sansai");
    JsonSansai(ReadSansai(record), false);
    JsonKey("inyo");
    JsonInyo(ReadInyo(record));
    if (options_.report) {
        JsonKey("report");
        JsonReport(reading, out);
    }
    if (options_.lines || source.line == 0) {
        JsonLines("screenLines", lines.ScreenLines, lines.lastScreenLine);
        JsonLines("printLines", lines.PrintLines, lines.lastPrintLine);
        JsonKey("screenLineIndex");
        json_.Int(lines.lastScreenLine);
        JsonKey("printLineIndex");
        json_.Int(lines.lastPrintLine);
    }
    JsonNotes(source);
    JsonNote(source);
    json_.EndObject();
}

void RecordWriter::OptionalText(const std::string& utf8) {
    if (utf8.empty()) {
        json_.Null();
    } else {
        JsonString(utf8);
    }
}

void RecordWriter::TextArray(const std::vector<std::string>& utf8) {
    json_.StartArray();
    for (const std::string& text : utf8) JsonString(text);
    json_.EndArray();
}

void RecordWriter::JsonSpoken(const SpokenName& spoken) {
    JsonKey("romaji");
    OptionalText(spoken.romaji);
    JsonKey("romajiAlternatives");
    TextArray(spoken.alternatives);
    JsonKey("romajiFullName");
    OptionalText(spoken.fullName);
    JsonKey("initials");
    OptionalText(spoken.initials);
    JsonKey("soundNotes");
    TextArray(spoken.notes);
}

void RecordWriter::JsonNote(const RecordSource& source) {
    // A name whose readings give nothing to spell or note (a refused name
    // typed without its reading) keeps the record it had.
    if (source.spoken && (!source.spoken->romaji.empty() || !source.spoken->notes.empty())) {
        JsonSpoken(*source.spoken);
    }
    if (!options_.note) return;
    JsonKey("note");
    JsonCp932(source.note);
}

void RecordWriter::JsonLines(const char* key,
                             const std::array<std::string, WrappedLineCount>& lines,
                             int lastIndex) {
    JsonKey(key);
    json_.StartArray();
    for (int i = 0; i <= lastIndex && i < WrappedLineCount; ++i) {
        JsonCp932(lines[static_cast<std::size_t>(i)]);
    }
    json_.EndArray();
}

void RecordWriter::JsonString(std::string_view utf8) {
    json_.String(utf8.data(), static_cast<rapidjson::SizeType>(utf8.size()));
}

// A key of the program's own, plain ASCII that needs no escapes: copied as
// it is, which is several times quicker than the writer's checked keys.
void RecordWriter::JsonKey(std::string_view key) {
    json_.RawValue("", 0, rapidjson::kStringType);
    char* const text = buffer_.Push(key.size() + 2);
    text[0] = '"';
    std::memcpy(text + 1, key.data(), key.size());
    text[key.size() + 1] = '"';
}

// Converted and escaped in one pass, straight into the record: the writer
// puts down what comes before a value (its ":" or ","), then the text goes
// into its buffer in place, with room for the longest result and the rest
// given back.
void RecordWriter::JsonCp932(std::string_view cp932) {
    json_.RawValue("", 0, rapidjson::kStringType);
    const std::size_t room = Cp932::MaxJsonUtf8Size(cp932.size()) + 2;
    char* text = buffer_.Push(room);
    text[0] = '"';
    const std::size_t length = Cp932::WriteJsonUtf8Lossy(cp932, text + 1);
    text[length + 1] = '"';
    buffer_.Pop(room - (length + 2));
}

// Most of a record, so put straight onto `out` after what the writer holds
// instead of being copied there with the rest.
void RecordWriter::JsonReport(const Reading& reading, std::string& out) {
    json_.RawValue("", 0, rapidjson::kStringType);
    FlushJson(out);
    out.push_back('"');
    if (!reading.Report().empty()) {
        AppendJsonUtf8(reading.Report(), out);
    } else {
        // Put together from its pieces, each that recurs converted once.
        const NameRecord& record = reading.Counted();
        const auto& f = record.Fortunes;
        AppendJsonUtf8(ReportHeading(record), out);
        for (int position = 0; position < FortuneCount; ++position) {
            const FortuneKind kind = ListedFortune(position);
            out += CachedJson(fortuneLinesJson_[kind], f[kind],
                              [&] { return ReportFortuneLine(kind, f[kind], tables_); });
        }
        AppendJsonUtf8(ReportListEnd, out);
        // The opening is its lead (the opening of no name) and the name.
        if (openingLeadJson_.empty()) AppendJsonUtf8(ReportOpening(NameRecord{}), openingLeadJson_);
        out += openingLeadJson_;
        AppendJsonUtf8(record.Names[Surname], out);
        AppendJsonUtf8(record.Names[GivenName], out);
        for (std::size_t i = 0; i < ParagraphFortunes.size(); ++i) {
            const std::int32_t number = f[ParagraphFortunes[i]];
            out += CachedJson(paragraphsJson_[i], number,
                              [&] { return ReportParagraph(i, number, tables_); });
        }
    }
    out.push_back('"');
}

void RecordWriter::FlushJson(std::string& out) {
    out.append(buffer_.GetString(), buffer_.GetSize());
    buffer_.Clear();
}

void RecordWriter::FinishJson(std::string& out) {
    FlushJson(out);
    out.push_back('\n');
}

// The input columns kept, each followed by a separator; missing cells are empty.
void RecordWriter::InputCells(const RecordSource& source, std::string& out) {
    for (std::size_t i = 0; i < options_.inputColumns.size(); ++i) {
        if (i < source.cells.size()) Field(source.cells[i], out);
        out.push_back(separator_);
    }
}

void RecordWriter::TableReading(const RecordSource& source, const Reading& reading,
                                std::string& out) {
    const NameRecord& record = reading.Counted();
    const StrokeStyle style = reading.Style();
    const char tab = separator_;
    InputCells(source, out);
    if (source.line > 0) AppendNumber(source.line, out);
    out.push_back(tab);
    if (options_.rows) {
        if (source.row > 0) AppendNumber(source.row, out);
        out.push_back(tab);
    }
    FieldCp932(record.Names[Surname], out);
    out.push_back(tab);
    FieldCp932(record.Names[GivenName], out);
    if (options_.reading) {
        out.push_back(tab);
        FieldCp932(source.reading, out);
    }
    out.push_back(tab);
    out += StyleName(style);
    out.push_back(tab);
    AppendStrokes(record, Surname, out);
    out.push_back(tab);
    AppendStrokes(record, GivenName, out);
    for (const auto& [key, kind] : ListedKeys) {
        out.push_back(tab);
        AppendNumber(record.Fortunes[kind], out);
    }
    for (const auto& [key, kind] : ListedKeys) {
        const Keyword& keyword = reading.KeywordOf(kind);
        out.push_back(tab);
        AppendNumber(keyword.grade, out);
        out.push_back(tab);
        out += MarkOf(keyword.grade);
    }
    for (const auto& [key, kind] : ListedKeys) {
        out.push_back(tab);
        Field(KeywordUtf8(record.Fortunes[kind]), out);
    }
    out.push_back(tab);
    AppendNumber(NameScore(reading.Keywords()), out);
    TsvSupplement(ReadSansai(record), ReadInyo(record), out);
    out.push_back(tab);
    out += IsRegistrable(record.Names[GivenName]) ? "true" : "false";
    out.append(3, tab);  // no code, error or characters
    TableNotes(source, out);
    if (options_.report) {
        out.push_back(tab);
        FieldCp932(reading.Report().empty() ? ComposeReport(record, tables_) : reading.Report(),
                   out);
    }
    if (options_.note) {
        out.push_back(tab);
        FieldCp932(source.note, out);
    }
    EndRow(out);
}

void RecordWriter::TableFailure(const RecordSource& source, const RecordFailure& failure,
                                std::string& out) {
    const char tab = separator_;
    InputCells(source, out);
    if (source.line > 0) AppendNumber(source.line, out);
    out.push_back(tab);
    if (options_.rows) {
        if (source.row > 0) AppendNumber(source.row, out);
        out.push_back(tab);
    }
    Field(failure.surname, out);
    out.push_back(tab);
    Field(failure.given, out);
    if (options_.reading) {
        out.push_back(tab);
        FieldCp932(source.reading, out);
    }
    out.push_back(tab);
    if (failure.style) out += StyleName(*failure.style);
    // The reading's columns after the style, the score, the supplement and registrable.
    out.append(ReadingOnlyColumns - 1 + 1 + SupplementColumnCount + 1, tab);
    out.push_back(tab);
    out += ErrorCodeName(failure.code);
    out.push_back(tab);
    Field(failure.message, out);
    out.push_back(tab);
    utf8_.clear();
    for (const std::string& character : failure.characters) {
        if (!utf8_.empty()) utf8_.push_back(' ');
        utf8_ += character;
    }
    Field(utf8_, out);
    TableNotes(source, out);
    if (options_.report) out.push_back(tab);
    if (options_.note) {
        out.push_back(tab);
        FieldCp932(source.note, out);
    }
    EndRow(out);
}

// The notes column of a batch, after its separator: the notes one after another.
void RecordWriter::TableNotes(const RecordSource& source, std::string& out) {
    if (!options_.rows) return;
    out.push_back(separator_);
    utf8_.clear();
    for (const std::string& note : source.notes) {
        if (!utf8_.empty()) utf8_ += " / ";
        utf8_ += note;
    }
    Field(utf8_, out);
}

// The notes key, when there are notes.
void RecordWriter::JsonNotes(const RecordSource& source) {
    if (source.notes.empty()) return;
    JsonKey("notes");
    json_.StartArray();
    for (const std::string& note : source.notes) JsonString(note);
    json_.EndArray();
}

// A field holding a separator, a line break or a double quote is quoted, with
// its quotes doubled, as spreadsheets and Python's csv module read it.
void RecordWriter::Field(std::string_view utf8, std::string& out) const {
    const char separator = separator_;
    if (std::none_of(utf8.begin(), utf8.end(), [separator](char c) {
            return c == separator || c == '"' || c == '\n' || c == '\r';
        })) {
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

void RecordWriter::FieldCp932(std::string_view cp932, std::string& out) {
    utf8_.clear();
    Cp932::AppendUtf8Lossy(cp932, utf8_);
    Field(utf8_, out);
}

const std::string& RecordWriter::KeywordUtf8(std::int32_t number) {
    const auto index = static_cast<std::size_t>(number);
    if (index >= keywordsUtf8_.size()) keywordsUtf8_.resize(index + 1);
    std::string& word = keywordsUtf8_[index];
    if (word.empty()) word = Cp932::ToUtf8Lossy(LookupKeyword(tables_, number).word);
    return word;
}

void RecordWriter::EndRow(std::string& out) const {
    if (options_.format == Format::Csv) out.push_back('\r');
    out.push_back('\n');
}

}  // namespace soten
