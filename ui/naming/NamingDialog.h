#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QFutureWatcher>
#include <vector>

#include "analysis/naming/NameSearch.h"
#include "analysis/reading/Tables.h"
#include "analysis/shortlist/Shortlist.h"
#include "printing/device/PrinterSession.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTimer;

namespace soten::ui {

class ShortlistPanel;
class ShortlistStore;

// The candidates of one page as table rows: ★ (on the shortlist; ☆ not),
// 名前, 戸籍 (a mark on a name a
// registry office refuses, its tooltip naming the characters), 読み (the other
// readings in the tooltip), 性別, 画数, 人運, 地運, 外運, 総運 (number and grade
// mark, in the grade's colour), 評点, and the verdicts of 三才配置 and
// 陰陽配列. The search sorts; the model keeps its rows' order.
class NamingResultModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Star,
        Given,
        Registrable,
        Reading,
        Gender,
        Strokes,
        PersonFortune,
        EarthFortune,
        OuterFortune,
        TotalFortune,
        Score,
        Sansai,
        Inyo,
        ColumnCount
    };

    NamingResultModel(QObject* parent, ShortlistStore& shortlist);

    // allNames: the rows are composed names, which sort by name or reading
    // only within the page (the headers' tooltips say so). The surname and
    // style are those searched.
    void SetCandidates(std::vector<NameCandidate> candidates, bool allNames, std::string surname,
                       StrokeStyle style);
    const NameCandidate& Candidate(int row) const {
        return candidates_.at(static_cast<std::size_t>(row));
    }
    // The candidate of a row as the shortlist keeps it.
    ShortlistEntry EntryOf(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    ShortlistStore& shortlist_;
    std::vector<NameCandidate> candidates_;
    bool allNames_ = false;
    std::string surname_;
    StrokeStyle style_ = StrokeStyle::Shinji;
};

// The dialog "名付け候補": the filters of the name search, the matching count
// and one page of candidates. The search runs on a worker thread as the
// filters change, so typing never waits for it; the name data loads with the
// first search. Enter or a double-click on a row asks the main window for the
// reading of that name (NameChosen). A click on a column's header sorts the
// whole result by it (again: the other way round). Space, Ctrl+D or a click
// on the ☆ puts a name on the shortlist (again: takes it off); the second
// tab, 候補リスト, compares the kept names side by side.
class NamingDialog : public QDialog {
    Q_OBJECT

public:
    NamingDialog(QWidget* parent, const Tables& tables, ShortlistStore& shortlist,
                 PrintDialog& printDialog);
    ~NamingDialog() override;

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

    QTabWidget* tabs;
    ShortlistPanel* shortlistPanel;
    QLineEdit* surnameEdit;
    QComboBox* styleBox;
    QComboBox* spaceBox;
    QComboBox* genderBox;
    QCheckBox* includeUnspecifiedBox;
    QComboBox* charsBox;
    QLineEdit* readingEdit;
    QSpinBox* readingLengthBox;
    QSpinBox* moraeBox;
    QLineEdit* readingPrefixEdit;
    QLineEdit* readingSuffixEdit;
    QLineEdit* readingContainsEdit;
    QLineEdit* containsEdit;
    QComboBox* positionBox;
    QLineEdit* excludeEdit;
    std::array<QComboBox*, 4> gradeBoxes;  // 人運, 地運, 外運, 総運
    QSpinBox* minScoreBox;
    QComboBox* sansaiBox;
    QCheckBox* inyoBox;
    QCheckBox* includeUnregistrableBox;
    QLabel* countLabel;
    QTableView* resultTable;
    QPushButton* previousButton;
    QPushButton* nextButton;
    QLabel* pageLabel;
    QPushButton* closeButton;

signals:
    // A candidate picked: its surname and given name, the reading of the given
    // name (empty in the all-names space) and the style searched.
    void NameChosen(const QString& surname, const QString& given, const QString& reading,
                    soten::StrokeStyle style);
    // A search has finished and its page is on show.
    void SearchFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildSearchTab();
    void ScheduleSearch(bool keepPage = false);
    void StartSearch();
    void ShowResult();
    void ChooseRow(const QModelIndex& index);
    void TurnPage(int delta);
    void SortBy(int column);
    void ShowSortIndicator();

    const Tables& tables_;
    ShortlistStore& shortlist_;
    NamingResultModel* model_;
    QTimer* debounce_;
    QFutureWatcher<NameSearchResult>* watcher_;
    bool searching_ = false;
    bool rerun_ = false;
    std::uint64_t page_ = 1;
    std::uint64_t pageCount_ = 1;
    SortKey sort_ = SortKey::Score;
    bool reversed_ = false;
    int sortColumn_ = -1;
    StrokeStyle shownStyle_ = StrokeStyle::Shinji;
    std::string shownSurname_;
};

}  // namespace soten::ui
