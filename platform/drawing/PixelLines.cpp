#include "platform/drawing/PixelLines.h"

#include <QPainter>
#include <cstdlib>

namespace soten::platform {

void PenPosition::LineTo(QPainter& painter, QPoint point) {
    const QColor color = painter.pen().color();
    const QPoint from = current_;
    current_ = point;
    const int dx = point.x() - from.x();
    const int dy = point.y() - from.y();
    if (dx == 0 && dy == 0) return;
    if (dy == 0) {
        const int left = dx > 0 ? from.x() : point.x() + 1;
        painter.fillRect(left, from.y(), std::abs(dx), 1, color);
        return;
    }
    if (dx == 0) {
        const int top = dy > 0 ? from.y() : point.y() + 1;
        painter.fillRect(from.x(), top, 1, std::abs(dy), color);
        return;
    }
    // Slanted lines: Bresenham's walk along the major axis, stopping one step
    // short of the end point.
    const int sx = dx > 0 ? 1 : -1;
    const int sy = dy > 0 ? 1 : -1;
    const int ax = std::abs(dx);
    const int ay = std::abs(dy);
    int x = from.x();
    int y = from.y();
    if (ax >= ay) {
        int error = 2 * ay - ax;
        for (int step = 0; step < ax; ++step) {
            painter.fillRect(x, y, 1, 1, color);
            if (error > 0) {
                y += sy;
                error -= 2 * ax;
            }
            error += 2 * ay;
            x += sx;
        }
    } else {
        int error = 2 * ax - ay;
        for (int step = 0; step < ay; ++step) {
            painter.fillRect(x, y, 1, 1, color);
            if (error > 0) {
                x += sx;
                error -= 2 * ay;
            }
            error += 2 * ax;
            y += sy;
        }
    }
}

void FillRect(QPainter& painter, int left, int top, int right, int bottom, const QColor& color) {
    if (right <= left || bottom <= top) return;
    painter.fillRect(left, top, right - left, bottom - top, color);
}

}  // namespace soten::platform
