#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "printing/device/PrinterSession.h"

namespace soten::printing {

// The print queue's title of the printed detail.
inline constexpr const char* DetailDocumentTitle = "蒼天姓名判断 詳しい鑑定";

// A code page 932 line cut into pieces of at most `maxBytes` bytes, never
// inside a double-byte character; the pieces after the first are led by
// `continuation`. A "。" or "，" that would begin a piece stays on the line
// before it.
std::vector<std::string> CutLine(const std::string& line, std::size_t maxBytes,
                                 const std::string& continuation);

// Draws the detail of the reading (DetailLines) on one A4 portrait page of
// the document open on `printer`.
void PaintDetailPage(PrinterSession& printer, const Reading& reading, const Tables& tables);

// A4 portrait where the printer supports it, then one document with the page.
void PrintDetailPage(PrinterSession& printer, const Reading& reading, const Tables& tables);

// The print command of the detail window: the print dialog, then the page.
void PrintDetail(PrintDialog& dialog, const Reading& reading, const Tables& tables);

}  // namespace soten::printing
