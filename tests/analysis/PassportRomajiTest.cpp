#include "analysis/naming/PassportRomaji.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;

struct SpellingCase {
    const char* kana;  // UTF-8
    const char* romaji;
    std::vector<std::string> alternatives;
};

TEST(PassportRomajiTest, SpellsReadingsAsThePassportRulesDo) {
    const std::vector<SpellingCase> cases = {
        {"おおの", "ONO", {"OHNO", "OONO"}},
        {"しんいち", "SHINICHI", {}},
        {"じゅんぺい", "JUMPEI", {}},
        {"はっとり", "HATTORI", {}},
        {"きっちょう", "KITCHO", {"KITCHOH", "KITCHOU"}},
        {"ゆうと", "YUTO", {"YUUTO"}},
        {"けんいち", "KENICHI", {}},
        {"まりあ", "MARIA", {}},
        {"さとう", "SATO", {"SATOH", "SATOU"}},
        {"ちづる", "CHIZURU", {}},
        {"ふじ", "FUJI", {}},
        {"なんば", "NAMBA", {}},
        {"いっさ", "ISSA", {}},
        {"みつき", "MITSUKI", {}},
        {"りょうま", "RYOMA", {"RYOHMA", "RYOUMA"}},
        {"ジュリー", "JURI", {}},
    };
    for (const SpellingCase& c : cases) {
        const auto spelling = SpellForPassport(Sjis(c.kana));
        ASSERT_TRUE(spelling) << c.kana;
        EXPECT_EQ(spelling->romaji, c.romaji) << c.kana;
        EXPECT_EQ(spelling->alternatives, c.alternatives) << c.kana;
    }
}

TEST(PassportRomajiTest, RefusesWhatIsNotKana) {
    for (const char* text : {"", "太郎", "ゆa", "ーゆ"}) {
        EXPECT_FALSE(SpellForPassport(Sjis(text))) << text;
    }
}

TEST(PassportRomajiTest, PutsTheSurnameFirstAndTheGivenInitialFirst) {
    const PassportName name = PassportNameOf("YAMADA", "TARO");
    EXPECT_EQ(name.fullName, "YAMADA TARO");
    EXPECT_EQ(name.initials, "T.Y.");
    EXPECT_EQ(PassportNameOf("", "TARO").fullName, "");
}

}  // namespace
}  // namespace soten
