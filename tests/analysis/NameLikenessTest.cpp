#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/naming/NameLikeness.h"
#include "analysis/naming/NameSearch.h"
#include "analysis/naming/NameSearchData.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

// The 2025 rule's own examples and the classes the alignment gives them.
TEST(NameLikeness, ClassifiesYomiByTheBestAlignment) {
    struct Case {
        const char* written;
        const char* yomi;
        YomiClass kind;
        std::vector<std::pair<const char*, const char*>> parts;
    };
    const std::vector<Case> cases = {
        {"陽翔", "はると", YomiClass::Standard, {{"陽", "はる"}, {"翔", "と"}}},
        {"結衣", "ゆい", YomiClass::Standard, {{"結", "ゆ"}, {"衣", "い"}}},
        {"心愛", "ここあ", YomiClass::Partial, {{"心", "ここ"}, {"愛", "あ"}}},
        {"陽葵", "ひまり", YomiClass::Customary, {{"陽", "ひ"}, {"葵", "まり"}}},
        {"太郎", "じろう", YomiClass::Unverified, {}},
        {"一輝", "いっき", YomiClass::Standard, {{"一", "いっ"}, {"輝", "き"}}},
        {"美桜", "みざくら", YomiClass::Standard, {{"美", "み"}, {"桜", "ざくら"}}},
        {"悠斗", "ゆーと", YomiClass::Standard, {{"悠", "ゆー"}, {"斗", "と"}}},
        {"奈々", "なな", YomiClass::Standard, {{"奈", "な"}, {"奈", "な"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        const YomiCheck check = CheckYomi(Sjis(c.written), Sjis(c.yomi), BuiltInNameSearchData());
        EXPECT_EQ(check.kind, c.kind);
        std::vector<std::pair<std::string, std::string>> parts;
        for (const auto& [kanji, kana] : check.parts) parts.emplace_back(Utf8(kanji), Utf8(kana));
        std::vector<std::pair<std::string, std::string>> expected;
        for (const auto& [kanji, kana] : c.parts) expected.emplace_back(kanji, kana);
        EXPECT_EQ(parts, expected);
    }
}

// Likeness orders spellings of one yomi as parents spell it: the common
// spelling above a rare one, any aligned yomi above an unaligned one.
TEST(NameLikeness, CommonSpellingsWeighMore) {
    const NameSearchData& data = BuiltInNameSearchData();
    auto likeness = [&](const char* written, const char* yomi) {
        return CheckYomi(Sjis(written), Sjis(yomi), data).likeness;
    };
    EXPECT_GT(likeness("陽翔", "はると"), likeness("羽十撮", "はると"));
    EXPECT_GT(likeness("結衣", "ゆい"), likeness("床衣", "ゆい"));
    EXPECT_GT(likeness("太郎", "たろう"), likeness("太郎", "じろう"));
}

TEST(NameLikeness, LeansBySeveralTimesMoreNamesOfOneGender) {
    EXPECT_EQ(LeanOf(10, 4), GenderLean::Girls);
    EXPECT_EQ(LeanOf(9, 4), GenderLean::Neither);
    EXPECT_EQ(LeanOf(0, 2), GenderLean::Boys);
    EXPECT_EQ(LeanOf(0, 1), GenderLean::Neither);
}

}  // namespace
}  // namespace soten

namespace soten {
namespace {

// Names parents gave in recent years, from public rankings (facts, not
// text): Meiji Yasuda Life's 生まれ年別名前調査 for 2023 (published
// 2023-12-04: 碧, 暖, 律; girls 凛, 紬), for 2022 (published 2022-12-05: 凪,
// 蓮; girls 詩) and for 2016 (published 2016-11-28: 蓮, 悠真, 朝陽, 樹, 悠,
// 陽太, 湊, 葵; girls 陽菜, 咲良, 花, 莉子), and Benesse's たまひよ
// 赤ちゃんの名前ランキング 2023 (published 2023-11: 凪, 朝陽, 湊, 碧, 蓮, 律,
// 暖). Each, in the all-kanji space sorted by name-likeness, is among the
// first 20 spellings of its yomi and length.
TEST(NameLikeness, RecentPopularNamesComeFirstAmongTheirSpellings) {
    const std::vector<std::pair<const char*, const char*>> names = {
        {"碧", "あお"},     {"暖", "だん"},     {"律", "りつ"},   {"凛", "りん"},
        {"紬", "つむぎ"},   {"凪", "なぎ"},     {"蓮", "れん"},   {"詩", "うた"},
        {"悠真", "ゆうま"}, {"朝陽", "あさひ"}, {"樹", "いつき"}, {"悠", "ゆう"},
        {"陽太", "ようた"}, {"湊", "みなと"},   {"葵", "あおい"}, {"陽菜", "ひな"},
        {"咲良", "さくら"}, {"花", "はな"},     {"莉子", "りこ"}, {"心愛", "ここあ"},
        {"結衣", "ゆい"}};
    for (const auto& [written, yomi] : names) {
        SCOPED_TRACE(written);
        NameSearchFilters filters;
        filters.surname = Sjis("佐藤");
        filters.space = SearchSpace::All;
        filters.sort = SortKey::Common;
        filters.yomi.exact = Sjis(yomi);
        filters.chars = static_cast<int>(Sjis(written).size() / 2);
        filters.limit = 20;
        const auto result = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
        ASSERT_TRUE(result.problem.empty()) << Utf8(result.problem);
        const bool found =
            std::any_of(result.candidates.begin(), result.candidates.end(),
                        [&](const NameCandidate& c) { return c.given == Sjis(written); });
        EXPECT_TRUE(found);
    }
}

// The default listing of the all-kanji space reads each kanji only as real
// names read it, and never lists a compatibility look-alike beside its
// unified kanji.
TEST(NameLikeness, AllSpaceListsOnlyPartsRealNamesUse) {
    const NameSearchData& data = BuiltInNameSearchData();
    for (const char* yomi : {"はると", "ゆい", "ひまり"}) {
        SCOPED_TRACE(yomi);
        NameSearchFilters filters;
        filters.surname = Sjis("佐藤");
        filters.space = SearchSpace::All;
        filters.yomi.exact = Sjis(yomi);
        filters.limit = 20;
        const auto result = SearchNames(filters, BuiltInTables(), data);
        ASSERT_EQ(result.candidates.size(), 20u);
        for (const NameCandidate& c : result.candidates) {
            EXPECT_NE(c.yomiCheck.kind, YomiClass::Unverified) << Utf8(c.given);
            for (const auto& [kanji, kana] : c.yomiCheck.parts) {
                EXPECT_NE(data.Likeness().Find(*data.KanjiIndex(kanji), kana), nullptr)
                    << Utf8(c.given) << " " << Utf8(kana);
            }
            EXPECT_EQ(c.given.find(Sjis("\uFA16")), std::string::npos);  // 猪's look-alike
        }
    }
}

}  // namespace
}  // namespace soten
