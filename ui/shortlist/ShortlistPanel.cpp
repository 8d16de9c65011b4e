#include "ui/shortlist/ShortlistPanel.h"

#include <QDate>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include "analysis/records/RecordWriter.h"
#include "analysis/shortlist/FamilyCsv.h"
#include "analysis/text/ShiftJis.h"
#include "printing/pages/ComparisonPage.h"
#include "printing/pages/PrintPreview.h"
#include "ui/app/DefaultErrorHandler.h"
#include "ui/reading/ReportFile.h"
#include "ui/shortlist/FamilyWorkbook.h"
#include "ui/shortlist/ShortlistModel.h"
#include "ui/shortlist/ShortlistStore.h"
#include "ui/widgets/Cp932Conversion.h"

namespace soten::ui {
namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& caption,
                    const QString& tip = {}) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    if (!tip.isEmpty()) button->setToolTip(tip);
    return button;
}

}  // namespace

ShortlistPanel::ShortlistPanel(QWidget* parent, ShortlistStore& store, const Tables& tables,
                               PrintDialog& printDialog)
    : QWidget(parent), store_(store), tables_(tables), printDialog_(printDialog) {
    setObjectName(QStringLiteral("shortlistPanel"));
    model_ = new ShortlistModel(this, store_, tables_);

    shortlistTable = new QTableView(this);
    shortlistTable->setObjectName(QStringLiteral("shortlistTable"));
    shortlistTable->setAccessibleName(QStringLiteral("候補リスト"));
    shortlistTable->setAccessibleDescription(QStringLiteral(
        "Enter キーで鑑定、Delete キーで削除、Ctrl+上下の矢印で移動、F2 キーでメモ"));
    shortlistTable->setModel(model_);
    shortlistTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    shortlistTable->setSelectionMode(QAbstractItemView::SingleSelection);
    shortlistTable->setEditTriggers(QAbstractItemView::DoubleClicked |
                                    QAbstractItemView::EditKeyPressed);
    shortlistTable->setTabKeyNavigation(false);
    shortlistTable->setDragDropMode(QAbstractItemView::InternalMove);
    shortlistTable->setDragEnabled(true);
    shortlistTable->setAcceptDrops(true);
    shortlistTable->setDropIndicatorShown(true);
    shortlistTable->setDefaultDropAction(Qt::MoveAction);
    QHeaderView* header = shortlistTable->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ShortlistModel::Note, QHeaderView::Stretch);
    shortlistTable->verticalHeader()->setDefaultSectionSize(shortlistTable->fontMetrics().height() +
                                                            6);
    shortlistTable->installEventFilter(this);

    shortlistCountLabel = new QLabel(this);
    shortlistCountLabel->setObjectName(QStringLiteral("shortlistCountLabel"));
    auto* tableLabel = new QLabel(QStringLiteral("候補リスト(&Z)："), this);
    tableLabel->setBuddy(shortlistTable);

    readButton = Button(this, "readButton", QStringLiteral("鑑定(&A)"),
                        QStringLiteral("選んだ名前を鑑定します（Enter）"));
    upButton = Button(this, "upButton", QStringLiteral("上へ(&H)"),
                      QStringLiteral("選んだ名前を一つ上へ（Ctrl+↑）"));
    downButton = Button(this, "downButton", QStringLiteral("下へ(&W)"),
                        QStringLiteral("選んだ名前を一つ下へ（Ctrl+↓）"));
    removeButton = Button(this, "removeButton", QStringLiteral("削除(&Q)"),
                          QStringLiteral("選んだ名前をリストから外します（Delete）"));
    exportButton = Button(this, "exportButton", QStringLiteral("書き出し(&V)..."),
                          QStringLiteral("CSV か TSV（UTF-8）に書き出します"));
    previewButton = Button(this, "previewButton", QStringLiteral("印刷プレビュー(&9)..."));
    printButton = Button(this, "printButton", QStringLiteral("印刷(&0)..."),
                         QStringLiteral("A4 横に 1 ページ 20 名ずつ印刷します"));

    undoBar = new QWidget(this);
    undoBar->setObjectName(QStringLiteral("undoBar"));
    undoLabel = new QLabel(undoBar);
    undoLabel->setObjectName(QStringLiteral("undoLabel"));
    undoButton = Button(undoBar, "undoButton", QStringLiteral("元に戻す"),
                        QStringLiteral("削除した名前をメモごと元の場所へ戻します（Ctrl+Z）"));
    auto* undoLayout = new QHBoxLayout(undoBar);
    undoLayout->setContentsMargins(0, 0, 0, 0);
    undoLayout->addWidget(undoLabel, 1);
    undoLayout->addWidget(undoButton);
    undoBar->hide();
    auto* undoShortcut = new QShortcut(QKeySequence::Undo, this);
    undoShortcut->setContext(Qt::WidgetWithChildrenShortcut);

    auto* top = new QHBoxLayout;
    top->addWidget(tableLabel);
    top->addWidget(shortlistCountLabel, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {readButton, upButton, downButton, removeButton}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    for (QPushButton* button : {exportButton, previewButton, printButton}) {
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(shortlistTable, 1);
    layout->addWidget(undoBar);
    layout->addLayout(buttons);

    connect(shortlistTable, &QTableView::activated, this, &ShortlistPanel::ReadCurrent);
    connect(header, &QHeaderView::sectionClicked, this, &ShortlistPanel::SortBy);
    connect(readButton, &QPushButton::clicked, this, &ShortlistPanel::ReadCurrent);
    connect(upButton, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
    connect(downButton, &QPushButton::clicked, this, [this] { MoveCurrent(+1); });
    connect(removeButton, &QPushButton::clicked, this, &ShortlistPanel::RemoveCurrent);
    connect(undoButton, &QPushButton::clicked, this, &ShortlistPanel::UndoRemove);
    connect(undoShortcut, &QShortcut::activated, this, &ShortlistPanel::UndoRemove);
    connect(exportButton, &QPushButton::clicked, this, &ShortlistPanel::Export);
    connect(previewButton, &QPushButton::clicked, this, &ShortlistPanel::Preview);
    connect(printButton, &QPushButton::clicked, this, &ShortlistPanel::Print);
    connect(model_, &QAbstractItemModel::modelReset, this, &ShortlistPanel::UpdateButtons);
    connect(shortlistTable->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ShortlistPanel::UpdateButtons);
    connect(model_, &ShortlistModel::NoteRefused, this, [this] {
        QMessageBox::warning(this, QStringLiteral("候補リスト"),
                             QStringLiteral("メモに保存できない文字（絵文字など）があるため、"
                                            "メモを変えませんでした。"));
    });
    UpdateButtons();
}

bool ShortlistPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == shortlistTable && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            RemoveCurrent();
            return true;
        }
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) &&
            key->modifiers() == Qt::ControlModifier) {
            MoveCurrent(key->key() == Qt::Key_Up ? -1 : +1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ShortlistPanel::UpdateButtons() {
    const int rows = model_->rowCount();
    const int row =
        shortlistTable->currentIndex().isValid() ? shortlistTable->currentIndex().row() : -1;
    shortlistCountLabel->setText(rows == 0
                                     ? QStringLiteral("まだありません（名付け候補の一覧で Space "
                                                      "キーか ☆ をクリックすると加わります）")
                                     : QStringLiteral("%1 名").arg(rows));
    readButton->setEnabled(row >= 0);
    removeButton->setEnabled(row >= 0);
    upButton->setEnabled(row > 0);
    downButton->setEnabled(row >= 0 && row + 1 < rows);
    for (QPushButton* button : {exportButton, previewButton, printButton}) {
        button->setEnabled(rows > 0);
    }
}

void ShortlistPanel::SelectRow(int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    const int column = std::max(0, shortlistTable->currentIndex().column());
    shortlistTable->setCurrentIndex(model_->index(row, column));
    UpdateButtons();
}

void ShortlistPanel::ReadCurrent() {
    const QModelIndex index = shortlistTable->currentIndex();
    if (!index.isValid()) return;
    const ShortlistEntry& entry = model_->Names().at(static_cast<std::size_t>(index.row())).entry;
    emit NameChosen(QString::fromStdString(entry.SurnameUtf8()),
                    QString::fromStdString(entry.GivenUtf8()), FromCp932(entry.reading),
                    entry.style);
}

void ShortlistPanel::RemoveCurrent() {
    const QModelIndex index = shortlistTable->currentIndex();
    if (!index.isValid()) return;
    const int row = index.row();
    const ShortlistEntry& entry = store_.List().Entries().at(static_cast<std::size_t>(row));
    removed_.emplace_back(entry, static_cast<std::size_t>(row));
    undoLabel->setText(QStringLiteral("「%1 %2」を削除しました")
                           .arg(QString::fromStdString(entry.SurnameUtf8()),
                                QString::fromStdString(entry.GivenUtf8())));
    store_.Remove(static_cast<std::size_t>(row));
    undoBar->show();
    SelectRow(std::min(row, model_->rowCount() - 1));
}

void ShortlistPanel::UndoRemove() {
    if (removed_.empty()) return;
    auto [entry, row] = std::move(removed_.back());
    removed_.pop_back();
    if (removed_.empty()) undoBar->hide();
    const std::size_t before = store_.List().Size();
    store_.Restore(std::move(entry), row);
    if (store_.List().Size() > before) SelectRow(static_cast<int>(std::min(row, before)));
}

void ShortlistPanel::MoveCurrent(int delta) {
    const QModelIndex index = shortlistTable->currentIndex();
    if (!index.isValid()) return;
    const int to = index.row() + delta;
    if (to < 0 || to >= model_->rowCount()) return;
    store_.Move(static_cast<std::size_t>(index.row()), static_cast<std::size_t>(to));
    // A hand-made order is no column's order.
    sortColumn_ = -1;
    shortlistTable->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    SelectRow(to);
}

void ShortlistPanel::SortBy(int column) {
    reversed_ = column == sortColumn_ ? !reversed_ : false;
    sortColumn_ = column;
    store_.Reorder(ComparisonOrder(model_->Names(), ShortlistModel::SortKeyOf(column), reversed_));
    shortlistTable->horizontalHeader()->setSortIndicator(
        column, reversed_ ? Qt::DescendingOrder : Qt::AscendingOrder);
}

QString ShortlistPanel::ExportTo(const QString& path, bool machine) {
    RecordOptions options;
    options.format = path.endsWith(QStringLiteral(".tsv"), Qt::CaseInsensitive) ||
                             path.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)
                         ? Format::Tsv
                         : Format::Csv;
    options.report = false;
    options.reading = true;
    options.note = true;
    std::string out;
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
        try {
            WriteFamilyWorkbook(path, FamilyTable(model_->Names()));
        } catch (const FileWriteError& error) {
            return QString::fromUtf8(error.what());
        }
        return {};
    }
    if (options.format == Format::Csv && !machine) {
        out = FamilyCsv(model_->Names());
    } else {
        RecordWriter writer(tables_, options);
        writer.AppendHeader(out);
        for (const ComparedName& name : model_->Names()) writer.AppendCompared(name, true, out);
    }
    try {
        WriteReportFile(path, out);
    } catch (const FileWriteError& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

void ShortlistPanel::Export() {
    RunCommand([this] {
        QFileDialog dialog(this, QStringLiteral("候補リストの書き出し"));
        dialog.setObjectName(QStringLiteral("exportDialog"));
        dialog.setOptions(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        const QString machineCsv = QStringLiteral("CSV（プログラム用）(*.csv)");
        // The workbook first: LibreOffice reads a CSV file in the system's
        // character set unless asked, garbling its Japanese.
        dialog.setNameFilters({QStringLiteral("Excel ブック（Excel・LibreOffice 用）(*.xlsx)"),
                               QStringLiteral("CSV（Excel 用・UTF-8 BOM 付き）(*.csv)"), machineCsv,
                               QStringLiteral("TSV（UTF-8）(*.tsv)")});
        dialog.setDefaultSuffix(QStringLiteral("xlsx"));
        connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            for (const char* suffix : {"xlsx", "tsv", "csv"}) {
                if (!filter.contains(QLatin1String(suffix))) continue;
                dialog.setDefaultSuffix(QLatin1String(suffix));
                break;
            }
        });
        dialog.selectFile(QStringLiteral("候補リスト.xlsx"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
        const QString failure =
            ExportTo(dialog.selectedFiles().first(), dialog.selectedNameFilter() == machineCsv);
        if (!failure.isEmpty()) QMessageBox::critical(this, QStringLiteral("候補リスト"), failure);
    });
}

void ShortlistPanel::Print() {
    RunCommand(
        [this] { printing::PrintComparison(printDialog_, model_->Names(), QDate::currentDate()); });
}

void ShortlistPanel::Preview() {
    RunCommand([this] {
        if (printing::PreviewComparison(model_->Names(), QDate::currentDate(), this)) Print();
    });
}

}  // namespace soten::ui
