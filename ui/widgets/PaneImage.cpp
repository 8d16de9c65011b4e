#include "ui/widgets/PaneImage.h"

#include <QAccessible>
#include <QPainter>
#include <QWindow>
#include <cmath>
#include <utility>

#include "ui/reading/PaneAccessibility.h"

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
    shown.setDevicePixelRatio(picture.devicePixelRatio());
    return QPixmap::fromImage(std::move(shown));
}

}  // namespace

PaneImage::PaneImage(QWidget* parent, const QString& objectName, QRect geometry) : QWidget(parent) {
    InstallPaneAccessibility();
    setObjectName(objectName);
    setGeometry(geometry);
}

qreal PaneImage::PixelRatio() const {
    return ratio_ > 0 ? ratio_ : devicePixelRatioF();
}

void PaneImage::Draw(const std::function<void(QPainter&)>& paint) {
    if (picture_.isNull()) {
        // Layout stays in logical pixels; the bitmap has one pixel per device
        // pixel, a part-covered one included.
        const qreal ratio = PixelRatio();
        picture_ =
            QImage(static_cast<int>(std::ceil(width() * ratio - 1e-6)),
                   static_cast<int>(std::ceil(height() * ratio - 1e-6)), QImage::Format_RGB32);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(Qt::white);
    }
    {
        QPainter painter(&picture_);
        paint(painter);
    }
    shown_ = WhiteAsTransparent(picture_);
    update();
}

void PaneImage::MatchPixelRatio(qreal ratio) {
    if (picture_.isNull() || !redraw_ || qFuzzyCompare(picture_.devicePixelRatio(), ratio)) return;
    ratio_ = ratio;
    picture_ = QImage();
    redraw_();
    ratio_ = 0;
}

void PaneImage::SetContentText(const QString& text) {
    if (text == contentText_) return;
    const QString old = std::exchange(contentText_, text);
    emit ContentTextChanged();
    if (QAccessible::isActive()) {
        QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&nameChanged);
        QAccessibleTextUpdateEvent textChanged(this, 0, old, text);
        QAccessible::updateAccessibility(&textChanged);
    }
}

void PaneImage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window moved to a screen with another ratio is repainted; ask for it
    // here too, so the pane is drawn again even where the platform does not.
    if (!followsScreen_ && window()->windowHandle()) {
        followsScreen_ = true;
        connect(window()->windowHandle(), &QWindow::screenChanged, this, [this] { update(); });
    }
}

void PaneImage::paintEvent(QPaintEvent* /*event*/) {
    // Moved to a screen with another ratio: drawn again, not stretched.
    MatchPixelRatio(devicePixelRatioF());
    if (shown_.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, shown_);
    PaintOverlay(painter);
}

}  // namespace soten::ui
