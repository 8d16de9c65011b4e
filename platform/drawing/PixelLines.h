#pragma once

#include <QColor>
#include <QPoint>

class QPainter;

namespace soten::platform {

// A pen position for lines one pixel wide. LineTo paints from the current
// point up to, but not including, the given point, which becomes the current
// point; so a bracket of three LineTo calls paints each corner once and leaves
// its far end unpainted. QPainter paints the end point (or, with a flat cap,
// drops whichever end has the larger coordinate), so every line of the
// program's pictures goes through here instead.
class PenPosition {
public:
    void MoveTo(QPoint point) { current_ = point; }
    // Paints in the painter's pen colour.
    void LineTo(QPainter& painter, QPoint point);

private:
    QPoint current_;
};

// Fills the rectangle from (left, top) to (right, bottom), right and bottom
// edges excluded.
void FillRect(QPainter& painter, int left, int top, int right, int bottom, const QColor& color);

}  // namespace soten::platform
