#pragma once

#include <cstdint>
#include <string>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"

namespace soten {
class PrinterSession;
}

namespace soten::printing {

// Page positions are tenths of a millimetre from the top-left corner of the
// landscape A4 sheet (2970 × 2100). A device position counts from the corner
// of the printable area, hence the physical offset: x × dpi div 254 − offset,
// on 32-bit integers, truncating toward zero.
std::int32_t TenthMmToDevice(std::int32_t tenthMm, std::int32_t dpi, std::int32_t offset);

// The same with the printer's resolution and offset, asked afresh each time.
std::int32_t TenthMmToDeviceX(PrinterSession& printer, std::int32_t x);
std::int32_t TenthMmToDeviceY(PrinterSession& printer, std::int32_t y);

// Distance between two characters of the name column: 265 for up to three
// characters in all, otherwise 688 div (n − 1), so that the column keeps its
// height.
std::int32_t NameColumnPitch(std::int32_t characterCount);

// The y of reading line i of 0 .. last: from 500 down to 1670, evenly spread.
std::int32_t ReadingLineY(std::int32_t index, std::int32_t lastIndex);

// Texts of the page, in code page 932.
std::string StrokeCountText(std::int32_t strokes);  // "＝%3d画"
// Label, "：%2d［" below 100 or ":%3d［" from 100 (the same width, so the
// brackets line up), grade mark, keyword, "数］".
std::string FortuneLineText(const Tables& tables, FortuneKind kind, std::int32_t number);

// Draws the reading on the page of the document open on `printer`, FramePicture
// last. Reads the reading only; the character being printed is a working copy
// of its own.
void PaintReadingPage(PrinterSession& printer, const Reading& reading, const Tables& tables);

}  // namespace soten::printing
