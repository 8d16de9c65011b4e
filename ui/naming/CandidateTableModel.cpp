#include "ui/naming/CandidateTableModel.h"

#include <QColor>
#include <QStringList>

#include "analysis/naming/SpokenName.h"
#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/JudgementExplanation.h"
#include "analysis/records/JudgedColumns.h"
#include "ui/naming/CandidateCells.h"
#include "ui/naming/SpokenCells.h"
#include "ui/reading/PaneColors.h"
#include "ui/shortlist/ShortlistStore.h"
#include "ui/widgets/Cp932Conversion.h"

namespace soten::ui {
namespace {

// The registry check of the yomi shown, in a sentence: its class, the
// characters' parts and what the class means for the registration.
QString YomiCheckTip(const YomiCheck& check) {
    QStringList parts;
    for (const auto& [kanji, kana] : check.parts) {
        parts << QStringLiteral("%1＝%2").arg(FromCp932(kanji), FromCp932(kana));
    }
    QString tip = QStringLiteral("戸籍の読み：%1").arg(FromCp932(YomiClassLabel(check.kind)));
    if (!parts.isEmpty()) tip += QStringLiteral("（%1）").arg(parts.join(QStringLiteral("・")));
    switch (check.kind) {
        case YomiClass::Standard:
            break;
        case YomiClass::Partial:
            tip += QStringLiteral("。読みの一部を使う読みで、認められます");
            break;
        case YomiClass::Customary:
            tip += QStringLiteral("。名前によく使われる読みで、認められる見込みが高い読みです");
            break;
        case YomiClass::Unverified:
            tip += QStringLiteral(
                "。字の読みと結び付かないため、届け出で説明を求められたり受け付けられなかったり"
                "することがあります");
            break;
    }
    return tip;
}

constexpr std::array<FortuneKind, 4> ShownKinds = {Person, Earth, Outer, Total};

QString Utf8Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// How the lean of a candidate's yomi was counted.
QString LeanTip(const NameCandidate& candidate) {
    return QStringLiteral("%1：読みの部分が名前辞書の女の子の名前に %2 回、男の子の名前に %3 回")
        .arg(FromCp932(GenderLeanLabel(candidate.lean)))
        .arg(candidate.girls)
        .arg(candidate.boys);
}

}  // namespace

CandidateTableModel::CandidateTableModel(QObject* parent, ShortlistStore& shortlist)
    : QAbstractTableModel(parent), shortlist_(shortlist) {
    connect(&shortlist_, &ShortlistStore::Changed, this, [this] {
        if (rowCount() > 0) emit dataChanged(index(0, Star), index(rowCount() - 1, Star));
    });
}

void CandidateTableModel::SetCandidates(std::vector<NameCandidate> candidates, bool allNames,
                                        std::string surname, StrokeStyle style) {
    beginResetModel();
    candidates_ = std::move(candidates);
    allNames_ = allNames;
    surname_ = std::move(surname);
    style_ = style;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void CandidateTableModel::SetSurnameYomi(std::string yomi) {
    if (yomi == surnameYomi_) return;
    surnameYomi_ = std::move(yomi);
    if (rowCount() > 0) emit dataChanged(index(0, Romaji), index(rowCount() - 1, SoundNotes));
}

ShortlistEntry CandidateTableModel::EntryOf(int row) const {
    const NameCandidate& candidate = Candidate(row);
    ShortlistEntry entry{surname_, candidate.given, candidate.yomi, style_, {}};
    entry.surnameReading = surnameYomi_;
    return entry;
}

int CandidateTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(candidates_.size());
}

int CandidateTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CandidateTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const NameCandidate& candidate = Candidate(index.row());
    const NameRecord& record = candidate.record;
    const int column = index.column();
    if (column >= PersonFortune && column <= TotalFortune) {
        const FortuneKind kind = ShownKinds[static_cast<std::size_t>(column - PersonFortune)];
        return FortuneCell(kind, record.Fortunes[kind], candidate.keywords[kind], role);
    }
    if (column == Star) {
        const bool starred = shortlist_.Contains(EntryOf(index.row()));
        switch (role) {
            case Qt::DisplayRole:
                return starred ? QStringLiteral("★") : QStringLiteral("☆");
            case Qt::ToolTipRole:
            case Qt::AccessibleTextRole:
                return starred ? QStringLiteral("候補リストにあります（Space で外します）")
                               : QStringLiteral("候補リストに加える（Space）");
            case Qt::ForegroundRole:
                return starred ? QColor(0xC0, 0x80, 0x00) : QVariant();
            case Qt::TextAlignmentRole:
                return QVariant::fromValue(Qt::AlignCenter);
            default:
                return {};
        }
    }
    if (role == Qt::TextAlignmentRole &&
        (column == Strokes || column == Score || column == Registrable || column == Sansai ||
         column == Inyo)) {
        return QVariant::fromValue(Qt::AlignCenter);
    }
    const RegistryVerdict registry = CandidateRegistry(candidate);
    if (column == Registrable && (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole) &&
        registry != RegistryVerdict::Registrable) {
        return registry == RegistryVerdict::Unregistrable
                   ? UnregistrableTip(candidate.unregistrable)
                   : YomiCheckTip(candidate.yomiCheck);
    }
    if (column == GenderLean && role == Qt::ToolTipRole) return LeanTip(candidate);
    if (column == Romaji || column == SoundNotes) {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole) {
            return {};
        }
        return SpokenCell(SpeakName(surname_, surnameYomi_, candidate.given, candidate.yomi),
                          column == Romaji, role);
    }
    if (column == Given && role == Qt::ToolTipRole) {
        return CandidateTip(candidate.avoided, JudgementExplanation(record, BuiltInTables()));
    }
    if (role == Qt::ToolTipRole) {
        if (column == Sansai) return SansaiTip(candidate.sansai);
        if (column == Inyo) return InyoTip(candidate.inyo);
        if (column == Score) return ScoreTip(candidate.score);
    }
    if (role == Qt::ForegroundRole) {
        if (column == Sansai) return colors::VerdictColor(candidate.sansai.verdict);
        if (column == Inyo) return colors::VerdictColor(candidate.inyo.verdict);
    }
    if (role == Qt::FontRole && (column == Sansai || column == Inyo)) return VerdictFont();
    if (column == Yomi && role == Qt::ToolTipRole && !candidate.yomis.empty()) {
        QStringList lines;
        if (candidate.yomis.size() > 1) {
            lines << QStringLiteral("読み：%1")
                         .arg(JoinedCp932(candidate.yomis, QStringLiteral("、")));
        }
        lines << YomiCheckTip(candidate.yomiCheck);
        return lines.join(QLatin1Char('\n'));
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) {
        return {};
    }
    switch (column) {
        case Given:
            return FromCp932(candidate.given);
        case Registrable:
            return Utf8Text(RegistryLabel(registry));
        case Yomi:
            return FromCp932(candidate.yomi);
        case Gender:
            return FromCp932(CandidateGenderLabel(candidate));
        case GenderLean:
            return FromCp932(GenderLeanLabel(candidate.lean));
        case Strokes:
            return GivenStrokeCounts(record);
        case Score:
            return candidate.score;
        case Sansai:
            if (role == Qt::UserRole) return static_cast<int>(candidate.sansai.verdict);
            return FromCp932(VerdictName(candidate.sansai.verdict));
        case Inyo:
            if (role == Qt::UserRole) return static_cast<int>(candidate.inyo.verdict);
            return FromCp932(VerdictName(candidate.inyo.verdict));
        default:
            return {};
    }
}

QVariant CandidateTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole) {
        if (section == Given || section == Yomi) {
            return allNames_
                       ? QStringLiteral("漢字の組み合わせでは、このページの中だけで並べ替えます")
                       : QStringLiteral("クリックで全体を並べ替えます");
        }
        if (section == Registrable) return RegistryHeaderTip();
        if (section == GenderLean) {
            return QStringLiteral(
                "読みの部分が名前辞書の女の子の名前に出てくる割合が、男の子の名前に出てくる"
                "割合の 2 倍以上なら女の子に多い、逆なら男の子に多い（女の子の名前は男の子の"
                "約 4 倍あるため、割合で比べます）");
        }
        if (section == Star) return QStringLiteral("★：候補リストにある名前");
        if (section == Romaji || section == SoundNotes) return SpokenHeaderTip(section == Romaji);
        if (section == Sansai) return SansaiHeaderTip();
        if (section == Inyo) return InyoHeaderTip();
        if (section == Score) return ScoreHeaderTip();
        if (section == Gender) {
            return QStringLiteral(
                "名前辞書にある性別（男女：どちらにも使う名前、推定：性別の書かれていない名前の"
                "読みの傾向から）");
        }
        return QStringLiteral("クリックで全体を並べ替えます");
    }
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section == Star) return QStringLiteral("★");
    using enum JudgedColumn;
    static constexpr std::array<JudgedColumn, ColumnCount> columns = {
        Given, Given, Registrable, Yomi,  Gender, GenderLean, Strokes, Person,
        Earth, Outer, Total,       Score, Sansai, Inyo,       Romaji,  SoundNotes};
    const std::string_view title = TitleOf(columns.at(static_cast<std::size_t>(section)));
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

}  // namespace soten::ui
