#pragma once

#include "analysis/reading/NameRecord.h"
#include "analysis/reading/Tables.h"

class QPainter;

namespace soten::ui {

// The fortune pane `fortunePane`: one row per number, 総運 first, with its label,
// value, grade mark and keyword in the grade's colour. Each text stands on a
// white box of its own size.
void PaintFortuneList(QPainter& painter, const NameRecord& record, const Tables& tables);

}  // namespace soten::ui
