#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/naming/AvoidedKanji.h"
#include "analysis/naming/NameLikeness.h"
#include "analysis/naming/NameSearch.h"
#include "analysis/naming/NameSearchData.h"
#include "analysis/naming/YomiPartsCache.h"
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

// A search keeps each kanji's parts once per place (first, last, between,
// alone): the checks it gives are those made without it, over a slice of the
// dictionary where the same kanji stand at every place.
TEST(NameLikeness, ACacheOfPartsChangesNoCheck) {
    const NameSearchData& data = BuiltInNameSearchData();
    const auto check = [&](std::size_t index) {
        const GivenNameView name = data.Name(index);
        return CheckYomi(name.written, name.yomi, data);
    };
    const std::size_t count = std::min<std::size_t>(3000, data.NameCount());
    std::vector<YomiCheck> plain;
    for (std::size_t i = 0; i < count; ++i) plain.push_back(check(i));
    const YomiPartsCache cache(data);
    for (std::size_t i = 0; i < count; ++i) {
        const YomiCheck cached = check(i);
        ASSERT_EQ(cached.kind, plain[i].kind) << Utf8(std::string(data.Name(i).written));
        ASSERT_EQ(cached.parts, plain[i].parts) << Utf8(std::string(data.Name(i).written));
        ASSERT_DOUBLE_EQ(cached.likeness, plain[i].likeness);
    }
}

TEST(NameLikeness, LeansBySeveralTimesMoreNamesOfOneGender) {
    EXPECT_EQ(LeanOf(10, 4, {}), GenderLean::Girls);
    EXPECT_EQ(LeanOf(9, 4, {}), GenderLean::Neither);
    EXPECT_EQ(LeanOf(0, 2, {}), GenderLean::Boys);
    EXPECT_EQ(LeanOf(0, 1, {}), GenderLean::Neither);
}

// With four girls' names to a boy's in all, 10 to 4 is no lean, and 6 to 4
// leans to boys: each side is weighed against its own total.
TEST(NameLikeness, LeansByEachGendersShareOfItsNames) {
    const GenderBalance balance{4000, 1000};
    EXPECT_EQ(LeanOf(10, 4, balance), GenderLean::Neither);
    EXPECT_EQ(LeanOf(40, 4, balance), GenderLean::Girls);
    EXPECT_EQ(LeanOf(6, 4, balance), GenderLean::Boys);
    EXPECT_EQ(LeanOf(0, 1, balance), GenderLean::Boys);
}

}  // namespace
}  // namespace soten

namespace soten {
namespace {

// Names parents gave in recent years, from the yearly rankings of newborn
// children's names (Meiji Yasuda Life's 生まれ年別名前調査 and Benesse's
// たまひよ 赤ちゃんの名前ランキング). Each, in the all-kanji space sorted by
// name-likeness, is among the first 20 spellings of its yomi and length.
// The second list is held out: those names stood in the same rankings but
// are left out of data/recent-names.txt on purpose, so they rank first only
// if the counts made from the other names generalise.
TEST(NameLikeness, RecentPopularNamesComeFirstAmongTheirSpellings) {
    using Names = std::vector<std::pair<const char*, const char*>>;
    const Names listed = {
        {"陽翔", "はると"}, {"陽葵", "ひまり"}, {"湊", "みなと"},  {"蒼", "あおい"},
        {"凪", "なぎ"},     {"紬", "つむぎ"},   {"碧", "あお"},    {"暖", "だん"},
        {"律", "りつ"},     {"凛", "りん"},     {"蓮", "れん"},    {"悠", "ゆう"},
        {"葵", "あおい"},   {"陽菜", "ひな"},   {"花", "はな"},    {"心愛", "ここあ"},
        {"結衣", "ゆい"},   {"湊斗", "みなと"}, {"新", "あらた"},  {"結菜", "ゆいな"},
        {"芽依", "めい"},   {"澪", "みお"},     {"颯真", "そうま"}};
    const Names heldOut = {{"悠真", "ゆうま"}, {"朝陽", "あさひ"}, {"樹", "いつき"},
                           {"陽太", "ようた"}, {"咲良", "さくら"}, {"莉子", "りこ"},
                           {"詩", "うた"}};
    for (const Names* names : {&listed, &heldOut}) {
        for (const auto& [written, yomi] : *names) {
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
}

// Names of the same rankings, for a boy or for a girl: each is listed in the
// all-kanji space when its own gender is asked for. Weighed by the raw
// counts, 晴登 and 陽登 leaned to girls (登 と is common in old girls' names
// such as 美登里) and were left out for a boy.
TEST(NameLikeness, RecentNamesAreListedForTheirOwnGender) {
    struct Case {
        const char* written;
        const char* yomi;
        GenderFilter gender;
    };
    const auto m = GenderFilter::Male;
    const auto f = GenderFilter::Female;
    for (const Case& c :
         {Case{"陽翔", "はると", m}, Case{"晴登", "はると", m}, Case{"陽登", "はると", m},
          Case{"悠斗", "ゆうと", m}, Case{"颯真", "そうま", m}, Case{"陽太", "ようた", m},
          Case{"陽葵", "ひまり", f}, Case{"結衣", "ゆい", f}, Case{"心愛", "ここあ", f},
          Case{"莉子", "りこ", f}}) {
        SCOPED_TRACE(c.written);
        NameSearchFilters filters;
        filters.surname = Sjis("佐藤");
        filters.space = SearchSpace::All;
        filters.gender = c.gender;
        filters.yomi.exact = Sjis(c.yomi);
        filters.chars = static_cast<int>(Sjis(c.written).size() / 2);
        filters.limit = 10000;
        const auto result = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
        ASSERT_TRUE(result.problem.empty()) << Utf8(result.problem);
        EXPECT_TRUE(
            std::any_of(result.candidates.begin(), result.candidates.end(),
                        [&](const NameCandidate& n) { return n.given == Sjis(c.written); }));
    }
}

// The default listing of the all-kanji space reads each kanji only as real
// names read it, holds no kanji naming guides advise against, and never
// lists a compatibility look-alike beside its unified kanji.
TEST(NameLikeness, AllSpaceListsOnlyPartsRealNamesUse) {
    const NameSearchData& data = BuiltInNameSearchData();
    struct Case {
        const char* exact;
        const char* prefix;
    };
    for (const Case& yomi :
         {Case{"はると", ""}, Case{"ゆい", ""}, Case{"ひまり", ""}, Case{"", "ひ"}}) {
        SCOPED_TRACE(std::string(yomi.exact) + yomi.prefix);
        NameSearchFilters filters;
        filters.surname = Sjis("佐藤");
        filters.space = SearchSpace::All;
        filters.yomi.exact = Sjis(yomi.exact);
        filters.yomi.prefix = Sjis(yomi.prefix);
        filters.limit = 20;
        const auto result = SearchNames(filters, BuiltInTables(), data);
        ASSERT_EQ(result.candidates.size(), 20u);
        for (const NameCandidate& c : result.candidates) {
            EXPECT_NE(c.yomiCheck.kind, YomiClass::Unverified) << Utf8(c.given);
            for (const auto& [kanji, kana] : c.yomiCheck.parts) {
                EXPECT_NE(data.Likeness().Find(*data.KanjiIndex(kanji), kana), nullptr)
                    << Utf8(c.given) << " " << Utf8(kana);
            }
            EXPECT_FALSE(BuiltInAvoidedKanji().Holds(c.given)) << Utf8(c.given);
            EXPECT_EQ(c.given.find(Sjis("\uFA16")), std::string::npos);  // 猪's look-alike
        }
    }
}

}  // namespace
}  // namespace soten
