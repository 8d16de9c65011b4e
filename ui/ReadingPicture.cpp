#include "ReadingPicture.h"

#include <QPainter>
#include <algorithm>

#include "Cp932Conversion.h"
#include "FontSubstitutes.h"
#include "GdiFont.h"
#include "GdiText.h"
#include "PaneColors.h"

namespace soten::ui {

void PaintReadingLines(QPainter& painter, const ReadingLines& lines, int lastLine) {
    const QFont font = platform::GdiFont(platform::MinchoFace, 16);
    const platform::CellMetrics cells(font);
    painter.setFont(font);
    painter.setPen(colors::Black);
    const int n = std::clamp(lastLine, 0, WrappedLineCount - 1);
    for (int k = 0; k <= n; ++k) {
        // A reading always has at least two lines; a single one stands at the top.
        const int y = n > 0 ? (k * 432) / n + 11 : 11;
        platform::CellTextOut(painter, cells, 15, y,
                              FromCp932(lines.ScreenLines[static_cast<std::size_t>(k)]),
                              platform::TextBackground::Opaque, colors::White);
    }
}

}  // namespace soten::ui
