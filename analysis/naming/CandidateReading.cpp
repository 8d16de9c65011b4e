#include "analysis/naming/CandidateReading.h"

#include "analysis/reading/Reading.h"

namespace soten::naming {

std::optional<NameCandidate> MakeCandidate(const NameSearchFilters& filters, const Tables& tables,
                                           std::string given) {
    auto counted = CountName({filters.surname, given}, filters.style, tables);
    auto* record = std::get_if<NameRecord>(&counted);
    if (!record) return std::nullopt;
    NameCandidate candidate;
    static_cast<NameJudgement&>(candidate) = JudgeName(*record, tables);
    candidate.avoided = BuiltInAvoidedKanji().In(given);
    candidate.given = std::move(given);
    candidate.record = std::move(*record);
    return candidate;
}

}  // namespace soten::naming
