#include <gtest/gtest.h>

#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/StrokeLookup.h"
#include "analysis/text/ShiftJis.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::FixtureTables;
using test::Sjis;

struct LookupCase {
    const char* surname;
    const char* given;
    StrokeStyle style;
    bool ok;
    std::vector<int> surnameStrokes;
    std::vector<int> givenStrokes;
};

NameRecord Names(const std::string& surname, const std::string& given) {
    NameRecord record;
    record.Names[Surname] = surname;
    record.Names[GivenName] = given;
    record.Lengths[Surname] = CountCharacters(surname);
    record.Lengths[GivenName] = CountCharacters(given);
    return record;
}

struct LookedUp {
    NameRecord record;
    bool ok;
};

LookedUp Lookup(const LookupCase& c) {
    NameRecord record = Names(Sjis(c.surname), Sjis(c.given));
    const bool ok = LookupStrokes(record, c.style, FixtureTables().dictionary);
    return {record, ok};
}

class LookupCases : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupCases, CountsEveryCharacterOrRefuses) {
    const LookupCase& c = GetParam();
    const auto [record, ok] = Lookup(c);
    EXPECT_EQ(ok, c.ok);
    if (!c.ok) return;
    for (std::size_t k = 0; k < c.surnameStrokes.size(); ++k) {
        EXPECT_EQ(record.Strokes[Surname][k + 1], c.surnameStrokes[k]) << "surname " << k + 1;
    }
    for (std::size_t k = 0; k < c.givenStrokes.size(); ++k) {
        EXPECT_EQ(record.Strokes[GivenName][k + 1], c.givenStrokes[k]) << "given " << k + 1;
    }
}

constexpr auto Shinji = StrokeStyle::Shinji;
constexpr auto Honji = StrokeStyle::Honji;

INSTANTIATE_TEST_SUITE_P(
    Names, LookupCases,
    ::testing::Values(LookupCase{"山田", "太郎", Shinji, true, {3, 5}, {4, 9}},
                      LookupCase{"山田", "太郎", Honji, true, {3, 5}, {4, 14}},
                      LookupCase{"渡辺", "花子", Shinji, true, {12, 5}, {7, 3}},
                      LookupCase{"渡辺", "花子", Honji, true, {13, 22}, {10, 3}},
                      LookupCase{"佐々木", "一", Shinji, true, {7, 3, 4}, {1}},
                      LookupCase{"佐々木", "一", Honji, true, {7, 7, 4}, {1}},
                      LookupCase{"林", "奈ゞ", Honji, true, {8}, {8, 10}},
                      // Marks chain in 本字式: each uses the derived count before it.
                      LookupCase{"林", "奈ゞゝヾ", Honji, true, {8}, {8, 10, 10, 12}},
                      LookupCase{"林", "奈ゞゝヾ", Shinji, true, {8}, {8, 3, 1, 3}},
                      // The first line that holds a character decides.
                      LookupCase{"﨩", "子", Shinji, true, {13}, {3}},
                      LookupCase{"﨩", "子", Honji, true, {18}, {3}},
                      LookupCase{"⑤", "子", Shinji, true, {5}, {3}},
                      LookupCase{"⑤", "子", Honji, false, {}, {}},
                      LookupCase{"佐", "々子", Shinji, false, {}, {}},
                      LookupCase{"佐", "々子", Honji, false, {}, {}},
                      LookupCase{"ゞ山", "子", Honji, false, {}, {}},
                      LookupCase{"山ー", "子", Honji, true, {3, 1}, {3}},
                      LookupCase{"山a", "子", Shinji, false, {}, {}},
                      LookupCase{"山 ", "子", Shinji, false, {}, {}},
                      LookupCase{"山", "子1", Shinji, false, {}, {}},
                      LookupCase{"山ｱ", "子", Shinji, false, {}, {}},
                      LookupCase{"ｱ山", "子", Shinji, false, {}, {}},
                      LookupCase{"山　", "子", Shinji, false, {}, {}},
                      LookupCase{"山、", "子", Shinji, false, {}, {}},
                      LookupCase{"山，", "子", Shinji, false, {}, {}},
                      LookupCase{"山\x1A", "子", Shinji, false, {}, {}},
                      LookupCase{"山\t", "子", Shinji, false, {}, {}}));

TEST(LookupStrokes, SkipsAnEmptyPart) {
    NameRecord record = Names("", Sjis("子"));
    EXPECT_TRUE(LookupStrokes(record, StrokeStyle::Shinji, FixtureTables().dictionary));
    EXPECT_EQ(record.Strokes[GivenName][1], 3);
}

TEST(LookupStrokes, FindsNecSelectedCodesLikeTheirIbmCodes) {
    // 﨩 (U+FA29) has the IBM code FBEA, which the dictionary holds, and the
    // NEC-selected code EECE, which some Windows software writes.
    const auto ibm = Sjis("﨩");
    ASSERT_EQ(ibm, "\xFB\xEA");
    const std::string nec = "\xEE\xCE";
    ASSERT_EQ(Cp932::CanonicalCode(UnitCode(nec)), UnitCode(ibm));
    const auto& dictionary = FixtureTables().dictionary;
    EXPECT_EQ(dictionary.Find(StrokeStyle::Shinji, nec), 13);
    EXPECT_EQ(dictionary.FindByScan(StrokeStyle::Shinji, nec), 13);

    NameRecord record = Names(nec, Sjis("子"));
    EXPECT_TRUE(LookupStrokes(record, StrokeStyle::Honji, dictionary));
    EXPECT_EQ(record.Strokes[Surname][1], 18);
}

// The index must answer exactly as walking the lines does, for every code a
// unit can have, in both styles and for both the fixture and the built-in data.
void ExpectIndexMatchesScan(const StrokeDictionary& dictionary) {
    int found = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        const char bytes[] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        const std::string_view unit(bytes, 2);
        for (const auto style : {StrokeStyle::Shinji, StrokeStyle::Honji}) {
            const int indexed = dictionary.Find(style, unit);
            ASSERT_EQ(indexed, dictionary.FindByScan(style, unit)) << std::hex << code;
            found += indexed > 0;
        }
    }
    EXPECT_GT(found, 0);
    EXPECT_EQ(dictionary.Find(StrokeStyle::Shinji, "\x8E"), 0);
    EXPECT_EQ(dictionary.Find(StrokeStyle::Shinji, ""), 0);
}

TEST(StrokeDictionary, IndexAnswersAsTheScanForFixture) {
    ExpectIndexMatchesScan(FixtureTables().dictionary);
}

TEST(StrokeDictionary, IndexAnswersAsTheScanForBuiltInData) {
    ExpectIndexMatchesScan(BuiltInTables().dictionary);
}

TEST(StrokeDictionary, RefusesMalformedLines) {
    std::vector<std::string> lines(60);
    EXPECT_NO_THROW(StrokeDictionary{lines});
    lines[3] =
        "\x8E\x52"
        "a";
    EXPECT_THROW(StrokeDictionary{lines}, std::invalid_argument);
    lines[3] = "ab";
    EXPECT_THROW(StrokeDictionary{lines}, std::invalid_argument);
    EXPECT_THROW(StrokeDictionary(std::vector<std::string>(59)), std::invalid_argument);
}

}  // namespace
}  // namespace soten
