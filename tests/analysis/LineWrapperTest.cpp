#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Paragraphs of (lead, text), in code page 932.
ReadingLines Wrapped(const std::vector<std::pair<std::string, std::string>>& paragraphs) {
    std::vector<ReadingParagraph> pieces;
    for (const auto& [lead, text] : paragraphs) pieces.push_back({lead, text});
    return WrapReading(pieces);
}

TEST(WrapReading, FullScreenLineTakesAHangingFullStopButNothingElse) {
    ReadingLines lines = Wrapped({{"", Repeat("あ", 26) + Sjis("。い")}});
    EXPECT_EQ(lines.ScreenLines[0], Repeat("あ", 26) + Sjis("。"));
    EXPECT_EQ(lines.ScreenLines[1], Sjis("い"));
    EXPECT_EQ(lines.lastScreenLine, 1);

    lines = Wrapped({{"", Repeat("あ", 26) + Sjis("い")}});
    EXPECT_EQ(lines.ScreenLines[0].size(), 52u);
    EXPECT_EQ(lines.ScreenLines[1], Sjis("い"));
}

TEST(WrapReading, OnlyOneMarkHangs) {
    const ReadingLines lines = Wrapped({{"", Repeat("あ", 35) + Sjis("，”")}});
    EXPECT_EQ(lines.PrintLines[0], Repeat("あ", 35) + Sjis("，"));
    EXPECT_EQ(lines.PrintLines[1], Sjis("”"));
    // On the screen the comma is just the 36th character: it stays on line 1.
    EXPECT_EQ(lines.ScreenLines[1], Repeat("あ", 9) + Sjis("，”"));
}

TEST(WrapReading, EachParagraphButTheLastEndsOneLineOn) {
    const ReadingLines lines =
        Wrapped({{"", Repeat("あ", 26)}, {Sjis("い"), Sjis("う")}, {Sjis("え"), ""}});
    EXPECT_EQ(lines.ScreenLines[1], Sjis("いう")) << "no empty line after a full one";
    EXPECT_EQ(lines.ScreenLines[2], Sjis("え"));
    EXPECT_EQ(lines.lastScreenLine, 2);
}

TEST(WrapReading, TheLeadAndTheTextShareALine) {
    const ReadingLines lines = Wrapped({{Sjis("あいう"), Sjis("えお")}});
    EXPECT_EQ(lines.ScreenLines[0], Sjis("あいうえお"));
    EXPECT_EQ(lines.PrintLines[0], Sjis("あいうえお"));
    EXPECT_TRUE(lines.ScreenLines[1].empty());
}

TEST(WrapReading, NeverWritesPastLineThirty) {
    const ReadingLines lines = Wrapped({{"", Repeat("あ", 26 * 40)}, {Sjis("い"), ""}});
    EXPECT_EQ(lines.lastScreenLine, 30);
    for (const auto& line : lines.ScreenLines) EXPECT_EQ(line.size(), 52u);
    EXPECT_LE(lines.lastPrintLine, 30);
}

TEST(WrapReading, IgnoresATrailingOddByte) {
    EXPECT_EQ(Wrapped({{"", Sjis("あ") + "a"}}).ScreenLines[0], Sjis("あ"));
}

}  // namespace
}  // namespace soten
