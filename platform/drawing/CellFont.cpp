#include "platform/drawing/CellFont.h"

#include <QString>

namespace soten::platform {

QFont CellFont(const char* faceUtf8, int cellHeight, bool bold, Smoothing smoothing) {
    QFont font(QString::fromUtf8(faceUtf8));
    font.setPixelSize(cellHeight);
    font.setBold(bold);
    font.setKerning(false);
    if (smoothing == Smoothing::Off) font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

}  // namespace soten::platform
