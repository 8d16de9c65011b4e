#pragma once

#include "analysis/naming/NameSearch.h"

namespace soten::naming {

// The search in every name of one to MaxAllSpaceChars kanji allowed in given
// names: counts the names that pass the filters by their stroke patterns and
// composes only the page's candidates into `result`. `surname` holds the
// surname's lengths and counts.
void SearchComposedNames(const NameSearchFilters& filters, const Tables& tables,
                         const NameSearchData& data, const NameRecord& surname,
                         NameSearchResult& result);

}  // namespace soten::naming
