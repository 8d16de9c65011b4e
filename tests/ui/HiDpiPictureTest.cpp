// Pictures on a scaled screen: drawn at the device pixel ratio, so lines are
// as many device pixels thick as the ratio and text has detail finer than a
// logical pixel, while the layout stays in logical pixels.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "analysis/text/ShiftJis.h"
#include "tests/ui/EntrySteps.h"
#include "tests/ui/ModalDriver.h"
#include "tests/ui/PanesFixture.h"
#include "tests/ui/PixelSupport.h"
#include "ui/app/Art.h"
#include "ui/app/MainWindow.h"
#include "ui/reading/MainWindowPanes.h"
#include "ui/reading/NameEntryDialog.h"
#include "ui/reading/ReportHolder.h"
#include "ui/widgets/PaneImage.h"

namespace {

using soten::ui::PaneImage;

const QRgb Green = qRgb(0, 0x80, 0);

// Aligned 2 × 2 blocks whose four pixels are not all alike: a picture
// enlarged from one logical pixel per device pixel has none.
int MixedBlocks(const QImage& image) {
    int mixed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2) {
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                image.pixel(x + 1, y + 1) != p) {
                ++mixed;
            }
        }
    }
    return mixed;
}

class HiDpiPanesTest : public soten::test::PanesFixture {};

TEST_F(HiDpiPanesTest, AtRatioTwoLinesAreTwoDevicePixelsThickAndEndWhereTheyEnd) {
    Read("山田", "太郎");
    namePane.MatchPixelRatio(2);
    const QImage& picture = namePane.Picture();
    ASSERT_EQ(picture.size(), QSize(362, 602));
    ASSERT_EQ(picture.devicePixelRatio(), 2);
    // The 総運 rule (52, 250) → (133, 250): device rows 500 and 501 from x 104
    // up to, not including, 266.
    for (int x = 104; x < 266; ++x) {
        ASSERT_EQ(picture.pixel(x, 500), Green) << x;
        ASSERT_EQ(picture.pixel(x, 501), Green) << x;
        ASSERT_NE(picture.pixel(x, 499), Green) << x;
        ASSERT_NE(picture.pixel(x, 502), Green) << x;
    }
    EXPECT_NE(picture.pixel(103, 500), Green);
    EXPECT_NE(picture.pixel(266, 500), Green);
    // The vertical of 天運's bracket, (122, 26) → (122, 90): device columns
    // 244 and 245.
    for (int y = 54; y < 180; ++y) {
        ASSERT_EQ(picture.pixel(244, y), Green) << y;
        ASSERT_EQ(picture.pixel(245, y), Green) << y;
        ASSERT_NE(picture.pixel(243, y), Green) << y;
        ASSERT_NE(picture.pixel(246, y), Green) << y;
    }
}

TEST_F(HiDpiPanesTest, AtRatioTwoTextIsDrawnFinerThanAnEnlargement) {
    Read("山田", "太郎");
    const QImage single = readingPane.Picture().copy();
    readingPane.MatchPixelRatio(2);
    const QImage& twice = readingPane.Picture();
    ASSERT_EQ(twice.size(), QSize(890, 938));
    const QImage enlarged =
        single.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    EXPECT_EQ(MixedBlocks(enlarged), 0);
    // Strokes of the mincho face one device pixel wide, all over the text.
    EXPECT_GT(MixedBlocks(twice), 2000);
    // The text stands where it stands at 1×: the ink of the first and last
    // lines starts in their cells at y 11 and y 443.
    const QRect first = soten::test::InkBounds(twice, QRect(0, 0, 888, 2 * (11 + 16)));
    const QRect last = soten::test::InkBounds(twice, QRect(0, 2 * 443, 888, 2 * 16));
    EXPECT_GE(first.top(), 22);
    EXPECT_GE(last.top(), 886);
    EXPECT_GE(first.left(), 30);
}

TEST_F(HiDpiPanesTest, BackAtRatioOneThePicturesArePixelIdentical) {
    Read("山田", "太郎");
    const QImage pictures[] = {namePane.Picture().copy(), fortunePane.Picture().copy(),
                               readingPane.Picture().copy()};
    PaneImage* panesShown[] = {&namePane, &fortunePane, &readingPane};
    for (int i = 0; i < 3; ++i) {
        panesShown[i]->MatchPixelRatio(2);
        ASSERT_EQ(panesShown[i]->Picture().devicePixelRatio(), 2);
        panesShown[i]->MatchPixelRatio(1);
        QString first;
        EXPECT_EQ(soten::test::CountDifferences(panesShown[i]->Picture(), pictures[i], &first), 0)
            << i << " " << first.toStdString();
    }
}

TEST(HiDpiArtTest, SplashIsRenderedAtTheRatioAskedFor) {
    const QPixmap single = soten::ui::SplashPicture(1);
    const QPixmap twice = soten::ui::SplashPicture(2);
    EXPECT_EQ(single.size(), QSize(512, 341));
    EXPECT_EQ(twice.size(), QSize(1024, 682));
    EXPECT_EQ(twice.deviceIndependentSize(), QSizeF(512, 341));
    EXPECT_GT(MixedBlocks(twice.toImage()), 1000);
}

TEST(HiDpiArtTest, ButtonGlyphsAreDrawnAtTheRatioAskedFor) {
    for (const QIcon& glyph : {soten::ui::NewGlyph(), soten::ui::PrintGlyph()}) {
        const QImage normal = glyph.pixmap(QSize(16, 16), 2.0).toImage();
        EXPECT_EQ(normal.size(), QSize(32, 32));
        EXPECT_EQ(normal.devicePixelRatio(), 2);
        // Drawn for the ratio, not a 16-pixel picture stretched.
        EXPECT_EQ(glyph.pixmap(QSize(16, 16), 1.5).size(), QSize(24, 24));
        // Greyed: grey lines with a white highlight, nothing else.
        const QImage disabled = glyph.pixmap(QSize(16, 16), 2.0, QIcon::Disabled).toImage();
        ASSERT_EQ(disabled.size(), QSize(32, 32));
        int grey = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb p = disabled.pixel(x, y);
                if (qAlpha(p) == 0) continue;
                EXPECT_TRUE(p == qRgb(128, 128, 128) || p == qRgb(255, 255, 255)) << x << "," << y;
                grey += p == qRgb(128, 128, 128);
            }
        }
        EXPECT_GT(grey, 0);
    }
}

// Run by CTest once more with QT_SCALE_FACTOR=2: the window's panes follow the
// ratio of the screen the window is on, whatever it is.
TEST(ScaledScreenTest, PanesAreDrawnAtTheWindowsRatio) {
    soten::ui::MainWindow mainWindow{soten::BuiltInTables()};
    soten::ui::NameEntryDialog entryDialog{&mainWindow};
    mainWindow.splashTimer->stop();
    mainWindow.SetEntryDialog(&entryDialog);
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    soten::test::ModalDriver driver;
    driver.Then(soten::test::EnterNames(QStringLiteral("山田"), QStringLiteral("太郎")));
    mainWindow.newAction->trigger();
    ASSERT_TRUE(driver.Done());
    const qreal ratio = mainWindow.devicePixelRatioF();
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
        ASSERT_EQ(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
    }
    for (PaneImage* pane : {mainWindow.namePane, mainWindow.fortunePane,
                            static_cast<PaneImage*>(mainWindow.readingPane)}) {
        EXPECT_EQ(pane->Picture().devicePixelRatio(), ratio) << pane->objectName().toStdString();
        EXPECT_EQ(pane->Picture().size(), (QSizeF(pane->size()) * ratio).toSize());
    }
    // On screen: the 総運 rule is `ratio` device pixels thick.
    const QImage window = mainWindow.clientArea->grab().toImage();
    ASSERT_EQ(window.devicePixelRatio(), ratio);
    const int x = qRound((9 + 60) * ratio);
    int thickness = 0;
    for (int y = qRound((9 + 245) * ratio); y < qRound((9 + 255) * ratio); ++y) {
        thickness += window.pixel(x, y) == Green;
    }
    EXPECT_EQ(thickness, qRound(ratio));
}

}  // namespace
