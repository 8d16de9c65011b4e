#pragma once

#include <QWidget>

#include "analysis/reading/NameRecord.h"
#include "analysis/reading/Tables.h"
#include "printing/device/PrinterSession.h"

class QLabel;
class QPushButton;
class QTableView;

namespace soten::ui {

class ShortlistModel;
class ShortlistStore;

// The 候補リスト: the kept names side by side (ShortlistModel) and what a
// parent does with them. Enter or a double-click reads a name in the main
// window; Delete removes it, Ctrl+↑ and Ctrl+↓ (or a drag) move it, F2
// writes its note; a click on a column's header puts the list in that
// column's order (again: the other way round). The list is written out as
// CSV or TSV, and printed side by side on A4 landscape pages.
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

    // The commands, public for the tests.
    void ReadCurrent();
    void RemoveCurrent();
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
    // Writes the list to `path` as CSV, or TSV when the name ends in .tsv or
    // .txt; an empty string when written, else the reason.
    QString ExportTo(const QString& path);
    void UpdateButtons();
    void SelectRow(int row);

    ShortlistStore& store_;
    const Tables& tables_;
    PrintDialog& printDialog_;
    ShortlistModel* model_;
    int sortColumn_ = -1;
    bool reversed_ = false;
};

}  // namespace soten::ui
