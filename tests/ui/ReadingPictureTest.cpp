// The reading pane: screen lines 0 to n spread from y 11 to y 443.
#include <gtest/gtest.h>

#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"
#include "tests/ui/PixelSupport.h"
#include "ui/reading/ReadingPicture.h"

namespace {

using soten::ReadingLines;

ReadingLines NumberedLines(int count) {
    ReadingLines lines;
    for (int k = 0; k < count; ++k) {
        // Lines of different lengths, so one cannot stand in for another.
        std::string line;
        for (int i = 0; i <= k % 7; ++i) line += soten::Cp932Text("運勢");
        lines.ScreenLines[static_cast<std::size_t>(k)] = line;
    }
    return lines;
}

QImage Render(const ReadingLines& lines, int lastLine) {
    QImage image = soten::test::WhiteImage(445, 469);
    QPainter painter(&image);
    soten::ui::PaintReadingLines(painter, lines, lastLine);
    return image;
}

QImage Expected(const ReadingLines& lines, const std::vector<int>& ys) {
    QImage image = soten::test::WhiteImage(445, 469);
    for (std::size_t k = 0; k < ys.size(); ++k) {
        soten::test::DrawPlacedText(
            image,
            {soten::platform::MinchoFace, 16, false, Qt::black, 15, ys[k],
             QString::fromStdString(soten::Cp932::ToUtf8Lossy(lines.ScreenLines[k]))},
            soten::platform::TextBackground::Opaque);
    }
    return image;
}

struct SpreadCase {
    const char* name;
    int lastLine;
    std::vector<int> ys;
};

void PrintTo(const SpreadCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadingPictureTest : public ::testing::TestWithParam<SpreadCase> {};

TEST_P(ReadingPictureTest, LinesStandAtTheirSpreadPositions) {
    const SpreadCase& c = GetParam();
    // One line more than is drawn: it must not appear.
    const ReadingLines lines = NumberedLines(c.lastLine + 2);
    QString first;
    EXPECT_EQ(
        soten::test::CountDifferences(Render(lines, c.lastLine), Expected(lines, c.ys), &first), 0)
        << first.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ReadingPictureTest,
    ::testing::Values(
        // The worked example's 22 lines.
        SpreadCase{"TwentyTwoLines", 21, {11,  31,  52,  72,  93,  113, 134, 155, 175, 196, 216,
                                          237, 257, 278, 299, 319, 340, 360, 381, 401, 422, 443}},
        // 25 lines stand exactly 18 pixels apart.
        SpreadCase{
            "TwentyFiveLines", 24, {11,  29,  47,  65,  83,  101, 119, 137, 155, 173, 191, 209, 227,
                                    245, 263, 281, 299, 317, 335, 353, 371, 389, 407, 425, 443}},
        SpreadCase{"TwoLines", 1, {11, 443}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
