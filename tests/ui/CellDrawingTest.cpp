// How the panes are drawn: lines without their end point, right/bottom-
// exclusive rectangles, text cells placed by their top-left corner, and
// whole-pixel character cells.
#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/drawing/PixelLines.h"
#include "tests/ui/PixelSupport.h"

namespace {

using soten::platform::CellFont;
using soten::platform::CellMetrics;
using soten::platform::CellTextOut;
using soten::platform::FillRect;
using soten::platform::PenPosition;
using soten::platform::TextBackground;
using soten::test::InkBounds;
using soten::test::PixelSet;
using soten::test::PixelsOf;
using soten::test::WhiteImage;

const QColor Pen(0, 128, 0);
const QColor NextPen(0, 0, 128);

struct LineCase {
    const char* name;
    QPoint from;
    QPoint to;
    PixelSet expected;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class LineToTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineToTest, PaintsFromTheStartUpToButNotIncludingTheEnd) {
    const LineCase& c = GetParam();
    QImage image = WhiteImage(12, 12);
    PenPosition pen;
    {
        QPainter painter(&image);
        painter.setPen(QPen(Pen, 1));
        pen.MoveTo(c.from);
        pen.LineTo(painter, c.to);
        // The next line starts at the end point: one step right paints it alone.
        painter.setPen(QPen(NextPen, 1));
        pen.LineTo(painter, c.to + QPoint(1, 0));
    }
    EXPECT_EQ(PixelsOf(image, Pen), c.expected);
    EXPECT_EQ(PixelsOf(image, NextPen), (PixelSet{{c.to.x(), c.to.y()}}));
}

INSTANTIATE_TEST_SUITE_P(
    Directions, LineToTest,
    ::testing::Values(LineCase{"Right", {2, 5}, {6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
                      LineCase{"Left", {6, 5}, {2, 5}, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
                      LineCase{"Down", {4, 1}, {4, 4}, {{4, 1}, {4, 2}, {4, 3}}},
                      LineCase{"Up", {4, 9}, {4, 6}, {{4, 9}, {4, 8}, {4, 7}}},
                      LineCase{"OnePixel", {3, 3}, {4, 3}, {{3, 3}}},
                      LineCase{"Nothing", {3, 3}, {3, 3}, {}},
                      LineCase{"Diagonal", {1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}}},
                      LineCase{"DiagonalBack", {8, 8}, {5, 5}, {{8, 8}, {7, 7}, {6, 6}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineToTest, BracketPaintsEachCornerOnceAndLeavesItsFarEndUnpainted) {
    QImage image = WhiteImage(20, 20);
    PenPosition pen;
    {
        QPainter painter(&image);
        painter.setPen(QPen(Pen, 1));
        pen.MoveTo({10, 2});
        pen.LineTo(painter, {14, 2});
        pen.LineTo(painter, {14, 8});
        pen.LineTo(painter, {9, 8});
    }
    const PixelSet expected = soten::test::PolylinePixels({{10, 2}, {14, 2}, {14, 8}, {9, 8}});
    EXPECT_EQ(PixelsOf(image, Pen), expected);
    EXPECT_EQ(expected.count({9, 8}), 0u);
    EXPECT_EQ(expected.count({14, 2}), 1u);
    EXPECT_EQ(expected.count({14, 8}), 1u);
}

TEST(FillRectTest, LeavesTheRightColumnAndBottomRowUnfilled) {
    QImage image = WhiteImage(8, 8);
    {
        QPainter painter(&image);
        FillRect(painter, 1, 2, 5, 4, Qt::black);
    }
    PixelSet expected;
    for (int y = 2; y < 4; ++y) {
        for (int x = 1; x < 5; ++x) expected.insert({x, y});
    }
    EXPECT_EQ(PixelsOf(image, Qt::black), expected);
}

struct FaceCase {
    const char* face;
    const char* resolvesTo;
};

void PrintTo(const FaceCase& c, std::ostream* os) {
    *os << c.face;
}

class FaceSubstituteTest : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FaceSubstituteTest, WindowsFaceResolvesToItsJapaneseSubstitute) {
    const QFont font = CellFont(GetParam().face, 16);
    EXPECT_EQ(QFontInfo(font).family(), QString::fromLatin1(GetParam().resolvesTo));
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceSubstituteTest,
                         ::testing::Values(FaceCase{soten::platform::GothicFace, "IPAGothic"},
                                           FaceCase{soten::platform::MinchoFace, "IPAMincho"},
                                           FaceCase{soten::platform::ProportionalGothicFace,
                                                    "IPAPGothic"},
                                           FaceCase{soten::platform::UiGothicFace, "IPAPGothic"}));

struct CellCase {
    const char* face;
    int height;
    int halfCell;
};

void PrintTo(const CellCase& c, std::ostream* os) {
    *os << c.face << ' ' << c.height;
}

class CellMetricsTest : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellMetricsTest, FullWidthIsExactlyTwoHalfWidthCells) {
    const CellMetrics cells(CellFont(GetParam().face, GetParam().height));
    const int half = GetParam().halfCell;
    EXPECT_EQ(cells.HalfCell(), half);
    EXPECT_EQ(cells.Width(u" "), half);
    EXPECT_EQ(cells.Width(u"　"), 2 * half);
    EXPECT_EQ(cells.Width(u"　　"), cells.Width(u"    "));
    EXPECT_EQ(cells.Width(u"12"), 2 * half);
    EXPECT_EQ(cells.Width(u"　　　　  "), 10 * half);
    EXPECT_EQ(cells.Width(u"：21［"), 6 * half);
    EXPECT_EQ(cells.Width(u":100［"), 6 * half);
    EXPECT_EQ(cells.Width(u"○ 大成数"), 9 * half);
    EXPECT_EQ(cells.CellHeight(), GetParam().height);
}

// Odd heights are where the IPA faces' own advances are fractional.
INSTANTIATE_TEST_SUITE_P(Heights, CellMetricsTest,
                         ::testing::Values(CellCase{soten::platform::GothicFace, 15, 8},
                                           CellCase{soten::platform::GothicFace, 16, 8},
                                           CellCase{soten::platform::GothicFace, 17, 9},
                                           CellCase{soten::platform::GothicFace, 19, 10},
                                           CellCase{soten::platform::MinchoFace, 16, 8}));

TEST(CellTextOutTest, TextHangsBelowItsTopLeftCorner) {
    QImage image = WhiteImage(60, 60);
    const QFont font = CellFont(soten::platform::GothicFace, 15);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        CellTextOut(painter, CellMetrics(font), 10, 20, QStringLiteral("山"),
                    TextBackground::Transparent);
    }
    const QRect ink = InkBounds(image, image.rect());
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.top(), 20);
    EXPECT_LT(ink.bottom(), 20 + 15);
    EXPECT_GE(ink.left(), 10);
    EXPECT_LT(ink.right(), 10 + 16);
}

TEST(CellTextOutTest, EachCharacterStartsOnAWholePixelCell) {
    // At 15 pixels a half-width cell is 8 pixels, not Qt's 7.5: the second
    // "1" is the first one moved right by exactly 8 pixels, and a digit after
    // a full-width space starts 16 pixels in.
    const QFont font = CellFont(soten::platform::GothicFace, 15);
    const CellMetrics cells(font);
    auto render = [&](const QString& text) {
        QImage image = WhiteImage(60, 20);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        CellTextOut(painter, cells, 0, 0, text, TextBackground::Transparent);
        return image;
    };
    const QImage one = render(QStringLiteral("1"));
    const QImage eleven = render(QStringLiteral("11"));
    const QImage afterSpace = render(QStringLiteral("　1"));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(eleven.pixel(x + 8, y), one.pixel(x, y)) << x << "," << y;
            EXPECT_EQ(afterSpace.pixel(x + 16, y), one.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST(CellTextOutTest, OpaqueTextStandsOnABoxOfItsAdvanceAndCellHeight) {
    const QColor grey(200, 200, 200);
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(grey);
    const QFont font = CellFont(soten::platform::GothicFace, 16);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        CellTextOut(painter, CellMetrics(font), 5, 7, QStringLiteral("a山"), TextBackground::Opaque,
                    Qt::white);
    }
    const QRect box(5, 7, 24, 16);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (box.contains(x, y)) {
                EXPECT_NE(pixel, grey) << x << "," << y;
            } else {
                EXPECT_EQ(pixel, grey) << x << "," << y;
            }
        }
    }
}

TEST(CellTextOutTest, TransparentTextKeepsTheBackground) {
    const QColor grey(200, 200, 200);
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(grey);
    const QFont font = CellFont(soten::platform::GothicFace, 16);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        CellTextOut(painter, CellMetrics(font), 5, 5, QStringLiteral("－"),
                    TextBackground::Transparent);
    }
    EXPECT_TRUE(PixelsOf(image, Qt::white).empty());
    EXPECT_FALSE(PixelsOf(image, Qt::black).empty());
}

TEST(TextOutTopLeftTest, PlacesTheCellTopAtTheGivenPoint) {
    QImage image = WhiteImage(60, 60);
    {
        QPainter painter(&image);
        painter.setFont(CellFont(soten::platform::MinchoFace, 16));
        painter.setPen(Qt::black);
        soten::platform::TextOutTopLeft(painter, QPointF(4, 30), QStringLiteral("田"));
    }
    const QRect ink = InkBounds(image, image.rect());
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.top(), 30);
    EXPECT_LE(ink.top(), 34);
    EXPECT_LT(ink.bottom(), 30 + 16);
}

}  // namespace
