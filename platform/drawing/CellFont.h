#pragma once

#include <QFont>

namespace soten::platform {

// Whether glyph edges are smoothed. The panes draw without smoothing, as GDI
// draws the Japanese system faces at screen sizes; it also keeps their white
// background exact, which is what makes a pane transparent.
enum class Smoothing { Off, On };

// A font asked for the way GDI asks with a positive height: the face name
// (UTF-8, resolved through the face substitutes) and the height of the
// character cell in pixels. For the fixed-pitch Japanese faces a full-width
// character is then as wide as the cell is high.
QFont CellFont(const char* faceUtf8, int cellHeight, bool bold = false,
               Smoothing smoothing = Smoothing::Off);

}  // namespace soten::platform
