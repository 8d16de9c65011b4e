#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "analysis/naming/NameSearch.h"
#include "analysis/naming/SpokenName.h"
#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "analysis/shortlist/NameComparison.h"

namespace soten {

// How records are written: Text is the command line's plain report, which
// the record writer does not write.
enum class Format { Text, Json, Tsv, Csv };

// What a record holds besides the reading's numbers.
struct RecordOptions {
    Format format = Format::Json;  // Json, Tsv or Csv
    bool lines = false;            // the screen and print lines (JSON only)
    bool report = true;
    // The names of the input columns carried into every record (header
    // names, or "1", "2", ...); empty: none.
    std::vector<std::string> inputColumns;
    // A name kept to compare carries its reading (a "reading" key or column
    // after "given") and its note (a "note" key or column at the end).
    bool reading = false;
    bool note = false;
    // Records of the rows of a batch: TSV and CSV carry a "row" column after
    // "line" and a "notes" column after "characters".
    bool rows = false;
};

// What a batch's readings must compose for their records: the lines only
// for JSON records that ask for them, the report for TSV and CSV records
// that hold it (a writer composes the rest).
ReadingDetail BatchReadingDetail(const RecordOptions& options);

// Why a line got no reading; the names are part of the interface.
enum class ErrorCode { UnknownCharacter, RefusedLength, Malformed, TooLong, InvalidEncoding };
inline constexpr std::size_t ErrorCodeCount = 5;
const char* ErrorCodeName(ErrorCode code);
// The code of a refusal: refused-length or unknown-character.
ErrorCode ErrorCodeOf(Refusal::Reason reason);

// The input a record answers: its line (0 for a single reading, which then
// has no line), its row as a spreadsheet numbers it, and the cells of its
// row, in the order of inputColumns; the reading and the note (code page
// 932) are written only when the options ask for them. `notes` (UTF-8) say
// how the input was read, when it was not read as it stood.
struct RecordSource {
    long line = 0;
    std::span<const std::string> cells;
    std::string_view reading = {};
    std::string_view note = {};
    long row = 0;
    std::span<const std::string> notes = {};
    // A compared name's romaji and sound notes, written in JSON before the
    // note ("romaji", "romajiAlternatives", "romajiFullName", "initials",
    // "soundNotes") when it has a romaji or a note; none for a plain reading.
    const SpokenName* spoken = nullptr;
};

// A refusal or an error. The texts are UTF-8.
struct RecordFailure {
    ErrorCode code = ErrorCode::Malformed;
    std::string_view message;  // in the program's language
    std::string_view surname;  // the names as read, when there were names
    std::string_view given;
    std::span<const std::string> characters;  // unknown-character: the ones not counted
    // Set for a name that carries its own style (a kept name): written after
    // the names, and in the style column.
    std::optional<StrokeStyle> style;
};

// How many records of each kind a writer wrote.
struct RecordCounts {
    long readings = 0;
    std::array<long, ErrorCodeCount> failures{};  // by ErrorCode

    long Failures(ErrorCode code) const { return failures[static_cast<std::size_t>(code)]; }
    long Records() const;
    RecordCounts& operator+=(const RecordCounts& other);
    RecordCounts operator-(const RecordCounts& other) const;
};

// The prefix of an input column whose name is a result column's ("code" →
// "input.code"), so that no key or header name is written twice.
inline constexpr std::string_view CollidingInputPrefix = "input.";

// The keys of the input columns as records write them: each name as it is,
// an empty one "列N" (N from 1), a repeated one "NAME_2", "NAME_3", ..., and
// one that a result column has (see `options`) with CollidingInputPrefix.
std::vector<std::string> UniqueInputKeys(const std::vector<std::string>& names,
                                         const RecordOptions& options);

// Writes readings, refusals and errors as JSON objects (one per line) or as
// rows of TSV or CSV, in UTF-8; and the results of a name search as one JSON
// object or as TSV. A TSV field is quoted as Python's csv module (excel-tab
// dialect) writes it, a CSV field as RFC 4180 (rows end in CR LF). One writer
// per thread: it keeps scratch buffers between records.
class RecordWriter {
public:
    RecordWriter(const Tables& tables, RecordOptions options);

    // The header row of TSV and CSV (the input columns, then the result
    // columns); nothing for JSON. The input columns are named by their
    // unique keys (UniqueInputKeys), in JSON too.
    void AppendHeader(std::string& out) const;

    // A reading made without its report (ReadingDetail::Numbers) is given
    // the report of the writer's tables, when the options ask for one.
    void AppendReading(const RecordSource& source, const Reading& reading, std::string& out);
    void AppendFailure(const RecordSource& source, const RecordFailure& failure, std::string& out);

    // A name compared (see NameComparison.h), with its reading and note
    // when the options ask: its reading's record, or its refusal. The
    // refusal names the names and characters as typed (UTF-8) when given,
    // else as the entry holds them; `ownStyle` adds the entry's style to a
    // refusal, for lists whose names each have their own.
    void AppendCompared(const ComparedName& name, bool ownStyle, std::string& out,
                        std::string_view typedSurname = {}, std::string_view typedGiven = {},
                        std::span<const std::string> typedCharacters = {});

    // The names found by a search: one JSON object (its keys in alphabetical
    // order) on one line, or a TSV header row and one row per name. A JSON
    // candidate carries its romaji and sound notes (JsonSpoken), with the
    // surname's reading when `surnameYomi` is given.
    void AppendSearch(const NameSearchFilters& filters, const NameSearchResult& result,
                      std::string& out, std::string_view surnameYomi = {});

    // The readings and failures written so far.
    const RecordCounts& Counts() const { return counts_; }

private:
    using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

    bool Table() const { return options_.format != Format::Json; }
    void StartJsonRecord(const RecordSource& source);
    void JsonReading(const RecordSource& source, const Reading& reading, std::string& out);
    void TableReading(const RecordSource& source, const Reading& reading, std::string& out);
    void TableFailure(const RecordSource& source, const RecordFailure& failure, std::string& out);
    void InputCells(const RecordSource& source, std::string& out);
    void TableNotes(const RecordSource& source, std::string& out);
    void JsonNotes(const RecordSource& source);
    void JsonNote(const RecordSource& source);
    void JsonSpoken(const SpokenName& spoken);
    void OptionalText(const std::string& utf8);  // null when empty
    void TextArray(const std::vector<std::string>& utf8);
    void JsonString(std::string_view utf8);
    void JsonKey(std::string_view key);
    void JsonCp932(std::string_view cp932);
    // The reading's report, or for a reading without one (made with
    // ReadingDetail::Numbers) the report composed from the writer's tables.
    void JsonReport(const Reading& reading, std::string& out);
    void JsonLines(const char* key, const std::array<std::string, WrappedLineCount>& lines,
                   int lastIndex);
    void Field(std::string_view utf8, std::string& out) const;
    void FieldCp932(std::string_view cp932, std::string& out);
    // The keyword of a fortune number in UTF-8, converted once per writer.
    const std::string& KeywordUtf8(std::int32_t number);
    void EndRow(std::string& out) const;
    // The record so far appended to `out`; FinishJson ends it.
    void FlushJson(std::string& out);
    void FinishJson(std::string& out);
    void JsonSansai(const SansaiReading& sansai, bool alphabetical);
    void JsonInyo(const InyoReading& inyo);
    void JsonRaw(std::string_view json);
    void TsvSupplement(const SansaiReading& sansai, const InyoReading& inyo, std::string& out);
    void JsonCandidate(const NameCandidate& candidate, std::string_view surname,
                       std::string_view surnameYomi);
    // "avoidedKanji": [{"kanji", "category", "reason"}], written only for a
    // name that holds a kanji of the avoid list.
    void JsonAvoided(const std::vector<AvoidedKanjiEntry>& avoided);
    // "readingCheck" and "readingParts" of a yomi checked by the 2025 rule.
    void JsonYomiCheck(const YomiCheck& check);
    void TsvCandidate(const NameCandidate& candidate, std::string& out);

    const Tables& tables_;
    RecordOptions options_;
    char separator_;
    rapidjson::StringBuffer buffer_;
    JsonWriter json_;
    std::string utf8_;
    std::vector<std::string> keywordsUtf8_;  // by fortune number
    // The pieces of reports that depend on one number, by that number:
    // the fortune lines by fortune, the paragraphs by paragraph.
    std::array<std::vector<std::string>, FortuneCount> fortuneLinesJson_;
    std::array<std::vector<std::string>, 4> paragraphsJson_;
    std::string openingLeadJson_;
    // 陰陽 by the split of the name (surname characters × 16 + given
    // name characters), then by pattern.
    std::vector<std::vector<std::string>> inyoJson_;
    RecordCounts counts_;
};

}  // namespace soten
