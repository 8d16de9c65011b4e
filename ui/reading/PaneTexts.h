#pragma once

#include <QString>

#include "analysis/reading/NameRecord.h"
#include "analysis/reading/ReadingLines.h"
#include "analysis/reading/Tables.h"

namespace soten::ui {

// What each result pane shows, as text for a screen reader: read in the
// order a sighted reader takes it in, one item per line.

// The name, each character with its stroke count, and the five numbers:
// "山田 太郎", "山 3画" ..., "天運 8" ... "総運 21".
QString NameColumnText(const NameRecord& record);

// The five rows of the list, 総運 first: "総運 21 ○ 大成数".
QString FortuneListText(const NameRecord& record, const Tables& tables);

// Screen lines 0 to `lastLine`, one per line, as the pane shows them.
QString ReadingPaneText(const ReadingLines& lines, int lastLine);

}  // namespace soten::ui
