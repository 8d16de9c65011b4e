#include "ui/widgets/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>

namespace soten::ui {

QRect AvailableScreenArea(const QWidget* window) {
    const QScreen* screen = window ? window->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void CentreWindow(QWidget& window, const QRect& area, QSize frameSize) {
    if (area.isNull()) return;
    QRect frame(QPoint(0, 0), frameSize);
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}

void CentreWindow(QWidget& window, const QRect& area) {
    CentreWindow(window, area, window.frameGeometry().size());
}

}  // namespace soten::ui

namespace soten::ui {
namespace {

qint64 Overlap(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// `place` moved by the least into `area` (which is at least as big).
QRect KeptInside(QRect place, const QRect& area) {
    place.moveLeft(std::clamp(place.left(), area.left(), area.right() - place.width() + 1));
    place.moveTop(std::clamp(place.top(), area.top(), area.bottom() - place.height() + 1));
    return place;
}

}  // namespace

QRect FittedInside(const QRect& frame, const QRect& area) {
    if (area.isEmpty()) return frame;
    return KeptInside(QRect(frame.topLeft(), frame.size().boundedTo(area.size())), area);
}

QRect PlaceBeside(const QRect& owner, const QRect& keepVisible, QSize wanted, const QRect& area) {
    if (area.isEmpty()) return QRect(owner.topRight() + QPoint(1, 0), wanted);
    const QSize size = wanted.boundedTo(area.size());
    const int w = size.width();
    const int h = size.height();
    const std::array<QRect, 4> beside = {QRect(owner.right() + 1, owner.top(), w, h),    // right
                                         QRect(owner.left() - w, owner.top(), w, h),     // left
                                         QRect(owner.left(), owner.bottom() + 1, w, h),  // below
                                         QRect(owner.left(), owner.top() - h, w, h)};    // above
    // A side with room: the place, moved along that side into the area,
    // leaves the owner free.
    for (const QRect& place : beside) {
        const QRect inside = KeptInside(place, area);
        if (Overlap(inside, owner) == 0) return inside;
    }
    QRect best;
    qint64 bestCover = -1;
    for (const QRect& place : beside) {
        const QRect inside = KeptInside(place, area);
        const qint64 cover = Overlap(inside, keepVisible);
        if (bestCover < 0 || cover < bestCover) {
            best = inside;
            bestCover = cover;
        }
    }
    // The area's corners too: one may leave more of the pane in sight.
    for (const QPoint& corner : {area.topLeft(), QPoint(area.right() - w + 1, area.top()),
                                 QPoint(area.left(), area.bottom() - h + 1),
                                 QPoint(area.right() - w + 1, area.bottom() - h + 1)}) {
        const QRect place(corner, size);
        const qint64 cover = Overlap(place, keepVisible);
        if (cover < bestCover) {
            best = place;
            bestCover = cover;
        }
    }
    return best;
}

QRect PlaceBeside(const QRect& owner, const QRect& keepVisible, QSize wanted, QSize minimum,
                  const QRect& area) {
    const QRect place = PlaceBeside(owner, keepVisible, wanted, area);
    if (area.isEmpty() || Overlap(place, owner) == 0) return place;
    const QSize fitted = wanted.boundedTo(area.size());
    const int across = std::max(area.right() - owner.right(), owner.left() - area.left());
    const int along = std::max(area.bottom() - owner.bottom(), owner.top() - area.top());
    // The narrower window first: a dialog keeps its height better than its width.
    if (across >= minimum.width()) {
        return PlaceBeside(owner, keepVisible,
                           QSize(std::min(fitted.width(), across), fitted.height()), area);
    }
    if (along >= minimum.height()) {
        return PlaceBeside(owner, keepVisible,
                           QSize(fitted.width(), std::min(fitted.height(), along)), area);
    }
    return place;
}

}  // namespace soten::ui
