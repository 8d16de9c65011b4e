#pragma once

// Helpers of the pixel tests: blank panes, pixel sets by colour, the pixels a
// bracket of horizontal and vertical lines covers, and text drawn where a
// layout table says it stands.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <array>
#include <set>
#include <utility>
#include <vector>

#include "platform/drawing/CellFont.h"
#include "platform/drawing/CellText.h"
#include "platform/drawing/FontSubstitutes.h"

namespace soten::test {

using Pixel = std::pair<int, int>;  // x, y
using PixelSet = std::set<Pixel>;

inline QImage WhiteImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

inline PixelSet PixelsOf(const QImage& image, const QColor& color) {
    PixelSet pixels;
    const QRgb wanted = color.rgb();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == wanted) pixels.insert({x, y});
        }
    }
    return pixels;
}

// The pixels of horizontal and vertical segments a → b → c → ..., each one
// without its end point (and so the last point is never included).
inline PixelSet PolylinePixels(const std::vector<QPoint>& points) {
    PixelSet pixels;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const QPoint a = points[i];
        const QPoint b = points[i + 1];
        const int dx = (b.x() > a.x()) - (b.x() < a.x());
        const int dy = (b.y() > a.y()) - (b.y() < a.y());
        for (QPoint p = a; p != b; p += QPoint(dx, dy)) pixels.insert({p.x(), p.y()});
    }
    return pixels;
}

inline void Insert(PixelSet& into, const PixelSet& from) {
    into.insert(from.begin(), from.end());
}

// A text in one of the program's faces at a top-left position.
struct PlacedText {
    const char* face;
    int height;
    bool bold;
    QColor color;
    int x;
    int y;
    QString text;
};

inline void DrawPlacedText(QImage& image, const PlacedText& item,
                           platform::TextBackground background) {
    QPainter painter(&image);
    const QFont font = platform::CellFont(item.face, item.height, item.bold);
    painter.setFont(font);
    painter.setPen(item.color);
    platform::CellTextOut(painter, platform::CellMetrics(font), item.x, item.y, item.text,
                          background);
}

inline int CountDifferences(const QImage& a, const QImage& b, QString* first = nullptr) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                if (count == 0 && first) {
                    *first = QStringLiteral("(%1, %2): %3 vs %4")
                                 .arg(x)
                                 .arg(y)
                                 .arg(QColor(a.pixel(x, y)).name(), QColor(b.pixel(x, y)).name());
                }
                ++count;
            }
        }
    }
    return count;
}

// The bounding box of every pixel that is not white.
inline QRect InkBounds(const QImage& image, const QRect& within) {
    QRect bounds;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

}  // namespace soten::test
