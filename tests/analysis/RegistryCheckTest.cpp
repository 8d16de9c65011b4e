#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "analysis/naming/NameSearchData.h"
#include "analysis/naming/RegistryCheck.h"
#include "analysis/shortlist/NameComparison.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;

// The characters decide first; a yomi the check cannot align only then.
TEST(RegistryCheck, CharactersThenTheYomiDecideTheVerdict) {
    const struct {
        bool allowed;
        std::optional<YomiClass> yomi;
        const char* label;
        const char* key;
    } cases[] = {
        {true, YomiClass::Standard, "可", "ok"},
        {true, YomiClass::Partial, "可", "ok"},
        {true, YomiClass::Customary, "可", "ok"},
        {true, std::nullopt, "可", "ok"},
        {true, YomiClass::Unverified, "読み要確認", "checkReading"},
        {false, YomiClass::Standard, "字×", "unregistrable"},
        {false, YomiClass::Unverified, "字×", "unregistrable"},
    };
    for (const auto& c : cases) {
        const RegistryVerdict verdict = JudgeRegistry(c.allowed, c.yomi);
        EXPECT_EQ(RegistryLabel(verdict), c.label) << c.key;
        EXPECT_EQ(RegistryKey(verdict), c.key);
    }
}

// A kept name's 戸籍 checks its reading too (katakana read as hiragana).
TEST(RegistryCheck, KeptNamesCheckTheirReading) {
    const struct {
        const char* given;
        const char* reading;
        const char* shown;
    } cases[] = {
        {"太郎", "たろう", "可"},         {"太郎", "タロウ", "可"}, {"太郎", "", "可"},
        {"太郎", "じろう", "読み要確認"}, {"嘘", "うそ", "字×"},
    };
    for (const auto& c : cases) {
        const ShortlistEntry entry{
            Sjis("山田"), Sjis(c.given), Sjis(c.reading), StrokeStyle::Shinji, {}};
        EXPECT_EQ(RegistryText(CompareName(entry, BuiltInTables())), c.shown)
            << c.given << " " << c.reading;
    }
}

// The quick check of a batch record agrees with the list of refused characters.
TEST(RegistryCheck, IsRegistrableAgreesWithTheRefusedCharacters) {
    for (const auto& [given, registrable] :
         {std::pair{"太郎", true}, std::pair{"ひまり", true}, std::pair{"カナー", true},
          std::pair{"々子", true}, std::pair{"", true}, std::pair{"躑躅", false},
          std::pair{"太郎a", false}, std::pair{"Ａ子", false}, std::pair{"一①", false}}) {
        EXPECT_EQ(IsRegistrable(Sjis(given)), registrable) << given;
        EXPECT_EQ(UnregistrableCharacters(Sjis(given)).empty(), registrable) << given;
    }
    EXPECT_FALSE(IsRegistrable("\x82"));  // a lead byte cut off
}

// The built-in list's quick table refuses, code by code, what the name
// data's kanji list refuses.
TEST(RegistryCheck, TheBuiltInTableRefusesWhatTheKanjiListRefuses) {
    const std::vector<std::string>& kanji = BuiltInNameSearchData().Kanji();
    for (unsigned code = 0x8140; code <= 0xFCFC; ++code) {
        const std::string character = {static_cast<char>(code >> 8), static_cast<char>(code)};
        ASSERT_EQ(UnregistrableCharacters(character), UnregistrableCharacters(character, kanji))
            << std::hex << code;
    }
}

}  // namespace
}  // namespace soten
