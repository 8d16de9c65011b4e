#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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
