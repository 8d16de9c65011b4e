// The shortlist: names starred in the 名付け候補 dialog by keys and clicks,
// kept across a restart, moved, sorted, noted, exported and printed; the
// main window's command that adds the reading on show; and where the dialog
// opens.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <zip.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"
#include "tests/support/printing/FakePrinterBackend.h"
#include "tests/support/printing/ScopedPrinterBackend.h"
#include "tests/ui/ModalDriver.h"
#include "tests/ui/NamingSteps.h"
#include "ui/app/MainWindow.h"
#include "ui/naming/CandidateTableModel.h"
#include "ui/naming/NameSearchDialog.h"
#include "ui/reading/NameEntryDialog.h"
#include "ui/shortlist/ShortlistModel.h"
#include "ui/shortlist/ShortlistPanel.h"
#include "ui/shortlist/ShortlistStore.h"
#include "ui/widgets/WindowPlacement.h"

namespace {

using soten::test::Control;
using soten::test::WaitForResults;
using soten::ui::CandidateTableModel;
using soten::ui::MainWindow;
using soten::ui::NameSearchDialog;
using soten::ui::ShortlistModel;

QString ListPath() {
    return QFile::decodeName(qgetenv("XDG_DATA_HOME")) + QStringLiteral("/soten/shortlist.json");
}

QString Cell(const QAbstractItemModel* model, int row, int column) {
    return model->index(row, column).data().toString();
}

soten::ShortlistEntry Entry(const char* surname, const char* given, const char* reading,
                            soten::StrokeStyle style = soten::StrokeStyle::Shinji) {
    return {
        soten::Cp932Text(surname), soten::Cp932Text(given), soten::Cp932Text(reading), style, {}};
}

// A main window as the program makes it, with the list file of the test's
// own scratch data folder starting empty.
class Program {
public:
    Program() {
        mainWindow->splashTimer->stop();
        mainWindow->SetEntryDialog(entryDialog.get());
        mainWindow->show();
    }
    ~Program() {
        if (mainWindow->NameSearchDialog()) mainWindow->NameSearchDialog()->close();
    }

    NameSearchDialog* OpenNaming() {
        mainWindow->namingAction->trigger();
        NameSearchDialog* dialog = mainWindow->NameSearchDialog();
        if (dialog) WaitForResults(dialog);
        return dialog;
    }
    std::unique_ptr<MainWindow> mainWindow = std::make_unique<MainWindow>(soten::BuiltInTables());
    std::unique_ptr<soten::ui::NameEntryDialog> entryDialog =
        std::make_unique<soten::ui::NameEntryDialog>(mainWindow.get());
};

class ShortlistTest : public ::testing::Test {
protected:
    ShortlistTest() { QFile::remove(ListPath()); }
    ~ShortlistTest() override { QFile::remove(ListPath()); }
};

// Done when a parent can star five names, close the program, open it
// again, and find the five in the list, in the order starred.
TEST_F(ShortlistTest, FiveNamesStarredByKeysAndClicksSurviveARestart) {
    QStringList starred;
    {
        Program program;
        NameSearchDialog* dialog = program.OpenNaming();
        ASSERT_NE(dialog, nullptr);
        Control<QLineEdit>(dialog, "surnameEdit")->setText(QStringLiteral("佐藤"));
        Control<QLineEdit>(dialog, "readingEdit")->setText(QStringLiteral("ゆい"));
        WaitForResults(dialog);
        QTableView* table = Control<QTableView>(dialog, "resultTable");
        ASSERT_GE(table->model()->rowCount(), 6);
        table->setFocus();
        // Space on rows 0-2, Ctrl+D on row 3, a click on row 4's ☆.
        for (int row = 0; row < 5; ++row) {
            table->setCurrentIndex(table->model()->index(row, CandidateTableModel::Given));
            if (row < 3) QTest::keyClick(table, Qt::Key_Space);
            if (row == 3) QTest::keyClick(table, Qt::Key_D, Qt::ControlModifier);
            if (row == 4) {
                const QRect star =
                    table->visualRect(table->model()->index(row, CandidateTableModel::Star));
                QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, star.center());
            }
            starred << Cell(table->model(), row, CandidateTableModel::Given);
        }
        // Space again takes a star off, and puts it back.
        table->setCurrentIndex(table->model()->index(5, CandidateTableModel::Given));
        QTest::keyClick(table, Qt::Key_Space);
        EXPECT_EQ(Cell(table->model(), 5, CandidateTableModel::Star), QStringLiteral("★"));
        QTest::keyClick(table, Qt::Key_Space);
        for (int row = 0; row < 6; ++row) {
            EXPECT_EQ(Cell(table->model(), row, CandidateTableModel::Star),
                      row < 5 ? QStringLiteral("★") : QStringLiteral("☆"))
                << row;
        }
        EXPECT_EQ(Control<QTabWidget>(dialog, "tabs")->tabText(1),
                  QStringLiteral("候補リスト（5）"));
        // Ctrl+Tab brings the list to the front.
        QTest::keyClick(table, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(Control<QTabWidget>(dialog, "tabs")->currentWidget(),
                  Control<soten::ui::ShortlistPanel>(dialog, "shortlistPanel"));
    }
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(ListPath()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    Program again;
    NameSearchDialog* dialog = again.OpenNaming();
    ASSERT_NE(dialog, nullptr);
    const ShortlistModel* model =
        Control<soten::ui::ShortlistPanel>(dialog, "shortlistPanel")->Model();
    ASSERT_EQ(model->rowCount(), 5);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(Cell(model, row, ShortlistModel::Surname), QStringLiteral("佐藤"));
        EXPECT_EQ(Cell(model, row, ShortlistModel::Given), starred[row]);
        EXPECT_EQ(Cell(model, row, ShortlistModel::Reading), QStringLiteral("ゆい"));
        EXPECT_EQ(Cell(model, row, ShortlistModel::Style), QStringLiteral("新字式"));
    }
    // ... and print them side by side.
    soten::test::ScopedPrinterBackend printing;
    printing.Fake().printers.push_back(
        soten::printing::FakePrinterBackend::StandardPrinter("Office"));
    dialog->ShowShortlist();
    // Mnemonics (Alt+key) reach only the active window.
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    QTest::keyClick(dialog, Qt::Key_0, Qt::AltModifier);  // the button animates its click
    ASSERT_TRUE(QTest::qWaitFor([&printing] { return !printing.Fake().documents.empty(); }));
    EXPECT_EQ(printing.Fake().documents[0].pages.size(), 1u);
}

TEST_F(ShortlistTest, ListIsMovedSortedNotedExportedAndPrintedByKeys) {
    soten::test::ScopedPrinterBackend printing;
    printing.Fake().printers.push_back(
        soten::printing::FakePrinterBackend::StandardPrinter("Office"));
    Program program;
    soten::ui::ShortlistStore& store = *program.mainWindow->Shortlist();
    store.Add(Entry("山田", "太郎", "たろう"));
    store.Add(Entry("佐藤", "結衣", "ゆい", soten::StrokeStyle::Honji));
    store.Add(Entry("鈴木", "a", ""));  // no reading: listed with the refusal
    store.Add(Entry("伊藤", "翔太", "しょうた"));
    NameSearchDialog* dialog = program.OpenNaming();
    ASSERT_NE(dialog, nullptr);
    dialog->ShowShortlist();
    soten::ui::ShortlistPanel* panel = Control<soten::ui::ShortlistPanel>(dialog, "shortlistPanel");
    QTableView* table = panel->shortlistTable;
    const ShortlistModel* model = panel->Model();
    EXPECT_EQ(Cell(model, 2, ShortlistModel::Strokes),
              QStringLiteral("不適切な文字があります　「a」は辞書にありません"));

    table->setFocus();
    table->setCurrentIndex(model->index(0, ShortlistModel::Given));
    QTest::keyClick(table, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Cell(model, 1, ShortlistModel::Given), QStringLiteral("太郎"));
    EXPECT_EQ(table->currentIndex().row(), 1);
    QTest::keyClick(table, Qt::Key_Delete);
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(store.List().Size(), 3u);

    // A header click puts the list in that column's order, for good.
    const QHeaderView* header = table->horizontalHeader();
    const QPoint scoreHeader(header->sectionViewportPosition(ShortlistModel::Score) + 4,
                             header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, scoreHeader);
    EXPECT_GE(Cell(model, 0, ShortlistModel::Score).toInt(),
              Cell(model, 1, ShortlistModel::Score).toInt());
    EXPECT_EQ(Cell(model, 2, ShortlistModel::Given), QStringLiteral("a"));

    // F2 writes the note, which goes to the file.
    table->setCurrentIndex(model->index(0, ShortlistModel::Note));
    QTest::keyClick(table, Qt::Key_F2);
    QLineEdit* editor = table->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    for (const QChar ch : QStringLiteral("祖母の案")) {
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    QTest::keyClick(editor, Qt::Key_Return);  // the delegate commits a moment later
    EXPECT_TRUE(QTest::qWaitFor(
        [&store] { return store.List().Entries()[0].note == soten::Cp932Text("祖母の案"); }));
    QFile file(ListPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(QStringLiteral("祖母の案")));

    // 書き出し: a name typed without its ending is written as a workbook,
    // or as CSV, for a spreadsheet unless the program's CSV is chosen.
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto exportAs = [&](const QString& file, const QString& filter) {
        soten::test::ModalDriver driver;
        driver.Then([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            if (!filter.isEmpty()) {
                // As the file type box does when the user picks one.
                dialog->selectNameFilter(filter);
                emit dialog->filterSelected(filter);
            }
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(folder.filePath(file));
            QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); });
        });
        panel->exportButton->click();
        EXPECT_TRUE(driver.Done());
    };
    exportAs(QStringLiteral("家族"), {});
    int zipError = 0;
    zip_t* workbook = zip_open(QFile::encodeName(folder.filePath(QStringLiteral("家族.xlsx"))),
                               ZIP_RDONLY, &zipError);
    ASSERT_NE(workbook, nullptr) << zipError;
    zip_file_t* strings = zip_fopen(workbook, "xl/sharedStrings.xml", 0);
    ASSERT_NE(strings, nullptr);
    QByteArray stringBytes(1 << 16, '\0');
    stringBytes.truncate(static_cast<int>(zip_fread(strings, stringBytes.data(), 1 << 16)));
    zip_fclose(strings);
    zip_close(workbook);
    for (const QString& text : {QStringLiteral("名字"), QStringLiteral("ローマ字"),
                                QStringLiteral("佐藤"), QStringLiteral("祖母の案")}) {
        EXPECT_TRUE(QString::fromUtf8(stringBytes).contains(text)) << text.toStdString();
    }

    exportAs(QStringLiteral("家族"), QStringLiteral("CSV（Excel 用・UTF-8 BOM 付き）(*.csv)"));
    QFile family(folder.filePath(QStringLiteral("家族.csv")));
    ASSERT_TRUE(family.open(QIODevice::ReadOnly));
    const QByteArray familyBytes = family.readAll();
    EXPECT_TRUE(familyBytes.startsWith("\xEF\xBB\xBF名字,名前,読み,"))
        << familyBytes.left(40).toStdString();
    EXPECT_EQ(familyBytes.count("\r\n"), 4);

    exportAs(QStringLiteral("候補"), QStringLiteral("CSV（プログラム用）(*.csv)"));
    QFile exported(folder.filePath(QStringLiteral("候補.csv")));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(exported.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 5);  // the header, three names, the empty end
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("line,surname,given,reading,style,")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(",note"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(",祖母の案"))) << lines[1].toStdString();

    panel->printButton->click();
    ASSERT_EQ(printing.Fake().documents.size(), 1u);
    EXPECT_EQ(printing.Fake().documents[0].title, QStringLiteral("蒼天姓名判断 名前の比較"));
}

TEST_F(ShortlistTest, ARemovedNameComesBackWithItsNoteAndPlace) {
    Program program;
    soten::ui::ShortlistStore& store = *program.mainWindow->Shortlist();
    store.Add(Entry("山田", "太郎", "たろう"));
    store.Add(Entry("佐藤", "結衣", "ゆい"));
    store.Add(Entry("伊藤", "翔太", "しょうた"));
    store.SetNote(1, soten::Cp932Text("祖母の案"));
    NameSearchDialog* dialog = program.OpenNaming();
    ASSERT_NE(dialog, nullptr);
    dialog->ShowShortlist();
    soten::ui::ShortlistPanel* panel = Control<soten::ui::ShortlistPanel>(dialog, "shortlistPanel");
    const ShortlistModel* model = panel->Model();
    EXPECT_EQ(Cell(model, 0, ShortlistModel::Registrable), QStringLiteral("可"));
    // 佐藤 has one reading in the name dictionary.
    EXPECT_EQ(Cell(model, 1, ShortlistModel::Romaji), QStringLiteral("SATO YUI"));

    QTableView* table = panel->shortlistTable;
    table->setFocus();
    table->setCurrentIndex(model->index(1, ShortlistModel::Given));
    QTest::keyClick(table, Qt::Key_Delete);  // asks nothing
    ASSERT_EQ(store.List().Size(), 2u);
    EXPECT_TRUE(panel->undoBar->isVisibleTo(panel));
    QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(store.List().Size(), 3u);
    EXPECT_EQ(Cell(model, 1, ShortlistModel::Given), QStringLiteral("結衣"));
    EXPECT_EQ(store.List().Entries()[1].note, soten::Cp932Text("祖母の案"));
    EXPECT_FALSE(panel->undoBar->isVisibleTo(panel));
}

TEST_F(ShortlistTest, DamagedFileIsReportedOnceAndKeptAside) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(ListPath()).path()));
    {
        QFile damaged(ListPath());
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"version\": 1, \"entries\": [");
    }
    Program program;
    QStringList boxes;
    const auto answer = [&boxes](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        boxes << box->text();
        box->button(QMessageBox::Ok)->click();
    };
    soten::test::ModalDriver driver;
    driver.Then(answer).Then(answer);
    NameSearchDialog* dialog = program.OpenNaming();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(boxes.size(), 1);
    program.mainWindow->Shortlist()->Add(Entry("佐藤", "結衣", "ゆい"));
    dialog->close();
    program.OpenNaming();
    QTest::qWait(50);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("shortlist.json.bak"))) << boxes[0].toStdString();
    QFile kept(ListPath() + QStringLiteral(".bak"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("{\"version\": 1, \"entries\": ["));
    EXPECT_EQ(program.mainWindow->Shortlist()->List().Size(), 1u);
    QFile::remove(ListPath() + QStringLiteral(".bak"));
}

TEST_F(ShortlistTest, AnAddedNameIsInsertedAndAKeptCharacterCodePage932LacksIsShown) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(ListPath()).path()));
    {
        QFile kept(ListPath());
        ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
        kept.write(R"({"version": 1, "entries": [{"surname": "𠮷田", "given": "一"}]})");
    }
    soten::ui::ShortlistStore store(nullptr);
    ShortlistModel model(nullptr, store, soten::BuiltInTables());
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(Cell(&model, 0, ShortlistModel::Surname), QStringLiteral("𠮷田"));
    EXPECT_EQ(Cell(&model, 0, ShortlistModel::Strokes),
              QStringLiteral("不適切な文字があります　「𠮷」は辞書にありません"));

    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    ASSERT_TRUE(store.Add(Entry("佐藤", "結衣", "ゆい")));
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(inserted.count(), 1);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(Cell(&model, 1, ShortlistModel::Given), QStringLiteral("結衣"));
    QFile saved(ListPath());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("\"𠮷田\""));
}

TEST_F(ShortlistTest, ReadingOnShowIsAddedAndAPickedNameKeepsItsReadingInTheTitle) {
    Program program;
    program.mainWindow->ReadChosenName(QStringLiteral("佐藤"), QStringLiteral("結衣"),
                                       QStringLiteral("ゆい"), soten::StrokeStyle::Shinji);
    program.mainWindow->ReadChosenName(QStringLiteral("山田"), QStringLiteral("太郎"), QString(),
                                       soten::StrokeStyle::Honji);
    EXPECT_EQ(program.mainWindow->windowTitle(),
              QStringLiteral("蒼天姓名判断 — 山田 太郎（本字式）"));
    program.mainWindow->shortlistAction->trigger();
    NameSearchDialog* dialog = program.mainWindow->NameSearchDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Control<QTabWidget>(dialog, "tabs")->currentWidget(),
              Control<soten::ui::ShortlistPanel>(dialog, "shortlistPanel"));
    soten::ui::ShortlistStore& store = *program.mainWindow->Shortlist();
    store.Add(Entry("佐藤", "結衣", "ゆい"));
    ASSERT_EQ(store.List().Size(), 2u);
    EXPECT_EQ(store.List().Entries()[0].style, soten::StrokeStyle::Honji);

    QTableView* table =
        Control<soten::ui::ShortlistPanel>(dialog, "shortlistPanel")->shortlistTable;
    table->setFocus();
    table->setCurrentIndex(table->model()->index(1, ShortlistModel::Given));
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(program.mainWindow->windowTitle(),
              QStringLiteral("蒼天姓名判断 — 佐藤 結衣（ゆい・新字式）"));
}

TEST(DialogPlacement, BesideTheOwnerWhereThereIsRoomElseCoveringLeastOfThePane) {
    const QRect screen(0, 0, 1600, 1000);
    const QRect owner(100, 100, 640, 480);
    const QRect pane(110, 300, 620, 270);
    const struct {
        QRect owner;
        QSize wanted;
        QRect expected;
    } cases[] = {
        {owner, {800, 600}, QRect(740, 100, 800, 600)},                     // right
        {owner.translated(800, 0), {800, 600}, QRect(100, 100, 800, 600)},  // left
        {QRect(0, 0, 1600, 480), {800, 400}, QRect(0, 480, 800, 400)},      // below
    };
    for (const auto& c : cases) {
        const QRect paneHere = pane.translated(c.owner.topLeft() - owner.topLeft());
        EXPECT_EQ(soten::ui::PlaceBeside(c.owner, paneHere, c.wanted, screen), c.expected)
            << c.owner.x() << "," << c.owner.y();
    }
    // No side has room: the place covers least of the pane, inside the screen.
    const QRect big(0, 0, 1500, 950);
    const QRect bigPane(10, 500, 1480, 440);
    const QRect place = soten::ui::PlaceBeside(big, bigPane, {800, 600}, screen);
    EXPECT_EQ(place, QRect(800, 0, 800, 600));
    // Bigger than the screen: it shrinks to it.
    EXPECT_EQ(soten::ui::PlaceBeside(owner, pane, {2000, 1200}, screen), screen);
}

// At scale 2 a 1600×1000 screen is 800×500 pixels of layout: the dialog
// must fit there whole, scrolling its filters rather than hiding buttons.
TEST_F(ShortlistTest, DialogFitsAHalfSizedScreen) {
    Program program;
    NameSearchDialog* dialog = program.OpenNaming();
    ASSERT_NE(dialog, nullptr);
    const QSize least = dialog->minimumSizeHint();
    EXPECT_LE(least.width(), 800);
    EXPECT_LE(least.height(), 460);  // the screen less a title bar and a panel
    dialog->resize(800, 460);
    QCoreApplication::processEvents();
    auto* scroll = dialog->findChild<QScrollArea*>(QStringLiteral("searchScroll"));
    ASSERT_NE(scroll, nullptr);
    for (QWidget* button : dialog->findChildren<QPushButton*>()) {
        if (!button->isVisibleTo(dialog)) continue;
        if (scroll->isAncestorOf(button)) {
            scroll->ensureWidgetVisible(button);
            QCoreApplication::processEvents();
        }
        const QRect inDialog(button->mapTo(dialog, QPoint(0, 0)), button->size());
        EXPECT_TRUE(dialog->rect().contains(inDialog)) << button->objectName().toStdString();
    }
}

}  // namespace
