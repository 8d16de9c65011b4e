#include <gtest/gtest.h>

#include "analysis/naming/NameLikeness.h"
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
