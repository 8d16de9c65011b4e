#include "analysis/naming/NameSearch.h"

#include <algorithm>

#include "analysis/naming/CandidateReading.h"
#include "analysis/naming/ComposedSpace.h"
#include "analysis/naming/NamesSpace.h"
#include "analysis/naming/SearchFilters.h"
#include "analysis/naming/YomiPartsCache.h"
#include "analysis/reading/Reading.h"
#include "analysis/text/ShiftJis.h"

namespace soten {

int GradePoints(int grade) {
    return grade >= 1 && grade <= 4 ? 4 - grade : 0;
}

int NameScore(const std::array<Keyword, FortuneCount>& keywords) {
    int score = 0;
    for (const FortuneKind kind : naming::ScoredKinds) score += GradePoints(keywords[kind].grade);
    return score;
}

NameJudgement JudgeName(const NameRecord& record, const Tables& tables) {
    NameJudgement judgement;
    for (std::size_t kind = 0; kind < FortuneCount; ++kind) {
        judgement.keywords[kind] = LookupKeyword(tables, record.Fortunes[kind]);
    }
    judgement.score = NameScore(judgement.keywords);
    judgement.sansai = ReadSansai(record);
    judgement.inyo = ReadInyo(record);
    return judgement;
}

NameSearchResult SearchNames(const NameSearchFilters& filters, const Tables& tables,
                             const NameSearchData& data) {
    using naming::Message;
    NameSearchResult result;
    if (filters.surname.empty()) {
        result.problem = Message("名字を入力してください");
        return result;
    }
    // The surname goes through the entry dialog's checks with a one-character
    // given name, so a refusal is the program's own message.
    auto probe = CountName({filters.surname, Cp932Text("一")}, filters.style, tables);
    if (auto* refusal = std::get_if<Refusal>(&probe)) {
        result.refusal = std::move(*refusal);
        return result;
    }
    const NameRecord& surname = std::get<NameRecord>(probe);
    result.limit = std::clamp(filters.limit, 1, MaxSearchLimit);
    if (filters.limit > MaxSearchLimit) {
        result.notes.push_back(Message("表示件数は1ページ10,000件までにしました"));
    }
    result.problem = naming::FilterProblem(filters, data, surname.Lengths[Surname]);
    if (!result.problem.empty()) return result;
    // The search may align the yomi of many names, the page's candidates
    // always do, and the most name-like share their kanji: each kanji's
    // parts once.
    const YomiPartsCache partsCache(data);
    if (filters.space == SearchSpace::Names) {
        naming::SearchGivenNames(filters, tables, data, surname, result);
    } else {
        naming::SearchComposedNames(filters, tables, data, surname, result);
    }
    for (NameCandidate& candidate : result.candidates) {
        candidate.yomiCheck = CheckYomi(candidate.given, candidate.yomi, data);
        if (filters.space != SearchSpace::Names) continue;
        candidate.girls = candidate.yomiCheck.girls;
        candidate.boys = candidate.yomiCheck.boys;
        candidate.lean = LeanOf(candidate.girls, candidate.boys, data.Likeness().Balance());
        if (candidate.gender == NameGender::Unspecified && candidate.lean != GenderLean::Neither) {
            candidate.gender = naming::GenderOfLean(candidate.lean);
            candidate.genderInferred = true;
        }
    }
    return result;
}

std::string CandidateGenderLabel(const NameCandidate& candidate) {
    std::string label = GenderLabel(candidate.gender);
    if (candidate.genderInferred) label += naming::Message("（推定）");
    return label;
}

RegistryVerdict CandidateRegistry(const NameCandidate& candidate) {
    return JudgeRegistry(candidate.registrable, candidate.yomis.empty()
                                                    ? std::nullopt
                                                    : std::optional(candidate.yomiCheck.kind));
}

}  // namespace soten
