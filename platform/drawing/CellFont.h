#pragma once

#include <QFont>

namespace soten::platform {

// Whether glyph edges are smoothed. The panes draw without smoothing, which
// keeps the Japanese faces crisp at screen sizes and their white background
// exact, which is what makes a pane transparent.
enum class Smoothing { Off, On };

// A font asked for by the height of its character cell: the face name
// (UTF-8, resolved through the face substitutes) and the height of the
// character cell in pixels. For the fixed-pitch Japanese faces a full-width
// character is then as wide as the cell is high.
QFont CellFont(const char* faceUtf8, int cellHeight, bool bold = false,
               Smoothing smoothing = Smoothing::Off);

}  // namespace soten::platform
