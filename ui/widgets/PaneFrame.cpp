#include "ui/widgets/PaneFrame.h"

#include <QPainter>

namespace soten::ui {

namespace {
constexpr int PenWidth = 2;
}

PaneFrame::PaneFrame(QWidget* parent, const QString& objectName, QRect geometry, QColor fill,
                     QColor pen)
    : QWidget(parent), fill_(fill), pen_(pen) {
    setObjectName(objectName);
    setGeometry(geometry);
}

void PaneFrame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), pen_);
    painter.fillRect(rect().adjusted(PenWidth, PenWidth, -PenWidth, -PenWidth), fill_);
}

}  // namespace soten::ui
