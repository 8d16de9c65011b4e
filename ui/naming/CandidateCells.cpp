#include "ui/naming/CandidateCells.h"

#include <QApplication>
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

QString SansaiTip(const SansaiReading& sansai) {
    return QStringLiteral("三才配置 %1：天運 %2・人運 %3・地運 %4（%5・%6）")
        .arg(FromCp932(VerdictName(sansai.verdict)), FromCp932(ElementName(sansai.elements[0])),
             FromCp932(ElementName(sansai.elements[1])), FromCp932(ElementName(sansai.elements[2])),
             FromCp932(RelationName(sansai.relations[0])),
             FromCp932(RelationName(sansai.relations[1])));
}

QString InyoTip(const InyoReading& inyo) {
    QString tip = QStringLiteral("陰陽配列 %1：%2")
                      .arg(FromCp932(VerdictName(inyo.verdict)), FromCp932(InyoPattern(inyo)));
    if (inyo.shape != InyoShape::Mixed) {
        tip += QStringLiteral("（%1）").arg(FromCp932(ShapeName(inyo.shape)));
    }
    return tip;
}

QString ScoreTip(int score) {
    return QStringLiteral("評点 %1（12点満点）").arg(score);
}

QFont VerdictFont() {
    QFont font = QApplication::font("QTableView");
    if (font.pixelSize() > 0) {
        font.setPixelSize(font.pixelSize() * 5 / 4);
    } else {
        font.setPointSizeF(font.pointSizeF() * 1.25);
    }
    return font;
}

QString SansaiHeaderTip() {
    return QStringLiteral("三才配置：") + FromCp932(SansaiRuleSentence()) +
           QStringLiteral("（相生が二つで大吉、相剋が一つで凶、二つで大凶）");
}

QString InyoHeaderTip() {
    return QStringLiteral("陰陽配列：") + FromCp932(InyoRuleSentence()) +
           QStringLiteral("（全陽・全陰・分裂は凶、挟みは注意）");
}

QString ScoreHeaderTip() {
    return QStringLiteral(
        "評点：人運・地運・外運・総運の ◎ 3点・○ 2点・△ 1点・× 0点の合計。"
        "クリックで全体を並べ替えます");
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

QString RegistryHeaderTip() {
    return QStringLiteral(
        "可：戸籍に使える字と読み／読み要確認：読みが字の読みと結び付かない"
        "／字×：戸籍に使えない字を含む");
}

}  // namespace soten::ui
