#pragma once

#include "analysis/naming/NameSearch.h"

namespace soten::naming {

// The search in the given names of the name dictionary: counts every name
// that passes the filters and fills the page's candidates into `result`.
// `surname` holds the surname's lengths and counts.
void SearchGivenNames(const NameSearchFilters& filters, const Tables& tables,
                      const NameSearchData& data, const NameRecord& surname,
                      NameSearchResult& result);

}  // namespace soten::naming
