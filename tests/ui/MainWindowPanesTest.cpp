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
    EXPECT_TRUE(image1.Picture().isNull());
    EXPECT_TRUE(image2.Picture().isNull());
    EXPECT_TRUE(image3.Picture().isNull());
}

TEST_F(MainWindowPanesTest, ClearingLeavesTheLastColumnAndRowOfEachPane) {
    for (PaneImage* pane : {&image1, &image2, &image3}) {
        pane->Draw([](QPainter& painter) { painter.fillRect(0, 0, 1000, 1000, Magenta); });
    }
    panes.ClearResultPanes();
    for (PaneImage* pane : {&image1, &image2, &image3}) {
        const QImage& picture = pane->Picture();
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const bool edge = x == picture.width() - 1 || y == picture.height() - 1;
                ASSERT_EQ(picture.pixelColor(x, y) == Magenta, edge)
                    << pane->objectName().toStdString() << " " << x << "," << y;
            }
        }
    }
}

TEST_F(MainWindowPanesTest, NamePaneShowsTheNameColumnOfTheRecord) {
    Read("山田", "太郎");
    QImage expected = soten::test::WhiteImage(181, 301);
    {
        soten::NameRecord copy = state.record;
        QPainter painter(&expected);
        soten::ui::PaintNameColumn(painter, copy);
    }
    EXPECT_EQ(soten::test::CountDifferences(image1.Picture(), expected), 0);
}

TEST_F(MainWindowPanesTest, ReadingLinesRunFromY11ToY443) {
    Read("山田", "太郎");
    const int n = state.record.ScreenLineIndex;
    ASSERT_GE(n, 1);
    const QImage& picture = image3.Picture();
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
    EXPECT_EQ(memo1.Text(), state.record.ReportText);
    Read("林", "一");
    EXPECT_EQ(memo1.Text(), state.record.ReportText);
    EXPECT_EQ(memo1.Text().find(soten::Cp932Text("山")), std::string::npos);
}

}  // namespace
