#pragma once

#include <QString>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "printing/device/PrinterSession.h"

namespace soten::printing {

// The print queue's title of the printed reading.
inline constexpr const char* DocumentTitle = "蒼天姓名判断";

// The Print command: the print dialog, then the page (PrintReadingPage).
// Cancel prints nothing and changes no setting. Printer errors are thrown for
// the program's error box; nothing half-printed reaches the printer, and the
// reading is only read, so the command can simply be given again.
void PrintReading(PrintDialog& dialog, const Reading& reading, const Tables& tables);

// The name the print dialog proposes for a PDF file: surname and given name
// joined, then ".pdf".
QString PdfFileName(const Reading& reading);

// Everything after the dialog: A4, landscape, monochrome and 100 % where the
// printer supports them (the printer's own value otherwise), then one
// document with the page.
void PrintReadingPage(PrinterSession& printer, const Reading& reading, const Tables& tables);

}  // namespace soten::printing
