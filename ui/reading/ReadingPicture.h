#pragma once

#include <QFont>

#include "analysis/reading/ReadingLines.h"

class QPainter;

namespace soten::ui {

// The reading pane `readingPane`: screen lines 0 to `lastLine` spread evenly from
// y 11 to y 443, each on a white box of its own size.
void PaintReadingLines(QPainter& painter, const ReadingLines& lines, int lastLine);

// The layout the picture uses, also for finding the character under the mouse.
QFont ReadingFont();
inline constexpr int ReadingLineLeft = 15;
// The top of line k of lines 0 to `lastLine`.
int ReadingLineTop(int k, int lastLine);

}  // namespace soten::ui
