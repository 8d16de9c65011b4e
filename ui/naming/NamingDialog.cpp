#include "ui/naming/NamingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "analysis/reading/Fortunes.h"
#include "analysis/text/ShiftJis.h"
#include "ui/naming/CandidateCells.h"
#include "ui/shortlist/ShortlistPanel.h"
#include "ui/shortlist/ShortlistStore.h"
#include "ui/widgets/Cp932Conversion.h"

namespace soten::ui {
namespace {

constexpr std::array<FortuneKind, 4> ShownKinds = {Person, Earth, Outer, Total};

QString Grouped(std::uint64_t number) {
    return QLocale(QLocale::Japanese).toString(static_cast<qulonglong>(number));
}

// What a click on each column's header sorts the search by; Score for the
// columns that do not sort.
SortKey ColumnSort(int column) {
    switch (column) {
        case NamingResultModel::Given:
            return SortKey::Name;
        case NamingResultModel::Reading:
            return SortKey::Reading;
        case NamingResultModel::Strokes:
            return SortKey::Strokes;
        case NamingResultModel::PersonFortune:
            return SortKey::Person;
        case NamingResultModel::EarthFortune:
            return SortKey::Earth;
        case NamingResultModel::OuterFortune:
            return SortKey::Outer;
        case NamingResultModel::TotalFortune:
            return SortKey::Total;
        default:
            return SortKey::Score;
    }
}

// A reading box's text for the search; text that is not kana reaches the
// search as such and is refused there with the reason.
std::string ReadingText(const QLineEdit* edit) {
    return Cp932::FromUtf8(edit->text().toStdString()).value_or("\x1A");
}

QComboBox* Choices(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    return box;
}

QLineEdit* TextBox(QWidget* parent, const char* name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    return edit;
}

// A label that names its control for the keyboard (its mnemonic) and for
// screen readers.
void AddRow(QGridLayout* grid, int row, int column, const QString& caption, QWidget* control) {
    auto* label = new QLabel(caption);
    label->setBuddy(control);
    control->setAccessibleName(
        QString(caption).remove(QRegularExpression(QStringLiteral("\\(&.\\)|：|&"))));
    grid->addWidget(label, row, column);
    grid->addWidget(control, row, column + 1);
}

}  // namespace

// ---- NamingResultModel -------------------------------------------------------

NamingResultModel::NamingResultModel(QObject* parent, ShortlistStore& shortlist)
    : QAbstractTableModel(parent), shortlist_(shortlist) {
    connect(&shortlist_, &ShortlistStore::Changed, this, [this] {
        if (rowCount() > 0) emit dataChanged(index(0, Star), index(rowCount() - 1, Star));
    });
}

void NamingResultModel::SetCandidates(std::vector<NameCandidate> candidates, bool allNames,
                                      std::string surname, StrokeStyle style) {
    beginResetModel();
    candidates_ = std::move(candidates);
    allNames_ = allNames;
    surname_ = std::move(surname);
    style_ = style;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

ShortlistEntry NamingResultModel::EntryOf(int row) const {
    const NameCandidate& candidate = Candidate(row);
    return {surname_, candidate.given, candidate.reading, style_, {}};
}

int NamingResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(candidates_.size());
}

int NamingResultModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant NamingResultModel::data(const QModelIndex& index, int role) const {
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
    if (column == Registrable && !candidate.registrable &&
        (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)) {
        return UnregistrableTip(candidate.unregistrable);
    }
    if (column == Reading && role == Qt::ToolTipRole && candidate.readings.size() > 1) {
        return QStringLiteral("読み：%1")
            .arg(JoinedCp932(candidate.readings, QStringLiteral("、")));
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) {
        return {};
    }
    switch (column) {
        case Given:
            return FromCp932(candidate.given);
        case Registrable:
            return candidate.registrable ? QString() : QStringLiteral("※");
        case Reading:
            return FromCp932(candidate.reading);
        case Gender:
            return FromCp932(GenderLabel(candidate.gender));
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

QVariant NamingResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole) {
        if (section == Given || section == Reading) {
            return allNames_
                       ? QStringLiteral("漢字の組み合わせでは、このページの中だけで並べ替えます")
                       : QStringLiteral("クリックで全体を並べ替えます");
        }
        if (section == Registrable) return QStringLiteral("※：戸籍に使えない字を含む名前");
        if (section == Star) return QStringLiteral("★：候補リストにある名前");
        if (section == Gender || section == Sansai || section == Inyo) return {};
        return QStringLiteral("クリックで全体を並べ替えます");
    }
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    static const std::array<const char*, ColumnCount> titles = {
        "★",    "名前", "戸籍", "読み", "性別", "画数", "人運",
        "地運", "外運", "総運", "評点", "三才", "陰陽"};
    return QString::fromUtf8(titles.at(static_cast<std::size_t>(section)));
}

// ---- NamingDialog --------------------------------------------------------------

NamingDialog::NamingDialog(QWidget* parent, const Tables& tables, ShortlistStore& shortlist,
                           PrintDialog& printDialog)
    : QDialog(parent), tables_(tables), shortlist_(shortlist) {
    setObjectName(QStringLiteral("NamingDialog"));
    setWindowTitle(QStringLiteral("名付け候補"));
    setAccessibleName(windowTitle());

    auto* filters = new QGroupBox(QStringLiteral("条件"), this);
    filters->setObjectName(QStringLiteral("filterGroup"));
    auto* grid = new QGridLayout(filters);

    surnameEdit = TextBox(filters, "surnameEdit", 20);
    styleBox = Choices(filters, "styleBox", {QStringLiteral("新字式"), QStringLiteral("本字式")});
    spaceBox =
        Choices(filters, "spaceBox",
                {QStringLiteral("実在の名前"), QStringLiteral("漢字の組み合わせ（3文字まで）")});
    genderBox =
        Choices(filters, "genderBox",
                {QStringLiteral("指定なし"), QStringLiteral("女性"), QStringLiteral("男性")});
    genderBox->setToolTip(QStringLiteral("女性・男性のどちらにも男女両方の名前が入ります"));
    includeUnspecifiedBox = new QCheckBox(QStringLiteral("性別不明の名前も(&U)"), filters);
    includeUnspecifiedBox->setObjectName(QStringLiteral("includeUnspecifiedBox"));
    includeUnspecifiedBox->setToolTip(QStringLiteral(
        "名前辞書に性別の書かれていない名前も入れます（別の性別の名前も多く含みます）"));
    charsBox = Choices(filters, "charsBox",
                       {QStringLiteral("指定なし"), QStringLiteral("1文字"),
                        QStringLiteral("2文字"), QStringLiteral("3文字")});
    // Narrow boxes say only "かな"; all take hiragana or katakana.
    auto readingBox = [filters](const char* name, const QString& hint) {
        QLineEdit* edit = TextBox(filters, name, 20);
        edit->setPlaceholderText(hint);
        return edit;
    };
    readingEdit = readingBox("readingEdit", QStringLiteral("ひらがなかカタカナ"));
    readingEdit->setToolTip(
        QStringLiteral("漢字の組み合わせの読みは、各字の名乗り・訓・音をつないだものです"
                       "（連濁や小さい「っ」への変化は作りません）"));
    readingPrefixEdit = readingBox("readingPrefixEdit", QStringLiteral("かな"));
    readingSuffixEdit = readingBox("readingSuffixEdit", QStringLiteral("かな"));
    readingContainsEdit = readingBox("readingContainsEdit", QStringLiteral("かな"));
    auto countBox = [filters](const char* name, const QString& suffix) {
        auto* box = new QSpinBox(filters);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, 20);
        box->setSpecialValueText(QStringLiteral("指定なし"));
        box->setSuffix(suffix);
        return box;
    };
    readingLengthBox = countBox("readingLengthBox", QStringLiteral(" 文字"));
    moraeBox = countBox("moraeBox", QStringLiteral(" 音"));
    moraeBox->setToolTip(QStringLiteral("ゃゅょぁぃぅぇぉゎ は数えず、っ・ん・ー は数えます"));
    excludeEdit = TextBox(filters, "excludeEdit", 10);
    excludeEdit->setPlaceholderText(QStringLiteral("例：死"));
    containsEdit = TextBox(filters, "containsEdit", 3);
    containsEdit->setPlaceholderText(QStringLiteral("例：翔"));
    positionBox = Choices(filters, "positionBox",
                          {QStringLiteral("どこでも"), QStringLiteral("1文字目から"),
                           QStringLiteral("2文字目から"), QStringLiteral("3文字目から")});
    const QStringList grades = {QStringLiteral("指定なし"), QStringLiteral("△以上"),
                                QStringLiteral("○以上"), QStringLiteral("◎のみ")};
    const std::array<const char*, 4> gradeNames = {"PersonGradeBox", "EarthGradeBox",
                                                   "OuterGradeBox", "TotalGradeBox"};
    for (std::size_t i = 0; i < gradeBoxes.size(); ++i) {
        gradeBoxes[i] = Choices(filters, gradeNames[i], grades);
    }
    minScoreBox = new QSpinBox(filters);
    minScoreBox->setObjectName(QStringLiteral("minScoreBox"));
    minScoreBox->setRange(0, 12);
    minScoreBox->setSuffix(QStringLiteral(" 点以上"));
    includeUnregistrableBox =
        new QCheckBox(QStringLiteral("戸籍に使えない字の名前も(&J)"), filters);
    includeUnregistrableBox->setObjectName(QStringLiteral("includeUnregistrableBox"));
    includeUnregistrableBox->setToolTip(QStringLiteral(
        "常用漢字・人名用漢字・ひらがな・カタカナ・ー・々ゝゞヽヾ 以外の字を含む名前も"
        "入れます（一覧に ※）"));
    sansaiBox =
        Choices(filters, "sansaiBox",
                {QStringLiteral("指定なし"), QStringLiteral("吉以上"), QStringLiteral("大吉のみ")});
    inyoBox = new QCheckBox(QStringLiteral("陰陽配列が凶の名前を除く(&6)"), filters);
    inyoBox->setObjectName(QStringLiteral("inyoBox"));

    AddRow(grid, 0, 0, QStringLiteral("名字(&S)："), surnameEdit);
    AddRow(grid, 0, 2, QStringLiteral("画数(&T)："), styleBox);
    AddRow(grid, 0, 4, QStringLiteral("探す範囲(&R)："), spaceBox);
    AddRow(grid, 1, 0, QStringLiteral("性別(&G)："), genderBox);
    grid->addWidget(includeUnspecifiedBox, 1, 2, 1, 2);
    AddRow(grid, 1, 4, QStringLiteral("文字数(&L)："), charsBox);
    AddRow(grid, 2, 0, QStringLiteral("読み(&Y)："), readingEdit);
    AddRow(grid, 2, 2, QStringLiteral("読みの長さ(&E)："), readingLengthBox);
    AddRow(grid, 2, 4, QStringLiteral("音の数(&M)："), moraeBox);
    AddRow(grid, 3, 0, QStringLiteral("読みの始め(&F)："), readingPrefixEdit);
    AddRow(grid, 3, 2, QStringLiteral("読みの終わり(&D)："), readingSuffixEdit);
    AddRow(grid, 3, 4, QStringLiteral("読みに含む(&K)："), readingContainsEdit);
    AddRow(grid, 4, 0, QStringLiteral("含む文字(&C)："), containsEdit);
    AddRow(grid, 4, 2, QStringLiteral("文字の位置(&P)："), positionBox);
    AddRow(grid, 4, 4, QStringLiteral("除く文字(&X)："), excludeEdit);
    AddRow(grid, 5, 0, QStringLiteral("人運(&1)："), gradeBoxes[0]);
    AddRow(grid, 5, 2, QStringLiteral("地運(&2)："), gradeBoxes[1]);
    AddRow(grid, 5, 4, QStringLiteral("外運(&3)："), gradeBoxes[2]);
    AddRow(grid, 6, 0, QStringLiteral("総運(&4)："), gradeBoxes[3]);
    AddRow(grid, 6, 2, QStringLiteral("評点(&O)："), minScoreBox);
    grid->addWidget(includeUnregistrableBox, 6, 4, 1, 2);
    AddRow(grid, 7, 0, QStringLiteral("三才配置(&5)："), sansaiBox);
    grid->addWidget(inyoBox, 7, 2, 1, 2);

    countLabel = new QLabel(this);
    countLabel->setObjectName(QStringLiteral("countLabel"));
    countLabel->setAccessibleName(QStringLiteral("該当件数"));
    countLabel->setWordWrap(true);

    model_ = new NamingResultModel(this, shortlist_);
    resultTable = new QTableView(this);
    resultTable->setObjectName(QStringLiteral("resultTable"));
    resultTable->setAccessibleName(QStringLiteral("名付け候補の一覧"));
    resultTable->setAccessibleDescription(
        QStringLiteral("Enter キーかダブルクリックで、その名前を鑑定します。"
                       "Space キーで候補リストに加えます"));
    resultTable->setModel(model_);
    resultTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    resultTable->setSelectionMode(QAbstractItemView::SingleSelection);
    resultTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultTable->setTabKeyNavigation(false);
    // The search sorts the whole result; the header only shows by what.
    resultTable->horizontalHeader()->setSortIndicatorShown(true);
    resultTable->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    resultTable->horizontalHeader()->setSectionsClickable(true);
    resultTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    resultTable->horizontalHeader()->setSectionResizeMode(NamingResultModel::Given,
                                                          QHeaderView::Stretch);
    resultTable->verticalHeader()->setDefaultSectionSize(resultTable->fontMetrics().height() + 6);

    previousButton = new QPushButton(QStringLiteral("前のページ(&B)"), this);
    previousButton->setObjectName(QStringLiteral("previousButton"));
    nextButton = new QPushButton(QStringLiteral("次のページ(&N)"), this);
    nextButton->setObjectName(QStringLiteral("nextButton"));
    pageLabel = new QLabel(this);
    pageLabel->setObjectName(QStringLiteral("pageLabel"));
    closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* button : {previousButton, nextButton, closeButton}) {
        button->setAutoDefault(false);
    }

    auto* pages = new QHBoxLayout;
    pages->addWidget(previousButton);
    pages->addWidget(pageLabel);
    pages->addWidget(nextButton);
    pages->addStretch();
    // The table's label takes the keyboard there (Alt+I).
    auto* tableLabel = new QLabel(QStringLiteral("候補(&I)："), this);
    tableLabel->setBuddy(resultTable);
    auto* counts = new QHBoxLayout;
    counts->addWidget(tableLabel);
    counts->addWidget(countLabel, 1);
    // On a small screen the search scrolls rather than push controls off it.
    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(filters);
    searchLayout->addLayout(counts);
    searchLayout->addWidget(resultTable, 1);
    searchLayout->addLayout(pages);
    resultTable->setMinimumHeight(resultTable->verticalHeader()->defaultSectionSize() * 6);
    auto* searchScroll = new QScrollArea;
    searchScroll->setObjectName(QStringLiteral("searchScroll"));
    searchScroll->setWidget(searchPage);
    searchScroll->setWidgetResizable(true);
    searchScroll->setFrameShape(QFrame::NoFrame);

    shortlistPanel = new ShortlistPanel(nullptr, shortlist_, tables_, printDialog);
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    tabs->addTab(searchScroll, QStringLiteral("名前を探す"));
    tabs->addTab(shortlistPanel, QString());
    tabs->setTabToolTip(0, QStringLiteral("Ctrl+Tab で切り替えます"));
    tabs->setTabToolTip(1, QStringLiteral("Ctrl+Tab で切り替えます"));
    auto showCount = [this] {
        tabs->setTabText(1, QStringLiteral("候補リスト（%1）").arg(shortlist_.List().Size()));
    };
    connect(&shortlist_, &ShortlistStore::Changed, this, showCount);
    showCount();
    connect(shortlistPanel, &ShortlistPanel::NameChosen, this, &NamingDialog::NameChosen);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(bottom);
    resize(800, 600);

    debounce_ = new QTimer(this);
    debounce_->setSingleShot(true);
    debounce_->setInterval(80);
    watcher_ = new QFutureWatcher<NameSearchResult>(this);
    connect(debounce_, &QTimer::timeout, this, &NamingDialog::StartSearch);
    connect(watcher_, &QFutureWatcher<NameSearchResult>::finished, this, [this] {
        searching_ = false;
        if (rerun_) {
            rerun_ = false;
            StartSearch();
            return;
        }
        ShowResult();
    });
    auto changed = [this] { ScheduleSearch(); };
    for (QLineEdit* edit : {surnameEdit, readingEdit, readingPrefixEdit, readingSuffixEdit,
                            readingContainsEdit, containsEdit, excludeEdit}) {
        connect(edit, &QLineEdit::textChanged, this, changed);
    }
    for (QComboBox* box : {styleBox, spaceBox, genderBox, charsBox, positionBox, gradeBoxes[0],
                           gradeBoxes[1], gradeBoxes[2], gradeBoxes[3], sansaiBox}) {
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    }
    for (QSpinBox* box : {readingLengthBox, moraeBox, minScoreBox}) {
        connect(box, &QSpinBox::valueChanged, this, changed);
    }
    for (QCheckBox* box : {includeUnspecifiedBox, includeUnregistrableBox, inyoBox}) {
        connect(box, &QCheckBox::toggled, this, changed);
    }
    // Names with no gender given matter only when a gender is asked for.
    auto genderChanged = [this] {
        includeUnspecifiedBox->setEnabled(genderBox->currentIndex() != 0);
    };
    connect(genderBox, &QComboBox::currentIndexChanged, this, genderChanged);
    genderChanged();
    connect(resultTable->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &NamingDialog::SortBy);
    connect(resultTable, &QTableView::activated, this, &NamingDialog::ChooseRow);
    connect(resultTable, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == NamingResultModel::Star) ToggleStar(index.row());
    });
    resultTable->installEventFilter(this);
    connect(previousButton, &QPushButton::clicked, this, [this] { TurnPage(-1); });
    connect(nextButton, &QPushButton::clicked, this, [this] { TurnPage(+1); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
    ShowResult();
}

NamingDialog::~NamingDialog() {
    // The worker reads the tables; it must be done before they may go.
    watcher_->waitForFinished();
}

void NamingDialog::Prefill(const QString& surname, StrokeStyle style) {
    surnameEdit->setText(surname);
    styleBox->setCurrentIndex(static_cast<int>(style));
    ScheduleSearch();
}

NameSearchFilters NamingDialog::CurrentFilters() const {
    NameSearchFilters filters;
    filters.surname = NameToCp932(surnameEdit->text());
    if (surnameEdit->text().isEmpty()) filters.surname.clear();
    filters.style = static_cast<StrokeStyle>(styleBox->currentIndex());
    filters.space = spaceBox->currentIndex() == 1 ? SearchSpace::All : SearchSpace::Names;
    filters.gender = static_cast<GenderFilter>(genderBox->currentIndex());
    filters.includeUnspecified = includeUnspecifiedBox->isChecked();
    filters.includeUnregistrable = includeUnregistrableBox->isChecked();
    filters.chars = charsBox->currentIndex();
    filters.reading.exact = ReadingText(readingEdit);
    filters.reading.prefix = ReadingText(readingPrefixEdit);
    filters.reading.suffix = ReadingText(readingSuffixEdit);
    filters.reading.contains = ReadingText(readingContainsEdit);
    filters.reading.length = readingLengthBox->value();
    filters.reading.morae = moraeBox->value();
    for (const QChar& ch : excludeEdit->text()) {
        if (!ch.isSpace()) filters.excluded.push_back(NameToCp932(QString(ch)));
    }
    const QString contains = containsEdit->text();
    int position = positionBox->currentIndex();
    for (const QChar& ch : contains) {
        filters.required.push_back({NameToCp932(QString(ch)), position});
        if (position > 0) ++position;
    }
    for (std::size_t i = 0; i < ShownKinds.size(); ++i) {
        filters.worstGrade[ShownKinds[i]] = 4 - gradeBoxes[i]->currentIndex();
    }
    filters.minScore = minScoreBox->value();
    static constexpr std::array<SansaiVerdict, 3> sansaiChoices = {
        SansaiVerdict::VeryBad, SansaiVerdict::Good, SansaiVerdict::VeryGood};
    filters.worstSansai = sansaiChoices.at(static_cast<std::size_t>(sansaiBox->currentIndex()));
    filters.inyoOk = inyoBox->isChecked();
    filters.sort = sort_;
    filters.reversed = reversed_;
    filters.limit = PageSize;
    filters.page = page_;
    return filters;
}

void NamingDialog::ShowShortlist() {
    tabs->setCurrentWidget(shortlistPanel);
}

void NamingDialog::ToggleStar(int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    shortlist_.Toggle(model_->EntryOf(row));
}

bool NamingDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == resultTable && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool space = key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier;
        const bool ctrlD = key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier;
        if (space || ctrlD) {
            ToggleStar(resultTable->currentIndex().row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool NamingDialog::IsSearching() const {
    return debounce_->isActive() || searching_ || rerun_;
}

void NamingDialog::ScheduleSearch(bool keepPage) {
    if (!keepPage) page_ = 1;
    countLabel->setText(QStringLiteral("検索中…"));
    debounce_->start();
}

void NamingDialog::StartSearch() {
    // Until its finished signal arrives a search counts as running, even once
    // its thread is done.
    if (searching_) {
        rerun_ = true;
        return;
    }
    searching_ = true;
    const NameSearchFilters filters = CurrentFilters();
    shownSurname_ = filters.surname;
    shownStyle_ = filters.style;
    const Tables* tables = &tables_;
    watcher_->setFuture(QtConcurrent::run(
        [filters, tables] { return SearchNames(filters, *tables, BuiltInNameSearchData()); }));
}

void NamingDialog::ShowResult() {
    NameSearchResult result;
    if (watcher_->future().isValid() && watcher_->future().resultCount() > 0) {
        result = watcher_->result();
    } else {
        result.problem = Cp932Text("名字を入力してください");
    }
    QString text = QStringLiteral("該当 %1 件").arg(Grouped(result.count));
    if (result.refusal) {
        text += QStringLiteral("（名字：%1）").arg(FromCp932(result.refusal->Message()));
    } else if (!result.problem.empty()) {
        text += QStringLiteral("（%1）").arg(FromCp932(result.problem));
    }
    countLabel->setText(text);
    pageCount_ = std::max<std::uint64_t>(1, (result.count + PageSize - 1) / PageSize);
    pageLabel->setText(QStringLiteral("%1 / %2 ページ").arg(Grouped(page_), Grouped(pageCount_)));
    previousButton->setEnabled(page_ > 1);
    nextButton->setEnabled(page_ < pageCount_);
    // Composed names have no gender; only the dictionary has names a
    // registry office refuses.
    const bool allNames = spaceBox->currentIndex() == 1;
    resultTable->setColumnHidden(NamingResultModel::Gender, allNames);
    resultTable->setColumnHidden(NamingResultModel::Registrable,
                                 allNames || !includeUnregistrableBox->isChecked());
    model_->SetCandidates(std::move(result.candidates), allNames, shownSurname_, shownStyle_);
    ShowSortIndicator();
    if (resultTable->hasFocus() && model_->rowCount() > 0 &&
        !resultTable->currentIndex().isValid()) {
        resultTable->setCurrentIndex(model_->index(0, 0));
    }
    emit SearchFinished();
}

void NamingDialog::TurnPage(int delta) {
    if (delta < 0 && page_ > 1) --page_;
    if (delta > 0 && page_ < pageCount_) ++page_;
    ScheduleSearch(true);
}

void NamingDialog::SortBy(int column) {
    // The header flips its own indicator on a click; ours is put back after.
    QTimer::singleShot(0, this, &NamingDialog::ShowSortIndicator);
    const SortKey key = ColumnSort(column);
    if (key == SortKey::Score && column != NamingResultModel::Score) return;
    reversed_ = column == sortColumn_ ? !reversed_ : false;
    sort_ = key;
    sortColumn_ = column;
    ScheduleSearch();
}

void NamingDialog::ShowSortIndicator() {
    resultTable->horizontalHeader()->setSortIndicator(
        sortColumn_, reversed_ ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void NamingDialog::ChooseRow(const QModelIndex& index) {
    if (!index.isValid()) return;
    const NameCandidate& candidate = model_->Candidate(index.row());
    emit NameChosen(FromCp932(shownSurname_), FromCp932(candidate.given),
                    FromCp932(candidate.reading), shownStyle_);
}

}  // namespace soten::ui
