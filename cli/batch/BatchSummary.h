#pragma once

#include <string>

#include "analysis/records/RecordWriter.h"
#include "cli/app/CliOptions.h"
#include "cli/batch/LineSource.h"

namespace soten::cli {

// What the first lines of an input look like, for the hint of a summary
// whose rows nearly all failed: the likely cause is usually visible there.
struct InputTraits {
    bool zipFile = false;   // starts as a zip file does (xlsx, ods)
    bool nulBytes = false;  // holds NUL bytes (UTF-16 text)
    bool commaInEveryLine = false;
    bool tabInEveryLine = false;
};

InputTraits TraitsOf(const LineBatch& firstBatch);

// What a --batch run made of its rows, said on stderr at its end.
class BatchSummary {
public:
    void Add(const RecordCounts& counts) { counts_ += counts; }
    void SetTraits(const InputTraits& traits) { traits_ = traits; }
    // Characters --output-encoding cp932 could not hold, written as "?".
    void AddReplaced(long characters) { replaced_ += characters; }

    const RecordCounts& Counts() const { return counts_; }

    // 0 every row read, 1 some refused, ExitMalformed some not readable.
    int ExitStatus() const;

    // One line of counts, a hint on a second line when nearly every row
    // failed the same way, and a line about characters written as "?"; each
    // line starts with "soten-cli: " and ends in
    // "\n".
    std::string Text(const CliOptions& options) const;

    // The hint alone; empty when there is none.
    std::string Hint(const CliOptions& options) const;

private:
    RecordCounts counts_;
    InputTraits traits_;
    long replaced_ = 0;
};

}  // namespace soten::cli
