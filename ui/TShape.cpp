#include "TShape.h"

#include <QPainter>

namespace soten::ui {

namespace {
constexpr int PenWidth = 2;
}

TShape::TShape(QWidget* parent, const QString& objectName, QRect geometry, QColor fill, QColor pen)
    : QWidget(parent), fill_(fill), pen_(pen) {
    setObjectName(objectName);
    setGeometry(geometry);
}

void TShape::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), pen_);
    painter.fillRect(rect().adjusted(PenWidth, PenWidth, -PenWidth, -PenWidth), fill_);
}

}  // namespace soten::ui
