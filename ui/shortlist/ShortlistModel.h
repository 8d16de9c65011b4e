#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "analysis/reading/Tables.h"
#include "analysis/records/JudgedColumns.h"
#include "analysis/shortlist/NameComparison.h"

namespace soten::ui {

class ShortlistStore;

// The shortlist side by side, a row per name in the list's order: 名字,
// 名前, 読み, 方式, 画数, the five numbers with their grade marks, 評点, 戸籍
// (可, or ※ with the refused characters in the tooltip), 三才, 陰陽, the
// passport romaji (the whole name when the surname's reading is known; the
// other spellings and the initials in the tooltip), the sound notes and the note,
// which is edited in place. A name that makes no reading shows why across
// the numbers. Rows move by drag and drop; every change goes to the store,
// and the rows follow the store.
class ShortlistModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Surname,
        Given,
        Reading,
        Style,
        Strokes,
        HeavenFortune,
        PersonFortune,
        EarthFortune,
        OuterFortune,
        TotalFortune,
        Score,
        Registrable,
        Sansai,
        Inyo,
        Romaji,
        SoundNotes,
        Note,
        ColumnCount
    };

    ShortlistModel(QObject* parent, ShortlistStore& store, const Tables& tables);

    const std::vector<ComparedName>& Names() const { return names_; }
    // What each column shows of a judged name.
    static JudgedColumn JudgedColumnOf(Column column);
    // What a click on a column's header sorts by.
    static ComparisonKey SortKeyOf(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

signals:
    // A note was refused: it holds a character the list's file cannot keep.
    void NoteRefused();

private:
    void Refresh();

    ShortlistStore& store_;
    const Tables& tables_;
    std::vector<ComparedName> names_;
};

}  // namespace soten::ui
