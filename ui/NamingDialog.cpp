#include "NamingDialog.h"

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
    if (role == Qt::TextAlignmentRole && (column == Strokes || column == Score)) {
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
        default:
            return {};
    }
}

QVariant NamingResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    static const std::array<const char*, ColumnCount> titles = {
        "名前", "読み", "性別", "画数", "人運", "地運", "外運", "総運", "評点"};
    return QString::fromUtf8(titles.at(static_cast<std::size_t>(section)));
}

// ---- NamingDialog --------------------------------------------------------------

NamingDialog::NamingDialog(QWidget* parent, const Tables& tables)
    : QDialog(parent), tables_(tables) {
    setObjectName(QStringLiteral("NamingDialog"));
    setWindowTitle(QStringLiteral("名付け候補"));
    setAccessibleName(windowTitle());

    auto* filters = new QGroupBox(QStringLiteral("条件"), this);
    filters->setObjectName(QStringLiteral("FilterGroup"));
    auto* grid = new QGridLayout(filters);

    SurnameEdit = TextBox(filters, "SurnameEdit", 20);
    StyleBox = Choices(filters, "StyleBox", {QStringLiteral("新字式"), QStringLiteral("本字式")});
    SpaceBox =
        Choices(filters, "SpaceBox",
                {QStringLiteral("実在の名前"), QStringLiteral("漢字の組み合わせ（3文字まで）")});
    GenderBox =
        Choices(filters, "GenderBox",
                {QStringLiteral("指定なし"), QStringLiteral("女性"), QStringLiteral("男性")});
    CharsBox = Choices(filters, "CharsBox",
                       {QStringLiteral("指定なし"), QStringLiteral("1文字"),
                        QStringLiteral("2文字"), QStringLiteral("3文字")});
    ReadingLengthBox = new QSpinBox(filters);
    ReadingLengthBox->setObjectName(QStringLiteral("ReadingLengthBox"));
    ReadingLengthBox->setRange(0, 20);
    ReadingLengthBox->setSpecialValueText(QStringLiteral("指定なし"));
    ReadingLengthBox->setSuffix(QStringLiteral(" 文字"));
    ReadingEdit = TextBox(filters, "ReadingEdit", 20);
    ReadingEdit->setPlaceholderText(QStringLiteral("ひらがなかカタカナ"));
    ReadingMatchBox =
        Choices(filters, "ReadingMatchBox", {QStringLiteral("で始まる"), QStringLiteral("を含む")});
    ContainsEdit = TextBox(filters, "ContainsEdit", 3);
    ContainsEdit->setPlaceholderText(QStringLiteral("例：翔"));
    PositionBox = Choices(filters, "PositionBox",
                          {QStringLiteral("どこでも"), QStringLiteral("1文字目から"),
                           QStringLiteral("2文字目から"), QStringLiteral("3文字目から")});
    const QStringList grades = {QStringLiteral("指定なし"), QStringLiteral("△以上"),
                                QStringLiteral("○以上"), QStringLiteral("◎のみ")};
    const std::array<const char*, 4> gradeNames = {"PersonGradeBox", "EarthGradeBox",
                                                   "OuterGradeBox", "TotalGradeBox"};
    for (std::size_t i = 0; i < GradeBoxes.size(); ++i) {
        GradeBoxes[i] = Choices(filters, gradeNames[i], grades);
    }
    MinScoreBox = new QSpinBox(filters);
    MinScoreBox->setObjectName(QStringLiteral("MinScoreBox"));
    MinScoreBox->setRange(0, 12);
    MinScoreBox->setSuffix(QStringLiteral(" 点以上"));

    AddRow(grid, 0, 0, QStringLiteral("名字(&S)："), SurnameEdit);
    AddRow(grid, 0, 2, QStringLiteral("画数(&T)："), StyleBox);
    AddRow(grid, 0, 4, QStringLiteral("探す範囲(&R)："), SpaceBox);
    AddRow(grid, 1, 0, QStringLiteral("性別(&G)："), GenderBox);
    AddRow(grid, 1, 2, QStringLiteral("文字数(&L)："), CharsBox);
    AddRow(grid, 1, 4, QStringLiteral("読みの長さ(&E)："), ReadingLengthBox);
    AddRow(grid, 2, 0, QStringLiteral("読み(&Y)："), ReadingEdit);
    AddRow(grid, 2, 2, QStringLiteral("読みの条件(&M)："), ReadingMatchBox);
    AddRow(grid, 2, 4, QStringLiteral("評点(&O)："), MinScoreBox);
    AddRow(grid, 3, 0, QStringLiteral("含む文字(&C)："), ContainsEdit);
    AddRow(grid, 3, 2, QStringLiteral("文字の位置(&P)："), PositionBox);
    AddRow(grid, 4, 0, QStringLiteral("人運(&1)："), GradeBoxes[0]);
    AddRow(grid, 4, 2, QStringLiteral("地運(&2)："), GradeBoxes[1]);
    AddRow(grid, 4, 4, QStringLiteral("外運(&3)："), GradeBoxes[2]);
    AddRow(grid, 5, 0, QStringLiteral("総運(&4)："), GradeBoxes[3]);

    CountLabel = new QLabel(this);
    CountLabel->setObjectName(QStringLiteral("CountLabel"));
    CountLabel->setAccessibleName(QStringLiteral("該当件数"));
    CountLabel->setWordWrap(true);

    model_ = new NamingResultModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(Qt::UserRole);
    ResultTable = new QTableView(this);
    ResultTable->setObjectName(QStringLiteral("ResultTable"));
    ResultTable->setAccessibleName(QStringLiteral("名付け候補の一覧"));
    ResultTable->setAccessibleDescription(
        QStringLiteral("Enter キーかダブルクリックで、その名前を鑑定します"));
    ResultTable->setModel(sorted_);
    ResultTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    ResultTable->setSelectionMode(QAbstractItemView::SingleSelection);
    ResultTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ResultTable->setTabKeyNavigation(false);
    ResultTable->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    ResultTable->setSortingEnabled(true);
    ResultTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ResultTable->horizontalHeader()->setSectionResizeMode(NamingResultModel::Given,
                                                          QHeaderView::Stretch);
    ResultTable->verticalHeader()->setDefaultSectionSize(ResultTable->fontMetrics().height() + 6);

    PreviousButton = new QPushButton(QStringLiteral("前のページ(&B)"), this);
    PreviousButton->setObjectName(QStringLiteral("PreviousButton"));
    NextButton = new QPushButton(QStringLiteral("次のページ(&N)"), this);
    NextButton->setObjectName(QStringLiteral("NextButton"));
    PageLabel = new QLabel(this);
    PageLabel->setObjectName(QStringLiteral("PageLabel"));
    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    for (QPushButton* button : {PreviousButton, NextButton, CloseButton}) {
        button->setAutoDefault(false);
    }

    auto* pages = new QHBoxLayout;
    pages->addWidget(PreviousButton);
    pages->addWidget(PageLabel);
    pages->addWidget(NextButton);
    pages->addStretch();
    pages->addWidget(CloseButton);
    // The table's label takes the keyboard there (Alt+I).
    auto* tableLabel = new QLabel(QStringLiteral("候補(&I)："), this);
    tableLabel->setBuddy(ResultTable);
    auto* counts = new QHBoxLayout;
    counts->addWidget(tableLabel);
    counts->addWidget(CountLabel, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filters);
    layout->addLayout(counts);
    layout->addWidget(ResultTable, 1);
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
    for (QLineEdit* edit : {SurnameEdit, ReadingEdit, ContainsEdit}) {
        connect(edit, &QLineEdit::textChanged, this, changed);
    }
    for (QComboBox* box : {StyleBox, SpaceBox, GenderBox, CharsBox, ReadingMatchBox, PositionBox,
                           GradeBoxes[0], GradeBoxes[1], GradeBoxes[2], GradeBoxes[3]}) {
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    }
    for (QSpinBox* box : {ReadingLengthBox, MinScoreBox}) {
        connect(box, &QSpinBox::valueChanged, this, changed);
    }
    connect(ResultTable, &QTableView::activated, this, &NamingDialog::ChooseRow);
    connect(PreviousButton, &QPushButton::clicked, this, [this] { TurnPage(-1); });
    connect(NextButton, &QPushButton::clicked, this, [this] { TurnPage(+1); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
    ShowResult();
}

NamingDialog::~NamingDialog() {
    // The worker reads the tables; it must be done before they may go.
    watcher_->waitForFinished();
}

void NamingDialog::Prefill(const QString& surname, StrokeStyle style) {
    SurnameEdit->setText(surname);
    StyleBox->setCurrentIndex(static_cast<int>(style));
    ScheduleSearch();
}

NameSearchFilters NamingDialog::CurrentFilters() const {
    NameSearchFilters filters;
    filters.surname = NameToCp932(SurnameEdit->text());
    if (SurnameEdit->text().isEmpty()) filters.surname.clear();
    filters.style = static_cast<StrokeStyle>(StyleBox->currentIndex());
    filters.space = SpaceBox->currentIndex() == 1 ? SearchSpace::All : SearchSpace::Names;
    filters.gender = static_cast<GenderFilter>(GenderBox->currentIndex());
    filters.chars = CharsBox->currentIndex();
    filters.readingLength = ReadingLengthBox->value();
    // A reading that is not kana reaches the search as such and is refused
    // there with the reason.
    filters.reading = Cp932::FromUtf8(ReadingEdit->text().toStdString()).value_or("\x1A");
    filters.readingMatch =
        ReadingMatchBox->currentIndex() == 1 ? ReadingMatch::Contains : ReadingMatch::Prefix;
    const QString contains = ContainsEdit->text();
    int position = PositionBox->currentIndex();
    for (const QChar& ch : contains) {
        filters.required.push_back({NameToCp932(QString(ch)), position});
        if (position > 0) ++position;
    }
    for (std::size_t i = 0; i < ShownKinds.size(); ++i) {
        filters.worstGrade[ShownKinds[i]] = 4 - GradeBoxes[i]->currentIndex();
    }
    filters.minScore = MinScoreBox->value();
    filters.limit = PageSize;
    filters.page = page_;
    return filters;
}

bool NamingDialog::IsSearching() const {
    return debounce_->isActive() || watcher_->isRunning() || rerun_;
}

void NamingDialog::ScheduleSearch(bool keepPage) {
    if (!keepPage) page_ = 1;
    CountLabel->setText(QStringLiteral("検索中…"));
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
    CountLabel->setText(text);
    pageCount_ = std::max<std::uint64_t>(1, (result.count + PageSize - 1) / PageSize);
    PageLabel->setText(QStringLiteral("%1 / %2 ページ").arg(Grouped(page_), Grouped(pageCount_)));
    PreviousButton->setEnabled(page_ > 1);
    NextButton->setEnabled(page_ < pageCount_);
    // Names of the all-names space have no reading and no gender.
    const bool allNames = SpaceBox->currentIndex() == 1;
    ResultTable->setColumnHidden(NamingResultModel::Reading, allNames);
    ResultTable->setColumnHidden(NamingResultModel::Gender, allNames);
    model_->SetCandidates(std::move(result.candidates));
    if (ResultTable->hasFocus() && model_->rowCount() > 0 &&
        !ResultTable->currentIndex().isValid()) {
        ResultTable->setCurrentIndex(sorted_->index(0, 0));
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
    emit NameChosen(FromCp932(shownSurname_), FromCp932(candidate.given), shownStyle_);
}

}  // namespace soten::ui
