// The main routine drawing into the three panes: the clear rectangles, the
// pictures as drawn, and the report holder.
#include <gtest/gtest.h>

#include "analysis/text/ShiftJis.h"
#include "tests/ui/PanesFixture.h"
#include "tests/ui/PixelSupport.h"
#include "ui/reading/MainWindowPanes.h"
#include "ui/reading/NameColumnPicture.h"
#include "ui/reading/ReportHolder.h"
#include "ui/widgets/PaneImage.h"

namespace {

using soten::ui::PaneImage;

const QColor Magenta(0xFF, 0x00, 0xFF);

class MainWindowPanesTest : public soten::test::PanesFixture {};

TEST_F(MainWindowPanesTest, PanesHoldNoPictureBeforeTheFirstReading) {
    EXPECT_TRUE(namePane.Picture().isNull());
    EXPECT_TRUE(fortunePane.Picture().isNull());
    EXPECT_TRUE(readingPane.Picture().isNull());
}

TEST_F(MainWindowPanesTest, ClearingLeavesTheLastColumnAndRowOfEachPane) {
    const auto readOver = [&](const QColor& background) {
        for (PaneImage* pane : {&namePane, &fortunePane, &readingPane}) {
            pane->Draw([&](QPainter& painter) { painter.fillRect(0, 0, 1000, 1000, background); });
        }
        Read("山田", "太郎");
        return std::vector<QImage>{namePane.Picture().copy(), fortunePane.Picture().copy(),
                                   readingPane.Picture().copy()};
    };
    const std::vector<QImage> overWhite = readOver(Qt::white);
    const std::vector<QImage> overMagenta = readOver(Magenta);
    for (std::size_t i = 0; i < overWhite.size(); ++i) {
        const QImage& plain = overWhite[i];
        const QImage& picture = overMagenta[i];
        int keptOnTheEdge = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const bool edge = x == picture.width() - 1 || y == picture.height() - 1;
                const QColor color = picture.pixelColor(x, y);
                // Off the edge the old picture is gone; on it, what the reading
                // does not paint over is kept.
                if (edge && color == Magenta) {
                    ++keptOnTheEdge;
                } else {
                    ASSERT_EQ(color, plain.pixelColor(x, y)) << i << " " << x << "," << y;
                }
            }
        }
        EXPECT_GT(keptOnTheEdge, 0) << i;
    }
}

TEST_F(MainWindowPanesTest, NamePaneShowsTheNameColumnOfTheRecord) {
    Read("山田", "太郎");
    QImage expected = soten::test::WhiteImage(181, 301);
    {
        soten::NameRecord copy = reading->Counted();
        QPainter painter(&expected);
        soten::ui::PaintNameColumn(painter, copy);
    }
    EXPECT_EQ(soten::test::CountDifferences(namePane.Picture(), expected), 0);
}

TEST_F(MainWindowPanesTest, ReadingLinesRunFromY11ToY443) {
    Read("山田", "太郎");
    const int n = reading->Lines().lastScreenLine;
    ASSERT_GE(n, 1);
    const QImage& picture = readingPane.Picture();
    // The first line's ink starts within its cell at y 11, the last line's at y 443.
    const QRect first = soten::test::InkBounds(picture, QRect(0, 0, 444, 11 + 16));
    const QRect last = soten::test::InkBounds(picture, QRect(0, 443, 444, 16));
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(last.isNull());
    EXPECT_GE(first.top(), 11);
    EXPECT_GE(first.left(), 15);
    EXPECT_TRUE(soten::test::InkBounds(picture, QRect(0, 443 + 16, 444, 468 - 459)).isNull());
}

TEST_F(MainWindowPanesTest, ReportHolderTakesTheWholeReport) {
    Read("山田", "太郎");
    EXPECT_EQ(reportHolder.Text(), reading->Report());
    Read("林", "一");
    EXPECT_EQ(reportHolder.Text(), reading->Report());
    EXPECT_EQ(reportHolder.Text().find(soten::Cp932Text("山")), std::string::npos);
}

}  // namespace
