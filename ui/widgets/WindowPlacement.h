#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace soten::ui {

// The part of the screen windows may use (panels and docks left out): the
// screen of `window` when it has one, else the primary screen. Empty when
// there is no screen at all.
QRect AvailableScreenArea(const QWidget* window = nullptr);

// Moves a top-level window so that its frame, `frameSize` big, stands in the
// middle of `area`. An empty area leaves the window where it is.
void CentreWindow(QWidget& window, const QRect& area, QSize frameSize);
// The same with the window's present frame size.
void CentreWindow(QWidget& window, const QRect& area);

// `frame` made no bigger than `area` and moved by the least into it. An
// empty area leaves it as it is.
QRect FittedInside(const QRect& frame, const QRect& area);

// Where a window `wanted` big goes beside the window `owner` (its frame) so
// that it hides as little as it can of `keepVisible` (a part of the owner):
// right of the owner where the area has room, else left of it, below, above;
// where none has room, the place that covers least of `keepVisible`. The
// window shrinks to the area when it is bigger, and always stays inside it.
QRect PlaceBeside(const QRect& owner, const QRect& keepVisible, QSize wanted, const QRect& area);

// The same, except that where no side has room for `wanted` but one has
// room for `minimum`, the window is made smaller (not below `minimum`) to
// stand on that side and cover none of the owner.
QRect PlaceBeside(const QRect& owner, const QRect& keepVisible, QSize wanted, QSize minimum,
                  const QRect& area);

}  // namespace soten::ui
