#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "analysis/records/RecordWriter.h"
#include "cli/app/CliOptions.h"
#include "cli/batch/LineSource.h"
#include "cli/batch/TableInput.h"

namespace soten::cli {

// What became of one input line of --batch.
enum class LineOutcome { Empty, Reading, Refused, Malformed };

// How the lines of --batch are read: "SURNAME GIVEN [style]" lines, or the
// rows of a table laid out as `layout` says.
struct BatchInput {
    InputFormat format = InputFormat::Text;
    Encoding encoding = Encoding::Utf8;   // Utf8 for UTF-16, which the source turns into UTF-8
    const TableLayout* layout = nullptr;  // set for tsv and csv
    long headerRow = 0;                   // the header row, which gets no record; 0: none
    long skipRows = 0;                    // the title rows above the table, which get none
};

// Answers the lines of --batch one at a time, one record per line. One per
// thread; it reuses its reading state and buffers.
class BatchLine {
public:
    BatchLine(const Tables& tables, const CliOptions& options, const BatchInput& input);

    // Appends the record answering `line` (without its line end; a final
    // "\r" is dropped) to `out`; `row` is its row (0: the line's number). An
    // empty or blank line gets no record.
    LineOutcome Answer(std::string_view line, long lineNumber, std::string& out, long row = 0);

    // The record of one row of a batch, as the source read it.
    LineOutcome Answer(const LineBatch& batch, std::size_t i, std::string& out);

    // The record of a row longer than the source reads (MaxRowBytes), or of
    // a line of names longer than MaxBatchLineBytes.
    LineOutcome AnswerTooLong(long lineNumber, std::string& out, long row = 0);

    // The records answered so far, by kind.
    const RecordCounts& Counts() const { return writer_.Counts(); }

private:
    LineOutcome Fail(long lineNumber, long row, ErrorCode code, std::string_view message,
                     std::string& out);
    LineOutcome AnswerText(std::string_view line, long lineNumber, long row, bool unclosedQuote,
                           std::string& out);
    LineOutcome AnswerCells(long lineNumber, long row, bool unclosedQuote, std::string& out);
    LineOutcome Read(const RecordSource& source, std::string_view surname, std::string_view given,
                     StrokeStyle style, std::string& out);

    const Tables& tables_;
    StrokeStyle defaultStyle_;
    BatchInput input_;
    bool keepColumns_;
    RecordWriter writer_;
    ReadingDetail detail_;  // what the records write of a reading
    std::string decoded_;   // the line in UTF-8, when read as cp932
    std::string message_;
    std::vector<std::string> cells_;
    std::vector<std::string> characters_;
    bool normalize_;
    std::string surname_;  // the names as looked up, when cleaned
    std::string given_;
    std::vector<std::string> notes_;
};

// The record options of a run; `inputColumns` are the columns it keeps.
RecordOptions RecordOptionsOf(const CliOptions& options,
                              std::vector<std::string> inputColumns = {});

}  // namespace soten::cli
