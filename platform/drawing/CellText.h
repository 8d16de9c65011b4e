#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QString>
#include <QStringView>

class QPainter;

namespace soten::platform {

// ExtTextOut's point is the top-left corner of the text's cell; drawText's is
// on the baseline. Draws with the painter's font and pen, shifted down by the
// font's ascent on the painter's device (screen, image or printer alike).
void TextOutTopLeft(QPainter& painter, QPointF topLeft, const QString& text);

// The character cells of a fixed-pitch Japanese face as GDI lays them out: a
// half-width character takes one cell, a full-width character exactly two.
// Qt gives the IPA faces fractional half-width advances at odd pixel sizes
// (7.5 pixels at 15), which would let columns of text drift; here every cell
// is a whole number of pixels and a full-width space is exactly two
// half-width spaces.
class CellMetrics {
public:
    explicit CellMetrics(const QFont& font);

    int HalfCell() const { return halfCell_; }
    // The height of a line of text: the font's pixel size, as GDI takes it.
    int CellHeight() const { return cellHeight_; }
    int Ascent() const { return ascent_; }

    // 1 or 2 cells.
    int CellsOf(char32_t character) const;
    // W(text): the width GetTextExtentPoint32 gives in these cells.
    int Width(QStringView text) const;

private:
    QFontMetricsF metrics_;
    int halfCell_ = 0;
    int cellHeight_ = 0;
    int ascent_ = 0;
    qreal fullAdvance_ = 0;
};

// SetBkMode: TRANSPARENT draws the glyphs only, OPAQUE first fills the text's
// box (its width × the cell height) with the background colour.
enum class TextBackground { Transparent, Opaque };

// ExtTextOut at (x, y), the top-left corner, with the painter's font and pen,
// one character per cell of `metrics` (made from the same font).
void CellTextOut(QPainter& painter, const CellMetrics& metrics, int x, int y, const QString& text,
                 TextBackground background, const QColor& backgroundColor = Qt::white);

}  // namespace soten::platform
