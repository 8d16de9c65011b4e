#pragma once

#include <QString>
#include <functional>

#include "printing/device/PrinterSession.h"

namespace soten::printing {

// Prints one document on A4 in `orientation`, in black and white at 100 %:
// these override what was chosen in the print dialog's printer properties,
// and a setting the printer lacks is skipped, not reported. `paint` draws
// the pages; a document it cannot finish is dropped whole and its error
// thrown on.
void PrintA4Document(PrinterSession& printer, PageOrientation orientation, const QString& title,
                     const std::function<void()>& paint);

// Throws PrinterError naming the font packages to install when the fonts
// the printout uses cannot draw `text` (every character would print as a
// black box).
void RefuseWithoutFonts(const QString& text);

}  // namespace soten::printing
