#pragma once

#include <cstdint>
#include <string>

#include "analysis/reading/NameRecord.h"
#include "analysis/reading/ReadingLines.h"
#include "analysis/reading/Tables.h"

namespace soten {

// A number as it is written inside a reading sentence: "１" to "９" full-width,
// 10 to 99 as two ASCII digits, anything else right-aligned in four columns.
std::string NumberWord(std::int32_t number);

// Builds `ReportText` (name line, stroke line, the list of five, the four
// paragraphs; CR LF after every line) and wraps the reading into the screen
// and print lines as it goes. Needs `ComputeFortunes` to have run.
void ComposeReport(NameRecord& record, ReadingLines& lines, const Tables& tables);

// The report text alone, as ComposeReport writes it, without wrapping the
// reading into lines (for records that do not hold them).
void ComposeReportText(NameRecord& record, const Tables& tables);

}  // namespace soten
