#pragma once

#include <iosfwd>

#include "analysis/reading/Tables.h"
#include "cli/app/CliOptions.h"
#include "cli/batch/LineSource.h"

namespace soten::cli {

// Runs --batch from `in` to `out`: the batches of lines of a LineSource are
// answered by `jobs` threads (the calling one among them) and written in
// input order, so the output is the same byte for byte whatever the number
// of threads. A bounded number of batches is in flight, so memory stays flat
// however long the input is. Returns the exit status; a failed write stops
// the run, and an input that cannot be read ends it, with ExitIo and a
// message on `err`.
int RunBatchStream(std::istream& in, std::ostream& out, std::ostream& err, const Tables& tables,
                   const CliOptions& options, unsigned jobs);

// The same for the rows of any source (a workbook's sheet, say): a table's
// layout is chosen from its first row that is neither blank nor skipped.
int RunBatchRows(RowSource& source, std::ostream& out, std::ostream& err, const Tables& tables,
                 const CliOptions& options, unsigned jobs);

class WorkbookInput;

// The same for the rows of a sheet, read as a table's rows in UTF-8.
int RunBatchStream(WorkbookInput& in, std::ostream& out, std::ostream& err, const Tables& tables,
                   const CliOptions& options, unsigned jobs);

// The number of threads --jobs means when it is not given: one per
// processor that other programs' runnable threads leave idle, at least one.
unsigned DefaultJobs();

}  // namespace soten::cli
