#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/naming/NameSearch.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

// The candidate written `given` among every name the filters find, or null.
std::optional<NameCandidate> FindName(NameSearchFilters filters, const std::string& given) {
    filters.limit = MaxSearchLimit;
    for (filters.page = 1;; ++filters.page) {
        NameSearchResult result = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
        EXPECT_TRUE(result.problem.empty()) << Utf8(result.problem);
        if (result.candidates.empty()) return std::nullopt;
        for (NameCandidate& candidate : result.candidates) {
            if (candidate.given == given) return std::move(candidate);
        }
    }
}

// Names a parent must not be offered: left out by default in both spaces,
// listed with the note when asked for.
TEST(AvoidedKanjiSearch, DreadfulNamesComeOnlyWhenAskedForAndWithTheNote) {
    struct Case {
        const char* given;
        const char* yomi;
        SearchSpace space;
        const char* note;
    };
    const std::vector<Case> cases = {
        {"死刑", "しけい", SearchSpace::Names, "死：死を表す字、刑：刑罰を表す字"},
        {"死桜", "しおう", SearchSpace::Names, "死：死を表す字"},
        {"悪鬼", "あっき", SearchSpace::Names, "悪：悪を表す字、鬼：鬼を表す字"},
        {"憂依", "ゆい", SearchSpace::Names, "憂：うれい・悲しみを表す字"},
        {"死刑", "しけい", SearchSpace::All, "死：死を表す字、刑：刑罰を表す字"},
        {"憂依", "ゆうい", SearchSpace::All, "憂：うれい・悲しみを表す字"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.given) + (c.space == SearchSpace::All ? " all" : " names"));
        NameSearchFilters filters;
        filters.surname = Sjis("佐藤");
        filters.space = c.space;
        filters.chars = 2;
        filters.yomi.exact = Sjis(c.yomi);
        EXPECT_FALSE(FindName(filters, Sjis(c.given)));
        filters.includeAvoided = true;
        const auto found = FindName(filters, Sjis(c.given));
        ASSERT_TRUE(found);
        EXPECT_EQ(Utf8(AvoidedKanjiNote(found->avoided)), c.note);
    }
}

// With the best 三才 and a 陰陽 that is not 凶, the kanji combinations once
// began with 圧悪 for 佐藤 and 闇井 for 中村.
TEST(AvoidedKanjiSearch, BestVerdictsNoLongerLeadWithAnAvoidedKanji) {
    for (const char* surname : {"佐藤", "中村"}) {
        NameSearchFilters filters;
        filters.surname = Sjis(surname);
        filters.space = SearchSpace::All;
        filters.worstSansai = SansaiVerdict::VeryGood;
        filters.inyoOk = true;
        filters.limit = 20;
        const NameSearchResult result =
            SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
        ASSERT_EQ(result.candidates.size(), 20u) << surname;
        for (const NameCandidate& candidate : result.candidates) {
            EXPECT_TRUE(candidate.avoided.empty()) << Utf8(candidate.given);
        }
    }
}

}  // namespace
}  // namespace soten
