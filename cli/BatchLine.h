#pragma once

#include <string>
#include <string_view>

#include "CliOptions.h"
#include "LineSource.h"
#include "ProgramState.h"
#include "RecordWriter.h"
#include "Tables.h"

namespace soten::cli {

// What became of one input line of --batch.
enum class LineOutcome { Empty, Reading, Refused, Malformed };

// Answers the lines of --batch one at a time: "SURNAME GIVEN [shinji|honji]"
// in, one record out. One per thread; it reuses its reading state.
class BatchLine {
public:
    BatchLine(const Tables& tables, const CliOptions& options);

    // Appends the record answering `line` (without its "\n"; a final "\r" is
    // dropped) to `out`. An empty or blank line gets no record.
    LineOutcome Answer(std::string_view line, long lineNumber, std::string& out);

    // The record of a line longer than MaxBatchLineBytes.
    LineOutcome AnswerTooLong(long lineNumber, std::string& out);

private:
    const Tables& tables_;
    StrokeStyle defaultStyle_;
    RecordWriter writer_;
    bool numbersOnly_;  // no report and no lines: the reading stops at the five numbers
    ProgramState state_;
};

// Combines the outcomes of a run into its exit status.
class BatchStatus {
public:
    void Add(LineOutcome outcome) {
        if (outcome == LineOutcome::Refused) refused_ = true;
        if (outcome == LineOutcome::Malformed) malformed_ = true;
    }
    void Add(const BatchStatus& other) {
        refused_ = refused_ || other.refused_;
        malformed_ = malformed_ || other.malformed_;
    }
    int ExitStatus() const;

private:
    bool refused_ = false;
    bool malformed_ = false;
};

RecordOptions RecordOptionsOf(const CliOptions& options);

}  // namespace soten::cli
