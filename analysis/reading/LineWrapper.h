#pragma once

#include "analysis/reading/NameRecord.h"
#include "analysis/reading/ReadingLines.h"

namespace soten {

// Empties all 62 lines and sets both counters to 0.
void ResetLines(NameRecord& record, ReadingLines& lines);

// Appends `ReadingText` to the screen lines (26 full-width characters, 27 with
// a hanging "。", "，" or "”") and to the print lines (35, or 36), and moves
// both counters on by one more when `ParagraphEnd` is 1. Never writes past
// line 30: a character that would need line 31 is dropped.
void WrapReading(NameRecord& record, ReadingLines& lines);

}  // namespace soten
