#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QString>
#include <QStringView>

class QPainter;

namespace soten::platform {

// Draws `text` with its cell's top-left corner at `topLeft` (drawText's point
// is on the baseline), with the painter's font and pen, shifted down by the
// font's ascent on the painter's device (screen, image or printer alike).
void TextOutTopLeft(QPainter& painter, QPointF topLeft, const QString& text);

// The character cells of a fixed-pitch Japanese face: a half-width character
// takes one cell, a full-width character exactly two.
// Qt gives the IPA faces fractional half-width advances at odd pixel sizes
// (7.5 pixels at 15), which would let columns of text drift; here every cell
// is a whole number of pixels and a full-width space is exactly two
// half-width spaces.
class CellMetrics {
public:
    explicit CellMetrics(const QFont& font);

    int HalfCell() const { return halfCell_; }
    // The height of a line of text: the font's pixel size.
    int CellHeight() const { return cellHeight_; }
    int Ascent() const { return ascent_; }

    // 1 or 2 cells.
    int CellsOf(char32_t character) const;
    // W(text): the width of the text's cells, which is how far the next text
    // on the line starts.
    int Width(QStringView text) const;

private:
    QFontMetricsF metrics_;
    int halfCell_ = 0;
    int cellHeight_ = 0;
    int ascent_ = 0;
    qreal fullAdvance_ = 0;
};

// Transparent draws the glyphs only; Opaque first fills the text's box (its
// width × the cell height) with the background colour.
enum class TextBackground { Transparent, Opaque };

// Draws `text` with its top-left corner at (x, y), with the painter's font and
// pen, one character per cell of `metrics` (made from the same font).
void CellTextOut(QPainter& painter, const CellMetrics& metrics, int x, int y, const QString& text,
                 TextBackground background, const QColor& backgroundColor = Qt::white);

}  // namespace soten::platform
