#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdio>
#include <sstream>
#include <vector>

#include "analysis/reading/HeadlessReading.h"
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

ProgramState Reading(const char* surname, const char* given,
                     StrokeStyle style = StrokeStyle::Shinji) {
    ProgramState state;
    state.strokeStyle = style;
    const auto refusal = ReadHeadless(state, FixtureTables(), {Sjis(surname), Sjis(given)});
    EXPECT_FALSE(refusal) << Utf8(refusal.value_or(""));
    return state;
}

TEST(NumberWord, WritesOneDigitFullWidthAndPadsTheRest) {
    EXPECT_EQ(NumberWord(1), Sjis("１"));
    EXPECT_EQ(NumberWord(9), Sjis("９"));
    EXPECT_EQ(NumberWord(10), "10");
    EXPECT_EQ(NumberWord(99), "99");
    EXPECT_EQ(NumberWord(100), " 100");
    EXPECT_EQ(NumberWord(123), " 123");
}

TEST(ComposeReport, WorkedExampleByteForByte) {
    const ProgramState state = Reading("山田", "太郎");
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
    EXPECT_EQ(Utf8(state.record.ReportText), Utf8(expected));
    EXPECT_EQ(state.record.ReportText, expected);
    EXPECT_EQ(ReportLines(state.record.ReportText).size(), 13u);
}

TEST(ComposeReport, OneCharacterPartsAndLongVowelMark) {
    const ProgramState state = Reading("林", "一");
    const auto lines = ReportLines(state.record.ReportText);
    EXPECT_EQ(Utf8(lines[0]), "林　一");
    EXPECT_EQ(Utf8(lines[1]), " 8　 1");

    const ProgramState withMark = Reading("山ー", "子");
    EXPECT_EQ(Utf8(ReportLines(withMark.record.ReportText)[0]), "山　ー　子");
}

TEST(ComposeReport, ThreeDigitNumbersWidenTheListAndTheSentence) {
    // 驫 counts 30: ten of them make a Total of 300 + 2.
    const ProgramState state = Reading("驫驫驫驫驫驫驫驫驫驫", "子子");
    const auto lines = ReportLines(state.record.ReportText);
    // 306 reads the keyword of 66 (row 305 mod 80).
    EXPECT_EQ(Utf8(lines[3]), "総運＝306：苦難数");
    EXPECT_NE(Utf8(lines[9]).find("あなたの総運は 306です。"), std::string::npos);
}

// The wrapper's first lines of each paragraph depend only on the fixed
// sentences, so they are the same with any reading texts.
TEST(ComposeReport, FirstLinesOfTheParagraphsWrapAsDesigned) {
    const ProgramState state = Reading("山田", "太郎");
    const auto& screen = state.lines.ScreenLines;
    const auto& print = state.lines.PrintLines;
    EXPECT_EQ(Utf8(screen[0]), "　まず，山田太郎さんの生涯の総合的な運勢ですが，あな");
    EXPECT_EQ(Utf8(screen[1]).rfind("たの総運は21です。これは，", 0), 0u);
    EXPECT_EQ(Utf8(print[0]),
              "　まず，山田太郎さんの生涯の総合的な運勢ですが，あなたの総運は21です。");
    EXPECT_EQ(Utf8(print[1]).rfind("これは，第２０行", 0), 0u);

    std::vector<std::string> screenUtf8;
    for (int i = 0; i <= state.record.ScreenLineIndex; ++i) screenUtf8.push_back(Utf8(screen[i]));
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

    EXPECT_FALSE(screen[static_cast<std::size_t>(state.record.ScreenLineIndex)].empty());
    EXPECT_TRUE(screen[static_cast<std::size_t>(state.record.ScreenLineIndex) + 1].empty());
    EXPECT_FALSE(print[static_cast<std::size_t>(state.record.PrintLineIndex)].empty());
}

TEST(ComposeReport, EarthOf123HangsTheCommaOnTheLoveLine) {
    NameRecord record;
    record.Names[Surname] = Sjis("山田");
    record.Names[GivenName] = Sjis("太郎");
    record.Lengths[Surname] = 2;
    record.Lengths[GivenName] = 2;
    record.Fortunes = {8, 9, 123, 12, 21};
    ReadingLines lines;
    ComposeReport(record, lines, FixtureTables());
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

TEST(ComposeReport, ASecondReadingLeavesNoTraceOfTheFirst) {
    ProgramState state = Reading("驫驫驫驫驫驫驫驫驫驫", "子子");
    const int firstLast = state.record.ScreenLineIndex;
    state.strokeStyle = StrokeStyle::Shinji;
    ASSERT_FALSE(ReadHeadless(state, FixtureTables(), {Sjis("林"), Sjis("一")}));
    EXPECT_EQ(ReportLines(state.record.ReportText).size(), 13u);
    EXPECT_EQ(Utf8(ReportLines(state.record.ReportText)[0]), "林　一");
    for (int i = state.record.ScreenLineIndex + 1; i <= std::max(firstLast, 30); ++i) {
        EXPECT_TRUE(state.lines.ScreenLines[static_cast<std::size_t>(i)].empty()) << i;
    }
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
