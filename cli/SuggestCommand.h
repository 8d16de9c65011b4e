#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "NameSearchData.h"
#include "Tables.h"

namespace soten::cli {

// True when the arguments ask for name suggestions (--suggest).
bool IsSuggestCommand(const std::vector<std::string>& args);

// soten-cli --suggest SURNAME [filters...]: the given names with the best
// numbers after a surname, as text, JSON or TSV. Returns the exit status:
// 0 with or without results, 1 when the surname is refused, 2 on a usage
// error or filters that cannot match.
int RunSuggest(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const Tables& tables, const NameSearchData& data);

extern const char* const SuggestUsageText;

}  // namespace soten::cli
