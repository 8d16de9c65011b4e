#pragma once

#include "ReadingLines.h"

class QPainter;

namespace soten::ui {

// The reading pane `Image3`: screen lines 0 to `lastLine` spread evenly from
// y 11 to y 443, each on a white box of its own size.
void PaintReadingLines(QPainter& painter, const ReadingLines& lines, int lastLine);

}  // namespace soten::ui
