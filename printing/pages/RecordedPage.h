#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <memory>
#include <variant>
#include <vector>

class QPainter;
class QSvgRenderer;

namespace soten {

// The drawing surface of a printed page: a current font (face, size in points,
// colour), text placed by the top-left corner of its first character cell,
// pictures stretched into a rectangle and black lines, all in device dots.
//
// The page is kept as a list of what was drawn and reaches the printer only
// when the document ends. Qt's print engines cannot take back a page once
// painting on the printer has begun, so a page that fails half-way is simply
// dropped here and nothing half-printed ever leaves the program.
class RecordedPage {
public:
    struct Font {
        QString name;
        int size = 10;  // points
        QColor color = Qt::black;
        bool operator==(const Font&) const = default;
    };

    struct Text {
        QPoint topLeft;
        QString text;
        Font font;
    };

    struct Picture {
        QRect rect;
        std::shared_ptr<QSvgRenderer> picture;
    };

    struct Line {
        QPoint from;
        QPoint to;
        int width = 1;  // dots
    };

    using Item = std::variant<Text, Picture, Line>;

    Font& CurrentFont() { return font_; }
    const Font& CurrentFont() const { return font_; }

    void TextOut(int x, int y, const QString& text);
    // Stretches the picture to fill `rect` exactly, whatever its own aspect.
    // The right and bottom edges are the first dots outside: build it as
    // QRect(left, top, right - left, bottom - top).
    void StretchDraw(const QRect& rect, std::shared_ptr<QSvgRenderer> picture);
    // A black line of `width` dots. Its square ends reach half the width past
    // the points given, so lines that meet at a corner close it.
    void DrawLine(QPoint from, QPoint to, int width);

    // What has been drawn, in order.
    const std::vector<Item>& Items() const { return items_; }

    // Draws the page onto a painter that is open on the device.
    void Paint(QPainter& painter) const;

private:
    Font font_;
    std::vector<Item> items_;
};

}  // namespace soten
