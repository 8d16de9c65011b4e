#include "analysis/naming/CandidateReading.h"

#include "analysis/reading/NewReading.h"
#include "analysis/reading/ProgramState.h"

namespace soten::naming {

ReadNumbers ReadNameNumbers(const std::string& surname, const std::string& given, StrokeStyle style,
                            const Tables& tables) {
    ProgramState state;
    state.strokeStyle = style;
    ReadNames(state.record, surname, given);
    ReadNumbers numbers;
    numbers.refusal = CheckNames(state, tables);
    if (!numbers.refusal) ComputeFortunes(state.record);
    numbers.record = state.record;
    return numbers;
}

std::optional<NameCandidate> MakeCandidate(const NameSearchFilters& filters, const Tables& tables,
                                           std::string given) {
    ReadNumbers numbers = ReadNameNumbers(filters.surname, given, filters.style, tables);
    if (numbers.refusal) return std::nullopt;
    NameCandidate candidate;
    static_cast<NameJudgement&>(candidate) = JudgeName(numbers.record, tables);
    candidate.given = std::move(given);
    candidate.record = std::move(numbers.record);
    return candidate;
}

}  // namespace soten::naming
