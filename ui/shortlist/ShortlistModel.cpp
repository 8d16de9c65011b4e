#include "ui/shortlist/ShortlistModel.h"

#include <QMimeData>
#include <algorithm>
#include <iterator>
#include <unordered_map>

#include "analysis/reading/JudgementExplanation.h"
#include "analysis/text/Cp932.h"
#include "ui/naming/CandidateCells.h"
#include "ui/naming/SpokenCells.h"
#include "ui/shortlist/ShortlistStore.h"
#include "ui/widgets/Cp932Conversion.h"

namespace soten::ui {
namespace {

constexpr std::array<FortuneKind, 5> ShownKinds = {Heaven, Person, Earth, Outer, Total};
const QString RowMimeType = QStringLiteral("application/x-soten-shortlist-row");

QString StyleText(StrokeStyle style) {
    return style == StrokeStyle::Honji ? QStringLiteral("本字式") : QStringLiteral("新字式");
}

}  // namespace

ShortlistModel::ShortlistModel(QObject* parent, ShortlistStore& store, const Tables& tables)
    : QAbstractTableModel(parent), store_(store), tables_(tables) {
    connect(&store_, &ShortlistStore::Changed, this, &ShortlistModel::Refresh);
    Refresh();
}

void ShortlistModel::Refresh() {
    const std::vector<ShortlistEntry>& entries = store_.List().Entries();
    const auto same = [](const ShortlistEntry& entry, const ComparedName& name) {
        return entry.SameName(name.entry);
    };
    // The rows the change left where they were, at either end.
    const std::size_t common = std::min(entries.size(), names_.size());
    std::size_t head = 0;
    while (head < common && same(entries[head], names_[head])) ++head;
    std::size_t tail = 0;
    while (tail < common - head &&
           same(entries[entries.size() - 1 - tail], names_[names_.size() - 1 - tail])) {
        ++tail;
    }
    const auto row = [](std::size_t at) { return static_cast<int>(at); };
    // A changed note leaves the rows and an open editor where they are.
    const auto updateNotes = [&] {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            ComparedName& name = names_[i];
            if (name.entry.note == entries[i].note) continue;
            name.entry.note = entries[i].note;
            emit dataChanged(index(row(i), Note), index(row(i), Note));
        }
    };
    const std::size_t added = entries.size() - head - tail;
    const std::size_t gone = names_.size() - head - tail;
    if (gone == 0) {
        // Names added between the rows that stayed: only they are read.
        if (added > 0) {
            beginInsertRows({}, row(head), row(head + added - 1));
            std::vector<ComparedName> read;
            read.reserve(added);
            for (std::size_t i = head; i < head + added; ++i) {
                read.push_back(CompareName(entries[i], tables_));
            }
            names_.insert(names_.begin() + static_cast<std::ptrdiff_t>(head),
                          std::make_move_iterator(read.begin()),
                          std::make_move_iterator(read.end()));
            endInsertRows();
        }
        updateNotes();
        return;
    }
    if (added == 0) {
        beginRemoveRows({}, row(head), row(head + gone - 1));
        names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(head),
                     names_.begin() + static_cast<std::ptrdiff_t>(head + gone));
        endRemoveRows();
        updateNotes();
        return;
    }
    // Moved or replaced names: a name read before keeps its reading.
    std::unordered_multimap<std::size_t, std::size_t> known;
    known.reserve(gone);
    for (std::size_t i = head; i < head + gone; ++i) known.emplace(NameHash(names_[i].entry), i);
    std::vector<ComparedName> names;
    names.reserve(entries.size());
    const auto keep = [&](std::size_t from, std::size_t to) {
        std::move(names_.begin() + static_cast<std::ptrdiff_t>(from),
                  names_.begin() + static_cast<std::ptrdiff_t>(to), std::back_inserter(names));
    };
    keep(0, head);
    for (std::size_t i = head; i < head + added; ++i) {
        const auto [first, last] = known.equal_range(NameHash(entries[i]));
        const auto found = std::find_if(
            first, last, [&](const auto& at) { return same(entries[i], names_[at.second]); });
        if (found == last) {
            names.push_back(CompareName(entries[i], tables_));
            continue;
        }
        names.push_back(std::move(names_[found->second]));
        known.erase(found);
    }
    keep(names_.size() - tail, names_.size());
    for (std::size_t i = 0; i < entries.size(); ++i) names[i].entry.note = entries[i].note;
    beginResetModel();
    names_ = std::move(names);
    endResetModel();
}

JudgedColumn ShortlistModel::JudgedColumnOf(Column column) {
    using enum JudgedColumn;
    static constexpr std::array<JudgedColumn, ColumnCount> columns = {
        Surname, Given, Yomi,        Style,  Strokes, Heaven, Person,     Earth, Outer,
        Total,   Score, Registrable, Sansai, Inyo,    Romaji, SoundNotes, Note};
    return columns.at(static_cast<std::size_t>(column));
}

ComparisonKey ShortlistModel::SortKeyOf(int column) {
    static constexpr std::array<ComparisonKey, ColumnCount> keys = {
        ComparisonKey::Surname,    ComparisonKey::Given,   ComparisonKey::Reading,
        ComparisonKey::Style,      ComparisonKey::Strokes, ComparisonKey::Heaven,
        ComparisonKey::Person,     ComparisonKey::Earth,   ComparisonKey::Outer,
        ComparisonKey::Total,      ComparisonKey::Score,   ComparisonKey::Registrable,
        ComparisonKey::Sansai,     ComparisonKey::Inyo,    ComparisonKey::Romaji,
        ComparisonKey::SoundNotes, ComparisonKey::Note};
    return keys.at(static_cast<std::size_t>(column));
}

int ShortlistModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

int ShortlistModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ShortlistModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const ComparedName& name = names_[static_cast<std::size_t>(index.row())];
    static const NameRecord refused;  // a refused name has no numbers to show
    const NameRecord& record = name.reading ? name.reading->Counted() : refused;
    const int column = index.column();
    const bool numbers = column >= Strokes && column <= Inyo && column != Registrable;
    if (name.refusal && numbers) {
        // The reason stands in the first number's cell, the others stay empty.
        if (column != Strokes) return {};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == Qt::AccessibleTextRole) {
            return QString::fromStdString(RefusalText(name));
        }
        return {};
    }
    if (column >= HeavenFortune && column <= TotalFortune) {
        const FortuneKind kind = ShownKinds[static_cast<std::size_t>(column - HeavenFortune)];
        return FortuneCell(kind, record.Fortunes[kind], name.keywords[kind], role);
    }
    if (role == Qt::TextAlignmentRole && column != Note && column != Surname && column != Given) {
        return QVariant::fromValue(Qt::AlignCenter);
    }
    if (column == Registrable && (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)) {
        if (!name.registrable) return UnregistrableTip(name.unregistrable);
        if (name.registry == RegistryVerdict::YomiUnverified) {
            return QStringLiteral(
                "読み要確認：読みが字の読みと結び付かないため、届け出で説明を求められたり"
                "受け付けられなかったりすることがあります");
        }
    }
    if (column == Given && role == Qt::ToolTipRole) {
        return CandidateTip(name.avoided, name.reading ? JudgementExplanation(record, tables_)
                                                       : std::vector<std::string>());
    }
    if (column == Note && role == Qt::EditRole) return FromCp932(name.entry.note);
    if (column == Romaji || column == SoundNotes)
        return SpokenCell(name.spoken, column == Romaji, role);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole && role != Qt::ToolTipRole) {
        return {};
    }
    if (role == Qt::ToolTipRole && column != Note) return {};
    switch (column) {
        case Surname:
            return QString::fromStdString(name.entry.SurnameUtf8());
        case Given:
            return QString::fromStdString(name.entry.GivenUtf8());
        case Reading:
            return FromCp932(name.entry.reading);
        case Style:
            return StyleText(name.entry.style);
        case Strokes:
            return GivenStrokeCounts(record);
        case Score:
            return name.score;
        case Registrable:
            return QString::fromStdString(RegistryText(name));
        case Sansai:
            return FromCp932(VerdictName(name.sansai.verdict));
        case Inyo:
            return FromCp932(VerdictName(name.inyo.verdict));
        case Note:
            return FromCp932(name.entry.note);
        default:
            return {};
    }
}

QVariant ShortlistModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole) {
        if (section == Note) return QStringLiteral("F2 キーかダブルクリックで書き込めます");
        if (section == Registrable) return RegistryHeaderTip();
        if (section == Romaji || section == SoundNotes) return SpokenHeaderTip(section == Romaji);
        return QStringLiteral("クリックでリストをこの列の順に並べ替えます");
    }
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    const std::string_view title = TitleOf(JudgedColumnOf(static_cast<Column>(section)));
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

Qt::ItemFlags ShortlistModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
    if (index.column() == Note) flags |= Qt::ItemIsEditable;
    return flags;
}

bool ShortlistModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != Note || role != Qt::EditRole) return false;
    const auto note = Cp932::FromUtf8(value.toString().simplified().toStdString());
    if (!note) {
        emit NoteRefused();
        return false;
    }
    store_.SetNote(static_cast<std::size_t>(index.row()), *note);
    return true;
}

Qt::DropActions ShortlistModel::supportedDropActions() const {
    return Qt::MoveAction;
}

QStringList ShortlistModel::mimeTypes() const {
    return {RowMimeType};
}

QMimeData* ShortlistModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    data->setData(RowMimeType, QByteArray::number(indexes.first().row()));
    return data;
}

bool ShortlistModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                                  int /*column*/, const QModelIndex& parent) {
    if (action != Qt::MoveAction || !data || !data->hasFormat(RowMimeType)) return false;
    bool ok = false;
    const int from = data->data(RowMimeType).toInt(&ok);
    if (!ok || from < 0 || from >= rowCount()) return false;
    int to = row >= 0 ? row : (parent.isValid() ? parent.row() : rowCount());
    if (to > from) --to;
    store_.Move(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
    // The store has moved the row and the model follows it; a true here
    // would have the view remove the dragged row as well.
    return false;
}

}  // namespace soten::ui
