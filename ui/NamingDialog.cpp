#include "NamingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "Cp932Conversion.h"
#include "Fortunes.h"
#include "PaneColors.h"
#include "ShiftJis.h"

namespace soten::ui {
namespace {

constexpr std::array<FortuneKind, 4> ShownKinds = {Person, Earth, Outer, Total};

QString Grouped(std::uint64_t number) {
    return QLocale(QLocale::Japanese).toString(static_cast<qulonglong>(number));
}

QString GenderText(char gender) {
    switch (gender) {
        case 'f':
            return QStringLiteral("女性");
        case 'm':
            return QStringLiteral("男性");
        case 'g':
            return QStringLiteral("男女");
        default:
            return {};
    }
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

void NamingResultModel::SetCandidates(std::vector<NameCandidate> candidates) {
    beginResetModel();
    candidates_ = std::move(candidates);
    endResetModel();
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
        const int number = record.Fortunes[kind];
        const Keyword& keyword = candidate.keywords[kind];
        const QString mark = FromCp932(GradeMark(keyword.grade)).trimmed();
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
            case Qt::UserRole:
                return keyword.grade * 1000 + number;  // best grade first, then the number
            default:
                return {};
        }
    }
    if (role == Qt::TextAlignmentRole &&
        (column == Strokes || column == Score || column == Sansai || column == Inyo)) {
        return QVariant::fromValue(Qt::AlignCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::UserRole && role != Qt::AccessibleTextRole) {
        return {};
    }
    switch (column) {
        case Given:
            return FromCp932(candidate.given);
        case Reading:
            return FromCp932(candidate.reading);
        case Gender:
            return GenderText(candidate.gender);
        case Strokes: {
            if (role == Qt::UserRole) return record.Fortunes[Total];
            QStringList counts;
            for (int k = 1; k <= record.Lengths[GivenName]; ++k) {
                counts << QString::number(record.Strokes[GivenName][k]);
            }
            return counts.join(QStringLiteral("・"));
        }
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
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    static const std::array<const char*, ColumnCount> titles = {
        "名前", "読み", "性別", "画数", "人運", "地運", "外運", "総運", "評点", "三才", "陰陽"};
    return QString::fromUtf8(titles.at(static_cast<std::size_t>(section)));
}

// ---- NamingDialog --------------------------------------------------------------

NamingDialog::NamingDialog(QWidget* parent, const Tables& tables)
    : QDialog(parent), tables_(tables) {
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
    charsBox = Choices(filters, "charsBox",
                       {QStringLiteral("指定なし"), QStringLiteral("1文字"),
                        QStringLiteral("2文字"), QStringLiteral("3文字")});
    readingLengthBox = new QSpinBox(filters);
    readingLengthBox->setObjectName(QStringLiteral("readingLengthBox"));
    readingLengthBox->setRange(0, 20);
    readingLengthBox->setSpecialValueText(QStringLiteral("指定なし"));
    readingLengthBox->setSuffix(QStringLiteral(" 文字"));
    readingEdit = TextBox(filters, "readingEdit", 20);
    readingEdit->setPlaceholderText(QStringLiteral("ひらがなかカタカナ"));
    readingMatchBox =
        Choices(filters, "readingMatchBox", {QStringLiteral("で始まる"), QStringLiteral("を含む")});
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
    sansaiBox =
        Choices(filters, "sansaiBox",
                {QStringLiteral("指定なし"), QStringLiteral("吉以上"), QStringLiteral("大吉のみ")});
    inyoBox = new QCheckBox(QStringLiteral("陰陽配列が凶の名前を除く(&6)"), filters);
    inyoBox->setObjectName(QStringLiteral("inyoBox"));

    AddRow(grid, 0, 0, QStringLiteral("名字(&S)："), surnameEdit);
    AddRow(grid, 0, 2, QStringLiteral("画数(&T)："), styleBox);
    AddRow(grid, 0, 4, QStringLiteral("探す範囲(&R)："), spaceBox);
    AddRow(grid, 1, 0, QStringLiteral("性別(&G)："), genderBox);
    AddRow(grid, 1, 2, QStringLiteral("文字数(&L)："), charsBox);
    AddRow(grid, 1, 4, QStringLiteral("読みの長さ(&E)："), readingLengthBox);
    AddRow(grid, 2, 0, QStringLiteral("読み(&Y)："), readingEdit);
    AddRow(grid, 2, 2, QStringLiteral("読みの条件(&M)："), readingMatchBox);
    AddRow(grid, 2, 4, QStringLiteral("評点(&O)："), minScoreBox);
    AddRow(grid, 3, 0, QStringLiteral("含む文字(&C)："), containsEdit);
    AddRow(grid, 3, 2, QStringLiteral("文字の位置(&P)："), positionBox);
    AddRow(grid, 4, 0, QStringLiteral("人運(&1)："), gradeBoxes[0]);
    AddRow(grid, 4, 2, QStringLiteral("地運(&2)："), gradeBoxes[1]);
    AddRow(grid, 4, 4, QStringLiteral("外運(&3)："), gradeBoxes[2]);
    AddRow(grid, 5, 0, QStringLiteral("総運(&4)："), gradeBoxes[3]);
    AddRow(grid, 5, 2, QStringLiteral("三才配置(&5)："), sansaiBox);
    grid->addWidget(inyoBox, 5, 4, 1, 2);

    countLabel = new QLabel(this);
    countLabel->setObjectName(QStringLiteral("countLabel"));
    countLabel->setAccessibleName(QStringLiteral("該当件数"));
    countLabel->setWordWrap(true);

    model_ = new NamingResultModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(Qt::UserRole);
    resultTable = new QTableView(this);
    resultTable->setObjectName(QStringLiteral("resultTable"));
    resultTable->setAccessibleName(QStringLiteral("名付け候補の一覧"));
    resultTable->setAccessibleDescription(
        QStringLiteral("Enter キーかダブルクリックで、その名前を鑑定します"));
    resultTable->setModel(sorted_);
    resultTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    resultTable->setSelectionMode(QAbstractItemView::SingleSelection);
    resultTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultTable->setTabKeyNavigation(false);
    resultTable->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    resultTable->setSortingEnabled(true);
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
    pages->addWidget(closeButton);
    // The table's label takes the keyboard there (Alt+I).
    auto* tableLabel = new QLabel(QStringLiteral("候補(&I)："), this);
    tableLabel->setBuddy(resultTable);
    auto* counts = new QHBoxLayout;
    counts->addWidget(tableLabel);
    counts->addWidget(countLabel, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filters);
    layout->addLayout(counts);
    layout->addWidget(resultTable, 1);
    layout->addLayout(pages);
    resize(760, 560);

    debounce_ = new QTimer(this);
    debounce_->setSingleShot(true);
    debounce_->setInterval(80);
    watcher_ = new QFutureWatcher<NameSearchResult>(this);
    connect(debounce_, &QTimer::timeout, this, &NamingDialog::StartSearch);
    connect(watcher_, &QFutureWatcher<NameSearchResult>::finished, this, [this] {
        if (rerun_) {
            rerun_ = false;
            StartSearch();
            return;
        }
        ShowResult();
    });
    auto changed = [this] { ScheduleSearch(); };
    for (QLineEdit* edit : {surnameEdit, readingEdit, containsEdit}) {
        connect(edit, &QLineEdit::textChanged, this, changed);
    }
    for (QComboBox* box : {styleBox, spaceBox, genderBox, charsBox, readingMatchBox, positionBox,
                           gradeBoxes[0], gradeBoxes[1], gradeBoxes[2], gradeBoxes[3], sansaiBox}) {
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    }
    for (QSpinBox* box : {readingLengthBox, minScoreBox}) {
        connect(box, &QSpinBox::valueChanged, this, changed);
    }
    connect(inyoBox, &QCheckBox::toggled, this, changed);
    connect(resultTable, &QTableView::activated, this, &NamingDialog::ChooseRow);
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
    filters.chars = charsBox->currentIndex();
    filters.readingLength = readingLengthBox->value();
    // A reading that is not kana reaches the search as such and is refused
    // there with the reason.
    filters.reading = Cp932::FromUtf8(readingEdit->text().toStdString()).value_or("\x1A");
    filters.readingMatch =
        readingMatchBox->currentIndex() == 1 ? ReadingMatch::Contains : ReadingMatch::Prefix;
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
    filters.limit = PageSize;
    filters.page = page_;
    return filters;
}

bool NamingDialog::IsSearching() const {
    return debounce_->isActive() || watcher_->isRunning() || rerun_;
}

void NamingDialog::ScheduleSearch(bool keepPage) {
    if (!keepPage) page_ = 1;
    countLabel->setText(QStringLiteral("検索中…"));
    debounce_->start();
}

void NamingDialog::StartSearch() {
    if (watcher_->isRunning()) {
        rerun_ = true;
        return;
    }
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
        text += QStringLiteral("（名字：%1）").arg(FromCp932(*result.refusal));
    } else if (!result.problem.empty()) {
        text += QStringLiteral("（%1）").arg(FromCp932(result.problem));
    }
    countLabel->setText(text);
    pageCount_ = std::max<std::uint64_t>(1, (result.count + PageSize - 1) / PageSize);
    pageLabel->setText(QStringLiteral("%1 / %2 ページ").arg(Grouped(page_), Grouped(pageCount_)));
    previousButton->setEnabled(page_ > 1);
    nextButton->setEnabled(page_ < pageCount_);
    // Names of the all-names space have no reading and no gender.
    const bool allNames = spaceBox->currentIndex() == 1;
    resultTable->setColumnHidden(NamingResultModel::Reading, allNames);
    resultTable->setColumnHidden(NamingResultModel::Gender, allNames);
    model_->SetCandidates(std::move(result.candidates));
    if (resultTable->hasFocus() && model_->rowCount() > 0 &&
        !resultTable->currentIndex().isValid()) {
        resultTable->setCurrentIndex(sorted_->index(0, 0));
    }
    emit SearchFinished();
}

void NamingDialog::TurnPage(int delta) {
    if (delta < 0 && page_ > 1) --page_;
    if (delta > 0 && page_ < pageCount_) ++page_;
    ScheduleSearch(true);
}

void NamingDialog::ChooseRow(const QModelIndex& index) {
    if (!index.isValid()) return;
    const QModelIndex source = sorted_->mapToSource(index);
    const NameCandidate& candidate = model_->Candidate(source.row());
    emit NameChosen(FromCp932(shownSurname_), FromCp932(candidate.given),
                    FromCp932(candidate.reading), shownStyle_);
}

}  // namespace soten::ui
