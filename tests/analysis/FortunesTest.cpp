#include <gtest/gtest.h>

#include <vector>

#include "analysis/reading/Fortunes.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::FixtureTables;
using test::Sjis;
using test::Utf8;

NameRecord WithStrokes(const std::vector<int>& surname, const std::vector<int>& given) {
    NameRecord record;
    record.Lengths[Surname] = static_cast<int>(surname.size());
    record.Lengths[GivenName] = static_cast<int>(given.size());
    for (std::size_t k = 0; k < surname.size(); ++k) record.Strokes[Surname][k + 1] = surname[k];
    for (std::size_t k = 0; k < given.size(); ++k) record.Strokes[GivenName][k + 1] = given[k];
    return record;
}

struct FortuneCase {
    std::vector<int> surname;
    std::vector<int> given;
    int heaven, person, earth, outer, total;
    int surnameSpirit, givenSpirit;
};

class FortuneCases : public ::testing::TestWithParam<FortuneCase> {};

TEST_P(FortuneCases, DerivesTheFiveNumbers) {
    const FortuneCase& c = GetParam();
    NameRecord record = WithStrokes(c.surname, c.given);
    ComputeFortunes(record);
    EXPECT_EQ(record.Fortunes[Heaven], c.heaven);
    EXPECT_EQ(record.Fortunes[Person], c.person);
    EXPECT_EQ(record.Fortunes[Earth], c.earth);
    EXPECT_EQ(record.Fortunes[Outer], c.outer);
    EXPECT_EQ(record.Fortunes[Total], c.total);
    EXPECT_EQ(record.SpiritOne[Surname], c.surnameSpirit);
    EXPECT_EQ(record.SpiritOne[GivenName], c.givenSpirit);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FortuneCases,
    ::testing::Values(
        // 山田 太郎
        FortuneCase{{3, 5}, {4, 9}, 8, 9, 13, 12, 21, 0, 0},
        // One character each: both spirit ones, Outer always 2.
        FortuneCase{{8}, {1}, 9, 9, 2, 2, 9, 1, 1},
        FortuneCase{{25}, {30}, 26, 55, 31, 2, 55, 1, 1},
        // One-character surname, longer given name.
        FortuneCase{{8}, {4, 9, 3}, 9, 12, 16, 13, 24, 1, 0},
        // Person uses only the last surname and first given character.
        FortuneCase{{7, 3, 4}, {10, 2}, 14, 14, 12, 12, 26, 0, 0},
        FortuneCase{
            {30, 30, 30, 30, 30, 30}, {30, 30, 30, 30, 30, 30}, 180, 60, 180, 300, 360, 0, 0}));

TEST(LookupKeyword, ReadsGradeAndKeywordWithWrapAround) {
    struct Case {
        int number;
        int grade;
        const char* keyword;
    };
    for (const Case& c :
         {Case{1, 2, "幸福"}, Case{2, 4, "無力"}, Case{21, 2, "大成"}, Case{13, 1, "俊英"},
          Case{80, 4, "不幸"}, Case{81, 2, "幸福"}, Case{100, 4, "分裂"}, Case{105, 2, "天才"},
          Case{160, 4, "不幸"}, Case{161, 2, "幸福"}}) {
        const Keyword keyword = LookupKeyword(FixtureTables(), c.number);
        EXPECT_EQ(keyword.grade, c.grade) << c.number;
        EXPECT_EQ(Utf8(keyword.word), c.keyword) << c.number;
    }
}

TEST(FortuneLabels, ListTotalFirstThenHeavenPersonEarthOuter) {
    std::string listed;
    for (int position = 0; position < FortuneCount; ++position) {
        listed += Utf8(FortuneLabels()[ListedFortune(position)]);
    }
    EXPECT_EQ(listed, "総運天運人運地運外運");
    EXPECT_EQ(FortuneLabels()[Heaven], Sjis("天運"));
    // The line of each kind is the inverse of that order.
    const std::pair<FortuneKind, int> lines[] = {
        {Total, 0}, {Heaven, 1}, {Person, 2}, {Earth, 3}, {Outer, 4}};
    for (const auto& [kind, line] : lines) {
        EXPECT_EQ(ListingPosition(kind), line) << Utf8(FortuneLabels()[kind]);
        EXPECT_EQ(ListedFortune(line), kind) << line;
    }
}

TEST(GradeMark, IsTheSymbolAlone) {
    EXPECT_EQ(GradeMark(1), Sjis("◎"));
    EXPECT_EQ(GradeMark(2), Sjis("○"));
    EXPECT_EQ(GradeMark(3), Sjis("△"));
    EXPECT_EQ(GradeMark(4), Sjis("×"));
}

}  // namespace
}  // namespace soten
