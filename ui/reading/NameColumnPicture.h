#pragma once

#include "analysis/reading/NameRecord.h"

class QPainter;

namespace soten::ui {

// The name pane `namePane`: the name written top to bottom with each
// character's stroke count, the "①" markers, the brackets and numbers of
// 天運, 人運, 地運 and 外運, and 総運 under its rule. Text is drawn without a
// background.
void PaintNameColumn(QPainter& painter, const NameRecord& record);

}  // namespace soten::ui
