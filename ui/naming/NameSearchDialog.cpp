#include "ui/naming/NameSearchDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "analysis/naming/Kana.h"
#include "analysis/naming/SurnameYomi.h"
#include "analysis/text/ShiftJis.h"
#include "ui/naming/CandidateTableModel.h"
#include "ui/naming/SearchFilterForm.h"
#include "ui/naming/SearchRunner.h"
#include "ui/shortlist/ShortlistPanel.h"
#include "ui/shortlist/ShortlistStore.h"
#include "ui/widgets/Cp932Conversion.h"
#include "ui/widgets/ProgramSettings.h"

namespace soten::ui {
namespace {

const QString SettingsGroup = QStringLiteral("NameSearchDialog");

QString Grouped(std::uint64_t number) {
    return QLocale(QLocale::Japanese).toString(static_cast<qulonglong>(number));
}

// What a click on each column's header sorts the search by; Score for the
// columns that do not sort.
SortKey ColumnSort(int column) {
    switch (column) {
        case CandidateTableModel::Given:
            return SortKey::Name;
        case CandidateTableModel::Yomi:
            return SortKey::Yomi;
        case CandidateTableModel::Strokes:
            return SortKey::Strokes;
        case CandidateTableModel::PersonFortune:
            return SortKey::Person;
        case CandidateTableModel::EarthFortune:
            return SortKey::Earth;
        case CandidateTableModel::OuterFortune:
            return SortKey::Outer;
        case CandidateTableModel::TotalFortune:
            return SortKey::Total;
        default:
            return SortKey::Score;
    }
}

// The choices of 並び順 and the column whose header shows each (-1: none).
struct SortChoice {
    const char* label;
    SortKey key;
    int column;
};
constexpr std::array<SortChoice, 9> SortChoices = {{
    {"おすすめ順", SortKey::Score, -1},
    {"よく使われる順", SortKey::Common, -1},
    {"名前順", SortKey::Name, CandidateTableModel::Given},
    {"読み順", SortKey::Yomi, CandidateTableModel::Yomi},
    {"画数順", SortKey::Strokes, CandidateTableModel::Strokes},
    {"人運順", SortKey::Person, CandidateTableModel::PersonFortune},
    {"地運順", SortKey::Earth, CandidateTableModel::EarthFortune},
    {"外運順", SortKey::Outer, CandidateTableModel::OuterFortune},
    {"総運順", SortKey::Total, CandidateTableModel::TotalFortune},
}};

}  // namespace

NameSearchDialog::NameSearchDialog(QWidget* parent, const Tables& tables, ShortlistStore& shortlist,
                                   PrintDialog& printDialog)
    : QDialog(parent), tables_(tables), shortlist_(shortlist) {
    setObjectName(QStringLiteral("NamingDialog"));
    setWindowTitle(QStringLiteral("名付け候補"));
    setAccessibleName(windowTitle());

    form_ = new SearchFilterForm(this);
    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("countLabel"));
    countLabel_->setAccessibleName(QStringLiteral("該当件数"));
    countLabel_->setWordWrap(true);
    sortBox_ = new QComboBox(this);
    sortBox_->setObjectName(QStringLiteral("sortBox"));
    for (const SortChoice& choice : SortChoices) sortBox_->addItem(QString::fromUtf8(choice.label));
    sortBox_->setToolTip(
        QStringLiteral("おすすめ順は評点の順、よく使われる順は実在の名前によく使われる"
                       "字と読みの名前から。見出しのクリックでも並べ替えます"));
    auto* sortLabel = new QLabel(QStringLiteral("並び順(&8)："), this);
    sortLabel->setBuddy(sortBox_);
    sortBox_->setAccessibleName(QStringLiteral("並び順"));

    surnameYomi_ = new QLineEdit(this);
    surnameYomi_->setObjectName(QStringLiteral("surnameYomi"));
    surnameYomi_->setMaxLength(20);
    surnameYomi_->setToolTip(
        QStringLiteral("名字のひらがなの読み。ローマ字と音の注意に使います"
                       "（読みが一つに決まる名字は辞書から入ります）"));
    auto* surnameYomiLabel = new QLabel(QStringLiteral("名字の読み(&7)："), this);
    surnameYomiLabel->setBuddy(surnameYomi_);

    model_ = new CandidateTableModel(this, shortlist_);
    resultTable_ = new QTableView(this);
    resultTable_->setObjectName(QStringLiteral("resultTable"));
    resultTable_->setAccessibleName(QStringLiteral("名付け候補の一覧"));
    resultTable_->setAccessibleDescription(
        QStringLiteral("Enter キーかダブルクリックで、その名前を鑑定します。"
                       "Space キーで候補リストに加えます"));
    resultTable_->setModel(model_);
    resultTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    resultTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    resultTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultTable_->setTabKeyNavigation(false);
    // The search sorts the whole result; the header only shows by what.
    resultTable_->horizontalHeader()->setSortIndicatorShown(true);
    resultTable_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    resultTable_->horizontalHeader()->setSectionsClickable(true);
    resultTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    resultTable_->horizontalHeader()->setSectionResizeMode(CandidateTableModel::Given,
                                                           QHeaderView::Stretch);
    resultTable_->verticalHeader()->setDefaultSectionSize(resultTable_->fontMetrics().height() + 6);

    previousButton_ = new QPushButton(QStringLiteral("前のページ(&B)"), this);
    previousButton_->setObjectName(QStringLiteral("previousButton"));
    nextButton_ = new QPushButton(QStringLiteral("次のページ(&N)"), this);
    nextButton_->setObjectName(QStringLiteral("nextButton"));
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("pageLabel"));
    closeButton_ = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* button : {previousButton_, nextButton_, closeButton_}) {
        button->setAutoDefault(false);
    }

    auto* pages = new QHBoxLayout;
    pages->addWidget(previousButton_);
    pages->addWidget(pageLabel_);
    pages->addWidget(nextButton_);
    pages->addStretch();
    // The table's label takes the keyboard there (Alt+I).
    auto* tableLabel = new QLabel(QStringLiteral("候補(&I)："), this);
    tableLabel->setBuddy(resultTable_);
    auto* counts = new QHBoxLayout;
    counts->addWidget(tableLabel);
    counts->addWidget(countLabel_, 1);
    counts->addWidget(sortLabel);
    counts->addWidget(sortBox_);
    // On a small screen the search scrolls rather than push controls off it.
    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(form_);
    auto* surnameYomiRow = new QHBoxLayout;
    surnameYomiRow->addWidget(surnameYomiLabel);
    surnameYomiRow->addWidget(surnameYomi_);
    surnameYomiRow->addStretch();
    searchLayout->addLayout(surnameYomiRow);
    searchLayout->addLayout(counts);
    searchLayout->addWidget(resultTable_, 1);
    searchLayout->addLayout(pages);
    resultTable_->setMinimumHeight(resultTable_->verticalHeader()->defaultSectionSize() * 6);
    auto* searchScroll = new QScrollArea;
    searchScroll->setObjectName(QStringLiteral("searchScroll"));
    searchScroll->setWidget(searchPage);
    searchScroll->setWidgetResizable(true);
    searchScroll->setFrameShape(QFrame::NoFrame);

    shortlistPanel_ = new ShortlistPanel(nullptr, shortlist_, tables_, printDialog);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->addTab(searchScroll, QStringLiteral("名前を探す"));
    tabs_->addTab(shortlistPanel_, QString());
    tabs_->setTabToolTip(0, QStringLiteral("Ctrl+Tab で切り替えます"));
    tabs_->setTabToolTip(1, QStringLiteral("Ctrl+Tab で切り替えます"));
    auto showCount = [this] {
        tabs_->setTabText(1, QStringLiteral("候補リスト（%1）").arg(shortlist_.List().Size()));
    };
    connect(&shortlist_, &ShortlistStore::Changed, this, showCount);
    showCount();
    connect(shortlistPanel_, &ShortlistPanel::NameChosen, this, &NameSearchDialog::NameChosen);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(bottom);
    resize(800, 600);

    {
        QSettings settings = ProgramSettings();
        settings.beginGroup(SettingsGroup);
        form_->RestoreState(settings);
        const int tab = settings.value(QStringLiteral("tab"), 0).toInt();
        if (tab >= 0 && tab < tabs_->count()) tabs_->setCurrentIndex(tab);
        const int sort = settings.value(QStringLiteral("sort"), 0).toInt();
        if (sort > 0 && sort < sortBox_->count()) {
            sortBox_->setCurrentIndex(sort);
            ChooseSort(sort);
        }
    }
    form_->FocusSurname();

    runner_ = new SearchRunner(this, tables_, [this] { return CurrentFilters(); });
    connect(runner_, &SearchRunner::PageReady, this, &NameSearchDialog::ShowResult);
    connect(form_, &SearchFilterForm::Changed, this, [this] { ScheduleSearch(); });
    connect(sortBox_, &QComboBox::currentIndexChanged, this, [this](int choice) {
        ChooseSort(choice);
        ScheduleSearch();
    });
    connect(surnameYomi_, &QLineEdit::textChanged, this, [this](const QString& text) {
        // Only a reading in kana spells; anything else reads as unknown.
        const std::string yomi = ToHiragana(Cp932::FromUtf8(text.toStdString()).value_or(""));
        model_->SetSurnameYomi(IsHiraganaText(yomi) ? yomi : std::string());
    });
    connect(resultTable_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &NameSearchDialog::SortBy);
    connect(resultTable_, &QTableView::activated, this, &NameSearchDialog::ChooseRow);
    connect(resultTable_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == CandidateTableModel::Star) ToggleStar(index.row());
    });
    resultTable_->installEventFilter(this);
    connect(previousButton_, &QPushButton::clicked, this, [this] { TurnPage(-1); });
    connect(nextButton_, &QPushButton::clicked, this, [this] { TurnPage(+1); });
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::close);
    NameSearchResult none;
    none.problem = Cp932Text("名字を入力してください");
    ShowResult({}, std::move(none));
}

NameSearchDialog::~NameSearchDialog() {
    SaveState();
}

bool NameSearchDialog::RestoreGeometry() {
    QSettings settings = ProgramSettings();
    settings.beginGroup(SettingsGroup);
    const QByteArray geometry = settings.value(QStringLiteral("geometry")).toByteArray();
    // Qt moves a window kept on a screen that is gone back onto one.
    return !geometry.isEmpty() && restoreGeometry(geometry);
}

void NameSearchDialog::SaveState() const {
    QSettings settings = ProgramSettings();
    settings.beginGroup(SettingsGroup);
    form_->SaveState(settings);
    settings.setValue(QStringLiteral("tab"), tabs_->currentIndex());
    settings.setValue(QStringLiteral("sort"), sortBox_->currentIndex());
    settings.setValue(QStringLiteral("geometry"), saveGeometry());
}

void NameSearchDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (tabs_->currentIndex() == 0) form_->FocusSurname();
}

void NameSearchDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // Not when the whole program is minimised: only a real close counts.
    if (!event->spontaneous()) SaveState();
}

void NameSearchDialog::Prefill(const QString& surname, StrokeStyle style) {
    form_->Prefill(surname, style);
    ScheduleSearch();
}

NameSearchFilters NameSearchDialog::CurrentFilters() const {
    NameSearchFilters filters = form_->Filters();
    filters.sort = sort_;
    filters.reversed = reversed_;
    filters.limit = PageSize;
    filters.page = page_;
    return filters;
}

void NameSearchDialog::ShowShortlist() {
    tabs_->setCurrentWidget(shortlistPanel_);
}

void NameSearchDialog::ToggleStar(int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    shortlist_.Toggle(model_->EntryOf(row));
}

bool NameSearchDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == resultTable_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool space = key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier;
        const bool ctrlD = key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier;
        if (space || ctrlD) {
            ToggleStar(resultTable_->currentIndex().row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool NameSearchDialog::IsSearching() const {
    return runner_->IsSearching();
}

void NameSearchDialog::ScheduleSearch(bool keepPage) {
    if (!keepPage) page_ = 1;
    countLabel_->setText(QStringLiteral("検索中…"));
    runner_->Schedule();
}

void NameSearchDialog::ShowResult(const NameSearchFilters& searched, NameSearchResult result) {
    shownSurname_ = searched.surname;
    shownStyle_ = searched.style;
    QString text = QStringLiteral("該当 %1 件").arg(Grouped(result.count));
    if (result.refusal) {
        text += QStringLiteral("（名字：%1）").arg(FromCp932(result.refusal->Message()));
    } else if (!result.problem.empty()) {
        text += QStringLiteral("（%1）").arg(FromCp932(result.problem));
    }
    countLabel_->setText(text);
    pageCount_ = std::max<std::uint64_t>(1, (result.count + PageSize - 1) / PageSize);
    pageLabel_->setText(QStringLiteral("%1 / %2 ページ").arg(Grouped(page_), Grouped(pageCount_)));
    previousButton_->setEnabled(page_ > 1);
    nextButton_->setEnabled(page_ < pageCount_);
    // Composed names have no gender of the dictionary, only a lean.
    const NameSearchFilters shown = form_->Filters();
    const bool allNames = shown.space == SearchSpace::All;
    resultTable_->setColumnHidden(CandidateTableModel::Gender, allNames);
    if (shownSurname_ != surnameYomiFor_) {
        surnameYomiFor_ = shownSurname_;
        surnameYomi_->setText(FromCp932(SurnameYomiOf(shownSurname_)));
    }
    model_->SetCandidates(std::move(result.candidates), allNames, shownSurname_, shownStyle_);
    ShowSortIndicator();
    if (resultTable_->hasFocus() && model_->rowCount() > 0 &&
        !resultTable_->currentIndex().isValid()) {
        resultTable_->setCurrentIndex(model_->index(0, 0));
    }
    emit SearchFinished();
}

void NameSearchDialog::TurnPage(int delta) {
    if (delta < 0 && page_ > 1) --page_;
    if (delta > 0 && page_ < pageCount_) ++page_;
    ScheduleSearch(true);
}

void NameSearchDialog::SortBy(int column) {
    // The header flips its own indicator on a click; ours is put back after.
    QTimer::singleShot(0, this, &NameSearchDialog::ShowSortIndicator);
    const SortKey key = ColumnSort(column);
    if (key == SortKey::Score && column != CandidateTableModel::Score) return;
    reversed_ = column == sortColumn_ ? !reversed_ : false;
    sort_ = key;
    sortColumn_ = column;
    for (std::size_t choice = 0; choice < SortChoices.size(); ++choice) {
        if (SortChoices[choice].key != key) continue;
        const QSignalBlocker quiet(sortBox_);
        sortBox_->setCurrentIndex(static_cast<int>(choice));
    }
    ScheduleSearch();
}

void NameSearchDialog::ChooseSort(int choice) {
    if (choice < 0 || choice >= static_cast<int>(SortChoices.size())) return;
    const SortChoice& chosen = SortChoices[static_cast<std::size_t>(choice)];
    sort_ = chosen.key;
    reversed_ = false;
    sortColumn_ = chosen.column;
    ShowSortIndicator();
}

void NameSearchDialog::ShowSortIndicator() {
    resultTable_->horizontalHeader()->setSortIndicator(
        sortColumn_, reversed_ ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void NameSearchDialog::ChooseRow(const QModelIndex& index) {
    if (!index.isValid()) return;
    const NameCandidate& candidate = model_->Candidate(index.row());
    emit NameChosen(FromCp932(shownSurname_), FromCp932(candidate.given), FromCp932(candidate.yomi),
                    shownStyle_);
}

}  // namespace soten::ui
