#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/Reading.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

TEST(DetailedReading, ElementFollowsTheLastDigit) {
    const struct {
        int number;
        const char* element;
    } cases[] = {{1, "木"},  {2, "木"},  {3, "火"},   {4, "火"},  {5, "土"},  {6, "土"},
                 {7, "金"},  {8, "金"},  {9, "水"},   {10, "水"}, {11, "木"}, {20, "水"},
                 {34, "火"}, {81, "木"}, {100, "水"}, {167, "金"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8(ElementName(ElementOf(c.number))), c.element) << c.number;
    }
}

TEST(DetailedReading, RelationOfEveryPairOfElements) {
    // Rows and columns 木火土金水; 生 相生, 比 比和, 剋 相剋.
    const char* const table[5][5] = {{"比", "生", "剋", "剋", "生"},
                                     {"生", "比", "生", "剋", "剋"},
                                     {"剋", "生", "比", "生", "剋"},
                                     {"剋", "剋", "生", "比", "生"},
                                     {"生", "剋", "剋", "生", "比"}};
    for (int a = 0; a < 5; ++a) {
        for (int b = 0; b < 5; ++b) {
            const std::string name =
                Utf8(RelationName(RelationOf(static_cast<Element>(a), static_cast<Element>(b))));
            const std::string expected(table[a][b]);
            EXPECT_NE(name.find(expected), std::string::npos) << a << ' ' << b << ' ' << name;
        }
    }
}

TEST(DetailedReading, SansaiVerdictOfEveryPairOfRelations) {
    using R = ElementRelation;
    const struct {
        R upper, lower;
        const char* verdict;
    } cases[] = {{R::Generating, R::Generating, "大吉"}, {R::Generating, R::Same, "吉"},
                 {R::Same, R::Generating, "吉"},         {R::Same, R::Same, "吉"},
                 {R::Clashing, R::Generating, "凶"},     {R::Same, R::Clashing, "凶"},
                 {R::Generating, R::Clashing, "凶"},     {R::Clashing, R::Same, "凶"},
                 {R::Clashing, R::Clashing, "大凶"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8(VerdictName(JudgeSansai(c.upper, c.lower))), c.verdict)
            << Utf8(RelationName(c.upper)) << Utf8(RelationName(c.lower));
    }
}

// Marks as "o" (odd, 陽) and "e" (even, 陰), surname then given name.
TEST(DetailedReading, InyoVerdictOfHandWorkedPatterns) {
    const struct {
        const char* surname;
        const char* given;
        const char* pattern;
        const char* verdict;
        const char* shape;
    } cases[] = {
        {"o", "e", "○●", "吉", ""},
        {"o", "o", "○○", "凶", "全陽"},
        {"ee", "e", "●●●", "凶", "全陰"},
        {"oo", "ee", "○○●●", "凶", "分裂"},
        {"ee", "ooo", "●●○○○", "凶", "分裂"},
        {"e", "oo", "●○○", "吉", ""},    // a one-character surname is no split
        {"ooo", "e", "○○○●", "吉", ""},  // nor a one-character given name
        {"oe", "eo", "○●●○", "注意", "挟み"},
        {"o", "eeo", "○●●○", "注意", "挟み"},
        {"eo", "oooe", "●○○○○●", "注意", "挟み"},
        {"o", "eo", "○●○", "吉", ""},  // three characters are never 挟み
        {"oe", "oo", "○●○○", "吉", ""},
        {"oe", "ee", "○●●●", "吉", ""},
    };
    for (const auto& c : cases) {
        const auto mask = [](const char* marks) {
            std::uint16_t bits = 0;
            for (int i = 0; marks[i]; ++i) {
                if (marks[i] == 'o') bits = static_cast<std::uint16_t>(bits | 1u << i);
            }
            return bits;
        };
        const InyoReading inyo =
            JudgeInyo(mask(c.surname), static_cast<int>(std::strlen(c.surname)), mask(c.given),
                      static_cast<int>(std::strlen(c.given)));
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(Utf8(InyoPattern(inyo)), c.pattern);
        EXPECT_EQ(Utf8(VerdictName(inyo.verdict)), c.verdict);
        EXPECT_EQ(Utf8(ShapeName(inyo.shape)), c.shape);
    }
}

// Whole readings, one name for every verdict; the numbers as the panes show them.
TEST(DetailedReading, ReadingsOfWorkedNames) {
    const struct {
        const char* surname;
        const char* given;
        StrokeStyle style;
        const char* elements;
        const char* relations;
        const char* sansai;
        const char* pattern;
        const char* inyo;
    } cases[] = {
        {"山田", "太郎", StrokeStyle::Shinji, "金水火", "相生相剋", "凶", "○○●○", "吉"},
        {"山田", "太郎", StrokeStyle::Honji, "金水金", "相生相生", "大吉", "○○●●", "凶"},
        {"山本", "大翔", StrokeStyle::Shinji, "金金土", "比和相生", "吉", "○○○●", "吉"},
        {"田中", "美咲", StrokeStyle::Shinji, "水火金", "相剋相剋", "大凶", "○●○○", "吉"},
        {"池田", "勇人", StrokeStyle::Shinji, "木火木", "相生相生", "大吉", "●○○●", "注意"},
        {"小川", "洋子", StrokeStyle::Shinji, "土木木", "相剋比和", "凶", "○○○○", "凶"},
        {"伊藤", "翔太", StrokeStyle::Shinji, "火水土", "相剋相剋", "大凶", "●●●●", "凶"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.surname) + c.given);
        const Reading reading = test::ReadingOf(c.surname, c.given, c.style, BuiltInTables());
        const NameRecord& record = reading.Counted();
        const SansaiReading sansai = ReadSansai(record);
        EXPECT_EQ(Utf8(ElementName(sansai.elements[0]) + ElementName(sansai.elements[1]) +
                       ElementName(sansai.elements[2])),
                  c.elements);
        EXPECT_EQ(Utf8(RelationName(sansai.relations[0]) + RelationName(sansai.relations[1])),
                  c.relations);
        EXPECT_EQ(Utf8(VerdictName(sansai.verdict)), c.sansai);
        const InyoReading inyo = ReadInyo(record);
        EXPECT_EQ(Utf8(InyoPattern(inyo)), c.pattern);
        EXPECT_EQ(Utf8(VerdictName(inyo.verdict)), c.inyo);
    }
}

// The detail names the style and the reading, and explains both results.
TEST(DetailedReading, DetailLinesOfYamadaTaro) {
    const Reading reading = test::ReadingOf("山田", "太郎", StrokeStyle::Shinji, BuiltInTables());
    std::string text;
    for (const std::string& line :
         DetailLines(reading.Counted(), StrokeStyle::Shinji, Sjis("たろう"), BuiltInTables())) {
        text += Utf8(line) + "\n";
    }
    for (const char* expected :
         {"山田 太郎（たろう・新字式）\n", "　郎　 9画　○陽\n", "配列　○○●○　判定　吉\n",
          "　天運　  8　金\n", "　天運→人運　金→水　相生\n", "　人運→地運　水→火　相剋\n",
          "　判定　凶\n", "相剋が一つあり", "　総運：21［○ 大成数］\n"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
}

}  // namespace
}  // namespace soten
