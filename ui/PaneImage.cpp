#include "PaneImage.h"

#include <QPainter>

namespace soten::ui {

namespace {

QPixmap WhiteAsTransparent(const QImage& picture) {
    QImage shown = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < shown.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
        for (int x = 0; x < shown.width(); ++x) {
            if (line[x] == 0xFFFFFFFFu) line[x] = 0;
        }
    }
    return QPixmap::fromImage(std::move(shown));
}

}  // namespace

PaneImage::PaneImage(QWidget* parent, const QString& objectName, QRect geometry) : QWidget(parent) {
    setObjectName(objectName);
    setGeometry(geometry);
}

void PaneImage::Draw(const std::function<void(QPainter&)>& paint) {
    if (picture_.isNull()) {
        picture_ = QImage(size(), QImage::Format_RGB32);
        picture_.fill(Qt::white);
    }
    {
        QPainter painter(&picture_);
        paint(painter);
    }
    shown_ = WhiteAsTransparent(picture_);
    update();
}

void PaneImage::paintEvent(QPaintEvent* /*event*/) {
    if (shown_.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, shown_);
}

}  // namespace soten::ui
