#pragma once

// How the name search reads a name: the one place where it runs the
// program's reading flow.

#include <optional>
#include <string>

#include "analysis/naming/NameSearch.h"

namespace soten::naming {

// The numbers of surname + given (code page 932) in a style, made exactly as
// a reading of the name makes them: the entry dialog's checks and lookup,
// then ComputeFortunes. When the checks refuse the name, `refusal` holds the
// program's own message and the record is not to be used.
struct ReadNumbers {
    std::optional<std::string> refusal;
    NameRecord record;
};
ReadNumbers ReadNameNumbers(const std::string& surname, const std::string& given, StrokeStyle style,
                            const Tables& tables);

// The candidate of a given name found by the search, judged from the numbers
// above; nothing when the checks refuse the name.
std::optional<NameCandidate> MakeCandidate(const NameSearchFilters& filters, const Tables& tables,
                                           std::string given);

}  // namespace soten::naming
