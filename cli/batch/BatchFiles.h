#pragma once

#include <iosfwd>

#include "analysis/reading/Tables.h"
#include "cli/app/CliOptions.h"

namespace soten::cli {

// Runs --batch with its files: the input file (or stdin), read as lines, a
// table or a workbook (an xlsx or ods file argument without --input is told
// by its content), and -o (or stdout). A file named by -o is replaced whole
// (platform::FileReplacement) once the run has written it, so a failed run
// leaves the old one as it was; a workbook is written only to a file.
// Messages name the files. Returns the exit status.
int RunBatchFiles(const CliOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
                  const Tables& tables, unsigned jobs);

}  // namespace soten::cli
