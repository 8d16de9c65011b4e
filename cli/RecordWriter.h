#pragma once

#include <string>
#include <string_view>

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "CliOptions.h"
#include "NameSearch.h"
#include "ProgramState.h"
#include "Tables.h"

namespace soten::cli {

// What a record holds besides the reading's numbers.
struct RecordOptions {
    Format format = Format::Json;  // Json or Tsv
    bool lines = false;            // the screen and print lines (JSON only)
    bool report = true;
};

// Writes readings, refusals and errors as JSON objects (one per line) or as
// rows of tab-separated values, in UTF-8; and the results of a name search
// as one JSON object or as TSV. A TSV field is quoted as Python's csv module
// (excel-tab dialect) and spreadsheets read it. One writer per thread: it
// keeps scratch buffers between records.
class RecordWriter {
public:
    RecordWriter(const Tables& tables, RecordOptions options);

    // Appends the TSV header row; nothing for JSON.
    void AppendHeader(std::string& out) const;

    // `line` is the input line a batch record answers; 0 for a single reading,
    // which then has no line key or value.
    void AppendReading(long line, const ShownReading& reading, std::string& out);
    void AppendRefusal(long line, std::string_view surnameUtf8, std::string_view givenUtf8,
                       std::string_view messageCp932, std::string& out);
    void AppendError(long line, std::string_view message, std::string& out);

    // The names found by a search: one JSON object (its keys in alphabetical
    // order) on one line, or a TSV header row and one row per name.
    void AppendSearch(const NameSearchFilters& filters, const NameSearchResult& result,
                      std::string& out);

private:
    using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

    void StartJsonRecord(long line);
    void JsonReading(long line, const ShownReading& reading);
    void TsvReading(long line, const ShownReading& reading, std::string& out);
    void JsonString(std::string_view utf8);
    void JsonCp932(std::string_view cp932);
    void JsonLines(const char* key, const std::array<std::string, WrappedLineCount>& lines,
                   int lastIndex);
    void TsvRow(long line, std::string_view surname, std::string_view given, std::string_view error,
                std::string& out);
    void TsvField(std::string_view utf8, std::string& out);
    void TsvCp932(std::string_view cp932, std::string& out);
    void FinishJson(std::string& out);
    void JsonCandidate(const NameCandidate& candidate);
    void TsvCandidate(const NameCandidate& candidate, std::string& out);

    const Tables& tables_;
    RecordOptions options_;
    rapidjson::StringBuffer buffer_;
    JsonWriter json_;
    std::string utf8_;
};

}  // namespace soten::cli
