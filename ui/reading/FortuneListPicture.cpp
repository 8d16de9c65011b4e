#include "ui/reading/FortuneListPicture.h"

#include <QPainter>
#include <QString>

#include "analysis/reading/Fortunes.h"
#include "analysis/reading/ShownText.h"
#include "platform/drawing/CellFont.h"
#include "platform/drawing/CellText.h"
#include "platform/drawing/FontSubstitutes.h"
#include "ui/reading/PaneColors.h"
#include "ui/widgets/Cp932Conversion.h"

namespace soten::ui {

namespace {

using platform::CellMetrics;
using platform::CellTextOut;
using platform::TextBackground;

}  // namespace

void PaintFortuneList(QPainter& painter, const NameRecord& record, const Tables& tables) {
    const QFont font = platform::CellFont(platform::GothicFace, 16);
    const CellMetrics cells(font);
    painter.setFont(font);
    const int valueX = 13 + cells.Width(u"　　");
    const int gradeX = 13 + cells.Width(u"　　　　  ");
    const int closeX = 13 + cells.Width(u"　　　　　　　　   ");
    auto text = [&](const QColor& color, int x, int y, const QString& s) {
        painter.setPen(color);
        CellTextOut(painter, cells, x, y, s, TextBackground::Opaque, colors::White);
    };

    for (int i = 0; i < FortuneCount; ++i) {
        const int y = 23 * i + 9;
        const FortuneKind kind = ListedFortune(i);
        const int value = record.Fortunes[kind];
        const Keyword keyword = LookupKeyword(tables, value);
        text(colors::Maroon, 13, y, FromCp932(FortuneLabels()[kind]));
        text(colors::Black, valueX, y, FromCp932(FortuneValueText(value)));
        text(colors::GradeColor(keyword.grade), gradeX, y, FromCp932(GradeText(keyword)));
        text(colors::Black, closeX, y, QStringLiteral("］"));
    }
}

}  // namespace soten::ui
