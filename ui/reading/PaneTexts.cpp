#include "ui/reading/PaneTexts.h"

#include <QStringList>
#include <algorithm>

#include "analysis/reading/Fortunes.h"
#include "analysis/reading/ShownText.h"
#include "analysis/text/ShiftJis.h"
#include "ui/widgets/Cp932Conversion.h"

namespace soten::ui {

QString NameColumnText(const NameRecord& record) {
    QStringList lines;
    lines << FromCp932(record.Names[Surname]) + u' ' + FromCp932(record.Names[GivenName]);
    for (const NamePart part : {Surname, GivenName}) {
        const int length = std::clamp(record.Lengths[part], 0, MaxPartChars);
        for (int k = 1; k <= length; ++k) {
            const auto index = static_cast<std::size_t>(k);
            lines << FromCp932(Unit(record.Names[part], index)) + u' ' +
                         QString::number(record.Strokes[part][index]) + QStringLiteral("画");
        }
    }
    for (int kind = 0; kind < FortuneCount; ++kind) {
        lines << FromCp932(FortuneLabels()[static_cast<std::size_t>(kind)]) + u' ' +
                     QString::number(record.Fortunes[static_cast<std::size_t>(kind)]);
    }
    return lines.join(u'\n');
}

QString FortuneListText(const NameRecord& record, const Tables& tables) {
    QStringList rows;
    for (int i = 0; i < FortuneCount; ++i) {
        const FortuneKind kind = ListedFortune(i);
        const int value = record.Fortunes[kind];
        const Keyword keyword = LookupKeyword(tables, value);
        rows << FromCp932(FortuneLabels()[kind]) + u' ' + QString::number(value) + u' ' +
                    FromCp932(GradeText(keyword));
    }
    return rows.join(u'\n');
}

QString ReadingPaneText(const ReadingLines& lines, int lastLine) {
    QStringList shown;
    const int n = std::clamp(lastLine, 0, WrappedLineCount - 1);
    for (int k = 0; k <= n; ++k) shown << FromCp932(lines.ScreenLines[static_cast<std::size_t>(k)]);
    return shown.join(u'\n');
}

}  // namespace soten::ui
