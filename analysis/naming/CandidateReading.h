#pragma once

// How the name search counts a name: exactly as a reading counts it.

#include <optional>
#include <string>

#include "analysis/naming/NameSearch.h"

namespace soten::naming {

// The candidate of a given name found by the search, judged from the numbers
// of surname + given (code page 932) in the filters' style; nothing when a
// reading would refuse the name.
std::optional<NameCandidate> MakeCandidate(const NameSearchFilters& filters, const Tables& tables,
                                           std::string given);

}  // namespace soten::naming
