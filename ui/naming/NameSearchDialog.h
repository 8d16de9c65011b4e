#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "analysis/naming/NameSearch.h"
#include "analysis/reading/Tables.h"
#include "printing/device/PrinterSession.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace soten::ui {

class CandidateTableModel;
class SearchFilterForm;
class SearchRunner;
class ShortlistPanel;
class ShortlistStore;

// The dialog "名付け候補": the filters of the name search, the matching count
// and one page of candidates. The search runs on a worker thread as the
// filters change, so typing never waits for it; the name data loads with the
// first search. Enter or a double-click on a row asks the main window for the
// reading of that name (NameChosen). 並び順 ("sortBox") chooses the order:
// おすすめ順 (SortKey::Score), よく使われる順 (SortKey::Common) or a column's; a
// click on a column's header sorts the whole result by it (again: the other
// way round) and shows that in 並び順 too. Space, Ctrl+D or a click
// on the ☆ puts a name on the shortlist (again: takes it off); the second
// tab, 候補リスト, compares the kept names side by side.
//
// It opens with the keyboard in the surname box. The conditions, the order,
// the tab on show and the window's size and place are kept between runs (see
// ProgramSettings), each time it is hidden or destroyed.
//
// Its controls are found by objectName: the filters' (see SearchFilterForm),
// "tabs", "shortlistPanel", "countLabel", "resultTable", "previousButton",
// "nextButton", "pageLabel" and "closeButton".
class NameSearchDialog : public QDialog {
    Q_OBJECT

public:
    NameSearchDialog(QWidget* parent, const Tables& tables, ShortlistStore& shortlist,
                     PrintDialog& printDialog);
    ~NameSearchDialog() override;

    // Takes back the size and place the window had last time; false (and
    // nothing moved) when none is kept.
    bool RestoreGeometry();

    // Fills the surname and style from the reading on show and searches.
    void Prefill(const QString& surname, StrokeStyle style);

    // The filters as the widgets show them now.
    NameSearchFilters CurrentFilters() const;

    // True while a search is running or waiting to run.
    bool IsSearching() const;

    static constexpr int PageSize = 100;

    // Brings the 候補リスト tab to the front.
    void ShowShortlist();
    // Stars the name of a row, or takes its star off.
    void ToggleStar(int row);

signals:
    // A candidate picked: its surname and given name, the reading of the given
    // name (empty in the all-names space) and the style searched.
    void NameChosen(const QString& surname, const QString& given, const QString& reading,
                    soten::StrokeStyle style);
    // A search has finished and its page is on show.
    void SearchFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void SaveState() const;
    void ScheduleSearch(bool keepPage = false);
    void ShowResult(const NameSearchFilters& searched, NameSearchResult result);
    void ChooseRow(const QModelIndex& index);
    void TurnPage(int delta);
    void SortBy(int column);
    void ChooseSort(int choice);
    void ShowSortIndicator();

    const Tables& tables_;
    ShortlistStore& shortlist_;
    SearchFilterForm* form_;
    QTabWidget* tabs_;
    ShortlistPanel* shortlistPanel_;
    QLabel* countLabel_;
    QComboBox* sortBox_;
    // 名字の読み: filled from the name dictionary when the surname searched
    // changes, editable; the romaji and sound notes use it.
    QLineEdit* surnameYomi_;
    std::string surnameYomiFor_;  // the surname the box was filled for
    QTableView* resultTable_;
    QPushButton* previousButton_;
    QPushButton* nextButton_;
    QLabel* pageLabel_;
    QPushButton* closeButton_;
    CandidateTableModel* model_;
    SearchRunner* runner_;
    std::uint64_t page_ = 1;
    std::uint64_t pageCount_ = 1;
    SortKey sort_ = SortKey::Score;
    bool reversed_ = false;
    int sortColumn_ = -1;
    StrokeStyle shownStyle_ = StrokeStyle::Shinji;
    std::string shownSurname_;
};

}  // namespace soten::ui
