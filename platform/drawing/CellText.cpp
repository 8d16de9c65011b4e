#include "platform/drawing/CellText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace soten::platform {

void TextOutTopLeft(QPainter& painter, QPointF topLeft, const QString& text) {
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), text);
}

namespace {

QString OneCharacter(char32_t character) {
    return QString::fromUcs4(&character, 1);
}

// The code points of a text, a surrogate pair being one.
template <typename Visit>
void ForEachCodePoint(QStringView text, Visit visit) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            visit(QChar::surrogateToUcs4(unit, text[i + 1]));
            ++i;
        } else {
            visit(static_cast<char32_t>(unit.unicode()));
        }
    }
}

}  // namespace

CellMetrics::CellMetrics(const QFont& font) : metrics_(font) {
    fullAdvance_ = metrics_.horizontalAdvance(QChar(0x3000));  // ideographic space
    halfCell_ = static_cast<int>(std::ceil(fullAdvance_ / 2 - 1e-6));
    cellHeight_ = font.pixelSize() > 0 ? font.pixelSize() : qRound(metrics_.height());
    ascent_ = qRound(metrics_.ascent());
}

int CellMetrics::CellsOf(char32_t character) const {
    const qreal advance = metrics_.horizontalAdvance(OneCharacter(character));
    return advance > 0.75 * fullAdvance_ ? 2 : 1;
}

int CellMetrics::Width(QStringView text) const {
    int width = 0;
    ForEachCodePoint(text, [&](char32_t character) { width += CellsOf(character) * halfCell_; });
    return width;
}

void CellTextOut(QPainter& painter, const CellMetrics& metrics, int x, int y, const QString& text,
                 TextBackground background, const QColor& backgroundColor) {
    if (background == TextBackground::Opaque) {
        painter.fillRect(x, y, metrics.Width(text), metrics.CellHeight(), backgroundColor);
    }
    const int baseline = y + metrics.Ascent();
    int cellX = x;
    ForEachCodePoint(text, [&](char32_t character) {
        painter.drawText(QPoint(cellX, baseline), OneCharacter(character));
        cellX += metrics.CellsOf(character) * metrics.HalfCell();
    });
}

}  // namespace soten::platform
