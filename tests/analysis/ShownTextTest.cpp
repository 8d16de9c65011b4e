// The texts the panes and the printed page share.
#include <gtest/gtest.h>

#include "analysis/reading/ShownText.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

TEST(FortuneValueText, TwoPlacesAfterAFullWidthColonBelowOneHundredThreeAfterAnAsciiOne) {
    const std::pair<int, const char*> cases[] = {{1, "： 1［"},  {8, "： 8［"},   {21, "：21［"},
                                                 {99, "：99［"}, {100, ":100［"}, {105, ":105［"}};
    for (const auto& [number, expected] : cases) {
        const std::string text = FortuneValueText(number);
        EXPECT_EQ(Utf8(text), expected) << number;
        // Four bytes before the bracket either way, so the brackets line up.
        EXPECT_EQ(text.size(), 6u) << number;
    }
}

TEST(ColumnCharacter, StandsOnlyTheLongVowelMarkUpright) {
    const std::pair<const char*, const char*> cases[] = {
        {"ー", "｜"}, {"山", "山"}, {"一", "一"}, {"｜", "｜"}, {"－", "－"}};
    for (const auto& [character, shown] : cases) {
        EXPECT_EQ(ColumnCharacter(Sjis(character)), Sjis(shown)) << character;
    }
}

}  // namespace
}  // namespace soten
