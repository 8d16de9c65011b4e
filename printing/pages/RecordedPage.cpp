#include "printing/pages/RecordedPage.h"

#include <QPainter>
#include <QPen>
#include <QSvgRenderer>

#include "platform/drawing/CellText.h"

namespace soten {

void RecordedPage::TextOut(int x, int y, const QString& text) {
    items_.push_back(Text{QPoint(x, y), text, font_});
}

void RecordedPage::StretchDraw(const QRect& rect, std::shared_ptr<QSvgRenderer> picture) {
    items_.push_back(Picture{rect, std::move(picture)});
}

void RecordedPage::DrawLine(QPoint from, QPoint to, int width) {
    items_.push_back(Line{from, to, width});
}

void RecordedPage::Paint(QPainter& painter) const {
    for (const Item& item : items_) {
        if (const auto* text = std::get_if<Text>(&item)) {
            QFont font(text->font.name);
            font.setPointSize(text->font.size);
            // Fixed-pitch faces keep their cells: no kerning between full-width characters.
            font.setKerning(false);
            painter.setFont(font);
            painter.setPen(text->font.color);
            platform::TextOutTopLeft(painter, text->topLeft, text->text);
        } else if (const auto* picture = std::get_if<Picture>(&item)) {
            if (picture->picture) {
                picture->picture->render(&painter, QRectF(picture->rect));
            }
        } else if (const auto* line = std::get_if<Line>(&item)) {
            painter.setPen(QPen(Qt::black, line->width, Qt::SolidLine, Qt::SquareCap));
            painter.drawLine(line->from, line->to);
        }
    }
}

}  // namespace soten
