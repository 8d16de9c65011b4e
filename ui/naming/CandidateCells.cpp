#include "ui/naming/CandidateCells.h"

#include <QStringList>

#include "ui/reading/PaneColors.h"
#include "ui/widgets/Cp932Conversion.h"

namespace soten::ui {

QVariant FortuneCell(FortuneKind kind, int number, const Keyword& keyword, int role) {
    const QString mark = FromCp932(GradeMark(keyword.grade));
    switch (role) {
        case Qt::DisplayRole:
            return QStringLiteral("%1 %2").arg(number).arg(mark);
        case Qt::ForegroundRole:
            return colors::GradeColor(keyword.grade);
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole:
            return QStringLiteral("%1 %2 %3%4数")
                .arg(FromCp932(FortuneLabels()[kind]))
                .arg(number)
                .arg(mark, FromCp932(keyword.word));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignCenter);
        default:
            return {};
    }
}

QString GivenStrokeCounts(const NameRecord& record) {
    QStringList counts;
    for (int k = 1; k <= record.Lengths[GivenName]; ++k) {
        counts << QString::number(record.Strokes[GivenName][static_cast<std::size_t>(k)]);
    }
    return counts.join(QStringLiteral("・"));
}

QString JoinedCp932(const std::vector<std::string>& texts, const QString& separator) {
    QStringList joined;
    for (const std::string& text : texts) joined << FromCp932(text);
    return joined.join(separator);
}

QString UnregistrableTip(const std::vector<std::string>& characters) {
    return QStringLiteral("戸籍に使えない字：%1")
        .arg(JoinedCp932(characters, QStringLiteral("、")));
}

QString CandidateTip(const std::vector<AvoidedKanjiEntry>& avoided,
                     const std::vector<std::string>& explanation) {
    QStringList lines;
    if (!avoided.empty()) lines.append(FromCp932(AvoidedKanjiLine(avoided)));
    for (const std::string& line : explanation) lines.append(FromCp932(line));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace soten::ui
