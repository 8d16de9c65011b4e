#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdio>
#include <sstream>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Report.h"
#include "analysis/text/PaddedNumber.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::FixtureReadingRow;
using test::FixtureTables;
using test::Sjis;
using test::Utf8;

std::vector<std::string> ReportLines(const std::string& report) {
    EXPECT_EQ(report.substr(report.size() - 2), "\r\n") << "the report must end with CR LF";
    return test::ReportLines(report);
}

using test::ReadingOf;

TEST(NumberWord, WritesOneDigitFullWidthAndPadsTheRest) {
    EXPECT_EQ(NumberWord(1), Sjis("１"));
    EXPECT_EQ(NumberWord(9), Sjis("９"));
    EXPECT_EQ(NumberWord(10), "10");
    EXPECT_EQ(NumberWord(99), "99");
    EXPECT_EQ(NumberWord(100), " 100");
    EXPECT_EQ(NumberWord(123), " 123");
}

TEST(ComposeReport, WorkedExampleByteForByte) {
    const Reading state = ReadingOf("山田", "太郎");
    const std::string expected =
        Sjis(
            "山　田　太　郎\r\n"
            " 3　 5　 4　 9\r\n"
            "\r\n"
            "総運＝21：大成数\r\n"
            "天運＝ 8：積極数\r\n"
            "人運＝ 9：多難数\r\n"
            "地運＝13：俊英数\r\n"
            "外運＝12：薄弱数\r\n"
            "\r\n"
            "　まず，山田太郎さんの生涯の総合的な運勢ですが，あなたの総運は21です。") +
        Sjis(FixtureReadingRow(20)) + "\r\n" +
        Sjis("　つぎに，人運によって性格について判断します。人運が９の人は，") +
        Sjis(FixtureReadingRow(89)) + "\r\n" +
        Sjis("　また，地運の13から恋愛運に関して判断を加えますと，あなたは，") +
        Sjis(FixtureReadingRow(93)) + "\r\n" +
        Sjis("　最後に，外運による職業運についてですが，外運が12の人は，") +
        Sjis(FixtureReadingRow(102)) + "\r\n";
    EXPECT_EQ(Utf8(state.Report()), Utf8(expected));
    EXPECT_EQ(state.Report(), expected);
    EXPECT_EQ(ReportLines(state.Report()).size(), 13u);
}

TEST(ComposeReport, OneCharacterPartsAndLongVowelMark) {
    const Reading state = ReadingOf("林", "一");
    const auto lines = ReportLines(state.Report());
    EXPECT_EQ(Utf8(lines[0]), "林　一");
    EXPECT_EQ(Utf8(lines[1]), " 8　 1");

    const Reading withMark = ReadingOf("山ー", "子");
    EXPECT_EQ(Utf8(ReportLines(withMark.Report())[0]), "山　ー　子");
}

TEST(ComposeReport, ThreeDigitNumbersWidenTheListAndTheSentence) {
    // 驫 counts 30: ten of them make a Total of 300 + 2.
    const Reading state = ReadingOf("驫驫驫驫驫驫驫驫驫驫", "子子");
    const auto lines = ReportLines(state.Report());
    // 306 reads the keyword of 66 (row 305 mod 80).
    EXPECT_EQ(Utf8(lines[3]), "総運＝306：苦難数");
    EXPECT_NE(Utf8(lines[9]).find("あなたの総運は 306です。"), std::string::npos);
}

// The wrapper's first lines of each paragraph depend only on the fixed
// sentences, so they are the same with any reading texts.
TEST(ComposeReport, FirstLinesOfTheParagraphsWrapAsDesigned) {
    const Reading state = ReadingOf("山田", "太郎");
    const auto& screen = state.Lines().ScreenLines;
    const auto& print = state.Lines().PrintLines;
    EXPECT_EQ(Utf8(screen[0]), "　まず，山田太郎さんの生涯の総合的な運勢ですが，あな");
    EXPECT_EQ(Utf8(screen[1]).rfind("たの総運は21です。これは，", 0), 0u);
    EXPECT_EQ(Utf8(print[0]),
              "　まず，山田太郎さんの生涯の総合的な運勢ですが，あなたの総運は21です。");
    EXPECT_EQ(Utf8(print[1]).rfind("これは，第２０行", 0), 0u);

    std::vector<std::string> screenUtf8;
    for (int i = 0; i <= state.Lines().lastScreenLine; ++i) screenUtf8.push_back(Utf8(screen[i]));
    auto lineStarting = [&](const std::string& prefix) {
        for (std::size_t i = 0; i < screenUtf8.size(); ++i) {
            if (screenUtf8[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
        }
        return -1;
    };
    const int personality = lineStarting("　つぎに，");
    ASSERT_GE(personality, 0);
    EXPECT_EQ(screenUtf8[personality], "　つぎに，人運によって性格について判断します。人運が");
    EXPECT_EQ(screenUtf8[personality + 1].rfind("９の人は，", 0), 0u);

    const int love = lineStarting("　また，");
    ASSERT_GE(love, 0);
    EXPECT_EQ(screenUtf8[love], "　また，地運の13から恋愛運に関して判断を加えますと，");
    EXPECT_EQ(screenUtf8[love + 1].rfind("あなたは，", 0), 0u);

    const int career = lineStarting("　最後に，");
    ASSERT_GE(career, 0);
    EXPECT_EQ(screenUtf8[career], "　最後に，外運による職業運についてですが，外運が12の");
    EXPECT_EQ(screenUtf8[career + 1].rfind("人は，", 0), 0u);

    EXPECT_FALSE(screen[static_cast<std::size_t>(state.Lines().lastScreenLine)].empty());
    EXPECT_TRUE(screen[static_cast<std::size_t>(state.Lines().lastScreenLine) + 1].empty());
    EXPECT_FALSE(print[static_cast<std::size_t>(state.Lines().lastPrintLine)].empty());
}

TEST(ComposeReport, EarthOf123HangsTheCommaOnTheLoveLine) {
    NameRecord record;
    record.Names[Surname] = Sjis("山田");
    record.Names[GivenName] = Sjis("太郎");
    record.Lengths[Surname] = 2;
    record.Lengths[GivenName] = 2;
    record.Fortunes = {8, 9, 123, 12, 21};
    const ReadingText text = ComposeReadingText(record, FixtureTables());
    const ReadingLines lines = WrapReading(text.Paragraphs());
    bool found = false;
    for (const auto& line : lines.ScreenLines) {
        if (Utf8(line).rfind("　また，", 0) == 0) {
            EXPECT_EQ(Utf8(line), "　また，地運の 123から恋愛運に関して判断を加えますと，");
            EXPECT_EQ(line.size(), 54u);
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace soten

namespace soten {
namespace {

// The report's figures are written without printf; they must read as
// printf's "%Nd" writes them, padding and signs included, never cut.
TEST(PaddedNumber, WritesWhatPrintfWrites) {
    for (const int width : {0, 1, 2, 3, 4}) {
        for (const int number : {0, 1, 9, 10, 99, 100, 9999, 12345, -1, -42, INT32_MIN}) {
            std::array<char, 32> expected{};
            std::snprintf(expected.data(), expected.size(), "%*d", width, number);
            EXPECT_EQ(PaddedNumber(number, width), expected.data()) << width << " " << number;
        }
    }
}

}  // namespace
}  // namespace soten
