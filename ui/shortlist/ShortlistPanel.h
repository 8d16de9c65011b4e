#pragma once

#include <QWidget>
#include <utility>
#include <vector>

#include "analysis/reading/NameRecord.h"
#include "analysis/reading/Tables.h"
#include "analysis/shortlist/Shortlist.h"
#include "printing/device/PrinterSession.h"

class QLabel;
class QPushButton;
class QTableView;

namespace soten::ui {

class ShortlistModel;
class ShortlistStore;

// The 候補リスト: the kept names side by side (ShortlistModel) and what a
// parent does with them. Enter or a double-click reads a name in the main
// window; Delete removes it (Ctrl+Z or the bar's 元に戻す puts it back,
// note and place with it), Ctrl+↑ and Ctrl+↓ (or a drag) move it, F2
// writes its note; a click on a column's header puts the list in that
// column's order (again: the other way round). The list is written out as
// CSV for a spreadsheet (FamilyCsv), as the CSV or TSV soten-cli writes,
// and printed side by side on A4 landscape pages.
class ShortlistPanel : public QWidget {
    Q_OBJECT

public:
    ShortlistPanel(QWidget* parent, ShortlistStore& store, const Tables& tables,
                   PrintDialog& printDialog);

    ShortlistModel* Model() const { return model_; }

    QTableView* shortlistTable;
    QLabel* shortlistCountLabel;
    QPushButton* readButton;
    QPushButton* upButton;
    QPushButton* downButton;
    QPushButton* removeButton;
    QPushButton* exportButton;
    QPushButton* previewButton;
    QPushButton* printButton;
    QWidget* undoBar;
    QLabel* undoLabel;
    QPushButton* undoButton;

    // The commands, public for the tests.
    void ReadCurrent();
    void RemoveCurrent();
    // Puts the name removed last back.
    void UndoRemove();
    void MoveCurrent(int delta);
    void SortBy(int column);
    void Export();
    void Print();
    void Preview();

signals:
    void NameChosen(const QString& surname, const QString& given, const QString& reading,
                    soten::StrokeStyle style);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Writes the list to `path`: as a workbook for a spreadsheet when the
    // name ends in .xlsx, as TSV when it ends in .tsv or .txt, else as CSV
    // for a spreadsheet or, with `machine`, as soten-cli writes it; an empty
    // string when written, else the reason.
    QString ExportTo(const QString& path, bool machine);
    void UpdateButtons();
    void SelectRow(int row);

    ShortlistStore& store_;
    const Tables& tables_;
    PrintDialog& printDialog_;
    ShortlistModel* model_;
    int sortColumn_ = -1;
    bool reversed_ = false;
    // The names removed, each with the row it had, the last one last.
    std::vector<std::pair<ShortlistEntry, std::size_t>> removed_;
};

}  // namespace soten::ui
