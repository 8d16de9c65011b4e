#include <gtest/gtest.h>

#include "analysis/reading/LineWrapper.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;

std::string Repeat(const char* utf8Character, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += Sjis(utf8Character);
    return text;
}

class Wrapper : public ::testing::Test {
protected:
    void SetUp() override { ResetLines(record, lines); }
    void Wrap(const std::string& cp932, bool paragraphEnd) {
        record.ReadingText = cp932;
        record.ParagraphEnd = paragraphEnd ? 1 : 0;
        WrapReading(record, lines);
    }
    NameRecord record;
    ReadingLines lines;
};

TEST_F(Wrapper, FullScreenLineTakesAHangingFullStopButNothingElse) {
    Wrap(Repeat("あ", 26) + Sjis("。い"), false);
    EXPECT_EQ(lines.ScreenLines[0], Repeat("あ", 26) + Sjis("。"));
    EXPECT_EQ(lines.ScreenLines[1], Sjis("い"));
    EXPECT_EQ(record.ScreenLineIndex, 1);

    ResetLines(record, lines);
    Wrap(Repeat("あ", 26) + Sjis("い"), false);
    EXPECT_EQ(lines.ScreenLines[0].size(), 52u);
    EXPECT_EQ(lines.ScreenLines[1], Sjis("い"));
}

TEST_F(Wrapper, OnlyOneMarkHangs) {
    Wrap(Repeat("あ", 35) + Sjis("，”"), false);
    EXPECT_EQ(lines.PrintLines[0], Repeat("あ", 35) + Sjis("，"));
    EXPECT_EQ(lines.PrintLines[1], Sjis("”"));
    // On the screen the comma is just the 36th character: it stays on line 1.
    EXPECT_EQ(lines.ScreenLines[1], Repeat("あ", 9) + Sjis("，”"));
}

TEST_F(Wrapper, ParagraphEndMovesOnExactlyOneLine) {
    Wrap(Repeat("あ", 26), true);
    EXPECT_EQ(record.ScreenLineIndex, 1);
    Wrap(Sjis("い"), false);
    EXPECT_EQ(lines.ScreenLines[1], Sjis("い")) << "no empty line after a full one";
    Wrap(Sjis("う"), true);
    Wrap(Sjis("え"), false);
    EXPECT_EQ(lines.ScreenLines[2], Sjis("え"));
    EXPECT_EQ(record.ScreenLineIndex, 2);
}

TEST_F(Wrapper, PiecesWithoutParagraphEndShareALine) {
    Wrap(Sjis("あいう"), false);
    Wrap(Sjis("えお"), false);
    EXPECT_EQ(lines.ScreenLines[0], Sjis("あいうえお"));
    EXPECT_EQ(lines.PrintLines[0], Sjis("あいうえお"));
}

TEST_F(Wrapper, NeverWritesPastLineThirty) {
    Wrap(Repeat("あ", 26 * 40), true);
    EXPECT_EQ(record.ScreenLineIndex, 30);
    for (const auto& line : lines.ScreenLines) EXPECT_EQ(line.size(), 52u);
    Wrap(Sjis("い"), false);
    EXPECT_EQ(lines.ScreenLines[30].size(), 52u);
    EXPECT_LE(record.PrintLineIndex, 30);
}

TEST_F(Wrapper, IgnoresATrailingOddByte) {
    Wrap(Sjis("あ") + "a", false);
    EXPECT_EQ(lines.ScreenLines[0], Sjis("あ"));
}

TEST_F(Wrapper, ResetEmptiesEveryLine) {
    Wrap(Repeat("あ", 26 * 5), true);
    ResetLines(record, lines);
    EXPECT_EQ(record.ScreenLineIndex, 0);
    EXPECT_EQ(record.PrintLineIndex, 0);
    for (const auto& line : lines.ScreenLines) EXPECT_TRUE(line.empty());
    for (const auto& line : lines.PrintLines) EXPECT_TRUE(line.empty());
}

}  // namespace
}  // namespace soten
