#pragma once

#include <iosfwd>

#include "analysis/naming/NameSearchData.h"
#include "analysis/reading/Tables.h"
#include "cli/app/CliOptions.h"

namespace soten::cli {

// soten-cli --suggest SURNAME [filters...]: runs the search of
// `options.search` and writes the given names with the best numbers after
// the surname as text, JSON or TSV (`options.format`). Returns the exit
// status: 0 with or without results, 1 when the surname is refused, 2 when
// the filters cannot match, 3 when the output cannot be written.
int RunNameSearch(const CliOptions& options, std::ostream& out, std::ostream& err,
                  const Tables& tables, const NameSearchData& data);

}  // namespace soten::cli
