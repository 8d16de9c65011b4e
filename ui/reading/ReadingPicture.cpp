#include "ui/reading/ReadingPicture.h"

#include <QPainter>
#include <algorithm>

#include "platform/drawing/CellFont.h"
#include "platform/drawing/CellText.h"
#include "platform/drawing/FontSubstitutes.h"
#include "ui/reading/PaneColors.h"
#include "ui/widgets/Cp932Conversion.h"

namespace soten::ui {

QFont ReadingFont() {
    return platform::CellFont(platform::MinchoFace, 16);
}

int ReadingLineTop(int k, int lastLine) {
    // A reading always has at least two lines; a single one stands at the top.
    return lastLine > 0 ? (k * 432) / lastLine + 11 : 11;
}

void PaintReadingLines(QPainter& painter, const ReadingLines& lines, int lastLine) {
    const QFont font = ReadingFont();
    const platform::CellMetrics cells(font);
    painter.setFont(font);
    painter.setPen(colors::Black);
    const int n = std::clamp(lastLine, 0, WrappedLineCount - 1);
    for (int k = 0; k <= n; ++k) {
        platform::CellTextOut(painter, cells, ReadingLineLeft, ReadingLineTop(k, n),
                              FromCp932(lines.ScreenLines[static_cast<std::size_t>(k)]),
                              platform::TextBackground::Opaque, colors::White);
    }
}

}  // namespace soten::ui
