// The 名付け候補 dialog: opened from the main window, filtered by keys, its
// table against the search itself, and a picked name read in the main window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "analysis/naming/NameSearch.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"
#include "tests/ui/NamingSteps.h"
#include "ui/app/MainWindow.h"
#include "ui/naming/CandidateTableModel.h"
#include "ui/naming/NameSearchDialog.h"
#include "ui/reading/NameEntryDialog.h"

namespace {

using soten::test::Control;
using soten::test::SearchTimeoutMs;
using soten::test::WaitForResults;
using soten::ui::CandidateTableModel;
using soten::ui::MainWindow;
using soten::ui::NameEntryDialog;
using soten::ui::NameSearchDialog;

class NameSearchDialogTest : public ::testing::Test {
protected:
    NameSearchDialogTest() {
        mainWindow.splashTimer->stop();
        mainWindow.SetEntryDialog(&entryDialog);
        mainWindow.show();
    }
    ~NameSearchDialogTest() override {
        if (mainWindow.NameSearchDialog()) mainWindow.NameSearchDialog()->close();
    }

    // Opens the dialog by its shortcut's action and waits for its first page.
    NameSearchDialog* Open() {
        mainWindow.namingAction->trigger();
        NameSearchDialog* dialog = mainWindow.NameSearchDialog();
        if (!dialog) return nullptr;
        // Mnemonics (Alt+letter) reach only the active window.
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        WaitForResults(dialog);
        return dialog;
    }

    // Types text key by key, as an input method hands over each character.
    static void Type(QWidget* widget, const QString& text) {
        for (const QChar ch : text) {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }

    static QString Cell(const QTableView* table, int row, int column, int role = Qt::DisplayRole) {
        return table->model()->index(row, column).data(role).toString();
    }

    // Alt+key on a check box: focus, then (a moment later, as the button
    // animates its click) the tick; then the search it starts.
    static void PressMnemonic(NameSearchDialog* dialog, Qt::Key key, QCheckBox* box) {
        QTest::keyClick(dialog, key, Qt::AltModifier);
        EXPECT_TRUE(box->hasFocus());
        EXPECT_TRUE(QTest::qWaitFor([box] { return box->isChecked(); }, SearchTimeoutMs));
        WaitForResults(dialog);
    }

    static void ClickHeader(NameSearchDialog* dialog, int column) {
        QHeaderView* header = Control<QTableView>(dialog, "resultTable")->horizontalHeader();
        const QPoint point(header->sectionViewportPosition(column) + 4, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
        WaitForResults(dialog);
    }

    // The rows shown, against the search run with the filters the dialog shows.
    static void ExpectRowsOfTheSearch(NameSearchDialog* dialog) {
        const auto expected = soten::SearchNames(dialog->CurrentFilters(), soten::BuiltInTables(),
                                                 soten::BuiltInNameSearchData());
        const QTableView* table = Control<QTableView>(dialog, "resultTable");
        ASSERT_EQ(static_cast<std::size_t>(table->model()->rowCount()), expected.candidates.size());
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            const auto& candidate = expected.candidates[static_cast<std::size_t>(row)];
            EXPECT_EQ(Cell(table, row, CandidateTableModel::Given),
                      QString::fromStdString(soten::Cp932::ToUtf8Lossy(candidate.given)));
            EXPECT_EQ(Cell(table, row, CandidateTableModel::Yomi),
                      QString::fromStdString(soten::Cp932::ToUtf8Lossy(candidate.yomi)));
        }
    }
    MainWindow mainWindow{soten::BuiltInTables()};
    NameEntryDialog entryDialog{&mainWindow};
};

TEST_F(NameSearchDialogTest, KeyedFiltersFillTheTableAsTheSearchAnswers) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    Control<QLineEdit>(dialog, "surnameEdit")->setFocus();
    Control<QLineEdit>(dialog, "surnameEdit")->clear();
    Type(Control<QLineEdit>(dialog, "surnameEdit"), QStringLiteral("山田"));
    Control<QComboBox>(dialog, "genderBox")->setFocus();
    QTest::keyClick(Control<QComboBox>(dialog, "genderBox"), Qt::Key_Down);  // 女性
    for (const char* name : {"PersonGradeBox", "EarthGradeBox", "OuterGradeBox", "TotalGradeBox"}) {
        QComboBox* grade = Control<QComboBox>(dialog, name);
        grade->setFocus();
        QTest::keyClick(grade, Qt::Key_Down);  // △以上: no ×
    }
    WaitForResults(dialog);

    soten::NameSearchFilters filters;
    filters.surname = soten::Cp932Text("山田");
    filters.gender = soten::GenderFilter::Female;
    filters.worstGrade = {4, 3, 3, 3, 3};
    const auto expected =
        soten::SearchNames(filters, soten::BuiltInTables(), soten::BuiltInNameSearchData());
    ASSERT_GT(expected.count, 100u);
    EXPECT_EQ(
        Control<QLabel>(dialog, "countLabel")->text(),
        QStringLiteral("該当 %1 件")
            .arg(QLocale(QLocale::Japanese).toString(static_cast<qulonglong>(expected.count))));
    const QTableView* table = Control<QTableView>(dialog, "resultTable");
    ASSERT_EQ(table->model()->rowCount(), NameSearchDialog::PageSize);
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        const auto& candidate = expected.candidates[static_cast<std::size_t>(row)];
        EXPECT_EQ(Cell(table, row, CandidateTableModel::Given),
                  QString::fromStdString(soten::Cp932::ToUtf8Lossy(candidate.given)));
        // Girls' names and names given to both.
        EXPECT_TRUE(Cell(table, row, CandidateTableModel::Gender) == QStringLiteral("女性") ||
                    Cell(table, row, CandidateTableModel::Gender) == QStringLiteral("男女"));
        EXPECT_EQ(Cell(table, row, CandidateTableModel::TotalFortune),
                  QStringLiteral("%1 %2")
                      .arg(candidate.record.Fortunes[soten::Total])
                      .arg(QString::fromStdString(soten::Cp932::ToUtf8Lossy(soten::GradeMark(
                                                      candidate.keywords[soten::Total].grade)))
                               .trimmed()));
        for (int column = CandidateTableModel::PersonFortune;
             column <= CandidateTableModel::TotalFortune; ++column) {
            EXPECT_FALSE(Cell(table, row, column).endsWith(QStringLiteral("×")));
        }
    }
    EXPECT_FALSE(Control<QPushButton>(dialog, "previousButton")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(dialog, "nextButton")->isEnabled());
    EXPECT_FALSE(table->accessibleName().isEmpty());
}

// A parent types ゆい for a girl, then looks at every spelling read ゆい, then
// lets in the names a registry office refuses: all by keys.
TEST_F(NameSearchDialogTest, TheSurnamesReadingSpellsTheWholeNameAndNotesItsSound) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Control<QLineEdit>(dialog, "surnameEdit")->clear();
    Type(Control<QLineEdit>(dialog, "surnameEdit"), QStringLiteral("佐藤"));
    Type(Control<QLineEdit>(dialog, "readingEdit"), QStringLiteral("とうま"));
    WaitForResults(dialog);
    auto* surnameYomi = Control<QLineEdit>(dialog, "surnameYomi");
    EXPECT_EQ(surnameYomi->text(), QStringLiteral("さとう"));
    const QTableView* table = Control<QTableView>(dialog, "resultTable");
    ASSERT_GT(table->model()->rowCount(), 0);
    EXPECT_EQ(Cell(table, 0, CandidateTableModel::Romaji), QStringLiteral("SATO TOMA"));
    EXPECT_TRUE(Cell(table, 0, CandidateTableModel::SoundNotes)
                    .startsWith(QStringLiteral("「とう」が続けて二度")));
    // The parent's own reading of the surname, and the list keeps it.
    surnameYomi->setText(QStringLiteral("さどう"));
    EXPECT_EQ(Cell(table, 0, CandidateTableModel::Romaji), QStringLiteral("SADO TOMA"));
    auto* model = qobject_cast<const CandidateTableModel*>(table->model());
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->EntryOf(0).surnameReading, soten::Cp932Text("さどう"));
}

TEST_F(NameSearchDialogTest, YuiByKeysInBothSpacesWithTheNewChecks) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Control<QLineEdit>(dialog, "surnameEdit")->setFocus();
    Control<QLineEdit>(dialog, "surnameEdit")->clear();
    Type(Control<QLineEdit>(dialog, "surnameEdit"), QStringLiteral("佐藤"));
    Control<QLineEdit>(dialog, "readingEdit")->setFocus();
    Type(Control<QLineEdit>(dialog, "readingEdit"), QStringLiteral("ユイ"));
    Control<QComboBox>(dialog, "genderBox")->setFocus();
    QTest::keyClick(Control<QComboBox>(dialog, "genderBox"), Qt::Key_Down);  // 女性
    WaitForResults(dialog);
    EXPECT_FALSE(Control<QCheckBox>(dialog, "includeUnspecifiedBox")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(dialog, "includeUnspecifiedBox")->isEnabled());
    QTableView* table = Control<QTableView>(dialog, "resultTable");
    ExpectRowsOfTheSearch(dialog);
    QStringList names;
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        names << Cell(table, row, CandidateTableModel::Given);
        EXPECT_EQ(Cell(table, row, CandidateTableModel::Yomi), QStringLiteral("ゆい"));
        EXPECT_NE(Cell(table, row, CandidateTableModel::Gender), QStringLiteral("不明"));
    }
    EXPECT_TRUE(names.contains(QStringLiteral("結衣")));

    // Names with no gender given come in behind the check box (Alt+U).
    PressMnemonic(dialog, Qt::Key_U, Control<QCheckBox>(dialog, "includeUnspecifiedBox"));
    EXPECT_TRUE(dialog->CurrentFilters().includeUnspecified);
    ExpectRowsOfTheSearch(dialog);

    // Every registrable spelling whose composed reading is ゆい.
    Control<QComboBox>(dialog, "spaceBox")->setFocus();
    QTest::keyClick(Control<QComboBox>(dialog, "spaceBox"), Qt::Key_Down);
    Control<QComboBox>(dialog, "genderBox")->setFocus();
    QTest::keyClick(Control<QComboBox>(dialog, "genderBox"), Qt::Key_Up);
    WaitForResults(dialog);
    EXPECT_TRUE(Control<QLabel>(dialog, "countLabel")->text().startsWith(QStringLiteral("該当 ")));
    EXPECT_FALSE(Control<QLabel>(dialog, "countLabel")->text().contains(QStringLiteral("（")));
    EXPECT_FALSE(table->isColumnHidden(CandidateTableModel::Yomi));
    EXPECT_TRUE(table->isColumnHidden(CandidateTableModel::Gender));
    ExpectRowsOfTheSearch(dialog);
    ASSERT_GT(table->model()->rowCount(), 10);
    EXPECT_FALSE(table->model()
                     ->headerData(CandidateTableModel::Given, Qt::Horizontal, Qt::ToolTipRole)
                     .toString()
                     .isEmpty());

    // A set no name can satisfy is refused with the reason.
    Control<QSpinBox>(dialog, "moraeBox")->setFocus();
    QTest::keyClick(Control<QSpinBox>(dialog, "moraeBox"), Qt::Key_Up);  // 1 音
    WaitForResults(dialog);
    EXPECT_EQ(Control<QLabel>(dialog, "countLabel")->text(),
              QStringLiteral("該当 0 件（音の数と読みの指定が合いません）"));
    QTest::keyClick(Control<QSpinBox>(dialog, "moraeBox"), Qt::Key_Down);

    // The dictionary's names read ああ, with those a registry office refuses.
    Control<QComboBox>(dialog, "spaceBox")->setFocus();
    QTest::keyClick(Control<QComboBox>(dialog, "spaceBox"), Qt::Key_Up);
    Control<QLineEdit>(dialog, "readingEdit")->clear();
    Type(Control<QLineEdit>(dialog, "readingEdit"), QStringLiteral("ああ"));
    PressMnemonic(dialog, Qt::Key_J, Control<QCheckBox>(dialog, "includeUnregistrableBox"));
    ASSERT_TRUE(Control<QCheckBox>(dialog, "includeUnregistrableBox")->isChecked());
    EXPECT_FALSE(table->isColumnHidden(CandidateTableModel::Registrable));
    ExpectRowsOfTheSearch(dialog);
    bool marked = false;
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        if (Cell(table, row, CandidateTableModel::Given) != QStringLiteral("嗟")) continue;
        marked = true;
        EXPECT_EQ(Cell(table, row, CandidateTableModel::Registrable), QStringLiteral("※"));
        EXPECT_TRUE(Cell(table, row, CandidateTableModel::Registrable, Qt::ToolTipRole)
                        .contains(QStringLiteral("嗟")));
    }
    EXPECT_TRUE(marked);
}

// A click on a header sorts the whole result; a second click turns it round.
TEST_F(NameSearchDialogTest, HeaderClicksSortTheWholeResult) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Control<QLineEdit>(dialog, "surnameEdit")->setText(QStringLiteral("山田"));
    WaitForResults(dialog);
    for (const auto& [column, key] : std::vector<std::pair<int, soten::SortKey>>{
             {CandidateTableModel::TotalFortune, soten::SortKey::Total},
             {CandidateTableModel::Yomi, soten::SortKey::Yomi}}) {
        ClickHeader(dialog, column);
        EXPECT_EQ(dialog->CurrentFilters().sort, key);
        EXPECT_FALSE(dialog->CurrentFilters().reversed);
        ExpectRowsOfTheSearch(dialog);
        ClickHeader(dialog, column);
        EXPECT_TRUE(dialog->CurrentFilters().reversed);
        EXPECT_EQ(
            Control<QTableView>(dialog, "resultTable")->horizontalHeader()->sortIndicatorSection(),
            column);
        EXPECT_EQ(
            Control<QTableView>(dialog, "resultTable")->horizontalHeader()->sortIndicatorOrder(),
            Qt::DescendingOrder);
        ExpectRowsOfTheSearch(dialog);
    }
}

TEST_F(NameSearchDialogTest, ContradictoryFiltersShowZeroAndWhy) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Control<QLineEdit>(dialog, "surnameEdit")->setText(QStringLiteral("山田"));
    Control<QComboBox>(dialog, "spaceBox")->setCurrentIndex(1);
    Control<QComboBox>(dialog, "genderBox")->setCurrentIndex(1);
    WaitForResults(dialog);
    EXPECT_TRUE(
        Control<QLabel>(dialog, "countLabel")->text().startsWith(QStringLiteral("該当 0 件（")))
        << Control<QLabel>(dialog, "countLabel")->text().toStdString();
    EXPECT_EQ(Control<QTableView>(dialog, "resultTable")->model()->rowCount(), 0);

    Control<QComboBox>(dialog, "genderBox")->setCurrentIndex(0);
    Control<QLineEdit>(dialog, "containsEdit")->setText(QStringLiteral("翔"));
    WaitForResults(dialog);
    EXPECT_EQ(Control<QTableView>(dialog, "resultTable")->model()->rowCount(),
              NameSearchDialog::PageSize);
    EXPECT_TRUE(Cell(Control<QTableView>(dialog, "resultTable"), 0, CandidateTableModel::Given)
                    .contains(QStringLiteral("翔")));
}

TEST_F(NameSearchDialogTest, DoubleClickAndEnterMakeTheReadingInTheMainWindow) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Control<QLineEdit>(dialog, "surnameEdit")->setText(QStringLiteral("佐々木"));
    Control<QComboBox>(dialog, "styleBox")->setCurrentIndex(1);  // 本字式
    WaitForResults(dialog);
    QTableView* table = Control<QTableView>(dialog, "resultTable");
    ASSERT_GE(table->model()->rowCount(), 2);
    // Sorted by 画数 so the rows shown differ from the first page's order.
    ClickHeader(dialog, CandidateTableModel::Strokes);
    EXPECT_LE(Cell(table, 0, CandidateTableModel::Strokes).size(), 2);

    for (int row : {0, 1}) {
        const QString given = Cell(table, row, CandidateTableModel::Given);
        if (row == 0) {
            const QRect cell =
                table->visualRect(table->model()->index(row, CandidateTableModel::Given));
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        } else {
            table->setFocus();
            table->setCurrentIndex(table->model()->index(row, CandidateTableModel::Given));
            QTest::keyClick(table, Qt::Key_Return);
        }
        ASSERT_NE(mainWindow.ShownReading(), nullptr);
        EXPECT_EQ(mainWindow.ShownReading()->Style(), soten::StrokeStyle::Honji);
        EXPECT_EQ(mainWindow.ShownReading()->Counted().Names[soten::Surname],
                  soten::Cp932Text("佐々木"));
        EXPECT_EQ(mainWindow.ShownReading()->Counted().Names[soten::GivenName],
                  soten::Cp932::NameFromUtf8(given.toStdString()).value());
        EXPECT_EQ(entryDialog.Style(), soten::StrokeStyle::Honji);
        EXPECT_TRUE(entryDialog.styleButtons[1]->isChecked());
        EXPECT_EQ(entryDialog.givenNameBox->itemText(0), given);
        EXPECT_EQ(entryDialog.surnameBox->itemText(0), QStringLiteral("佐々木"));
        EXPECT_TRUE(mainWindow.saveAsAction->isEnabled());
        EXPECT_TRUE(mainWindow.reportHolder.UnicodeText().contains(given.left(1)));
        // The reading travels with the name to the caption.
        EXPECT_TRUE(mainWindow.windowTitle().endsWith(
            QStringLiteral("（%1・本字式）").arg(Cell(table, row, CandidateTableModel::Yomi))))
            << mainWindow.windowTitle().toStdString();
    }
}

TEST_F(NameSearchDialogTest, SansaiAndInyoFiltersKeepOnlyTheVerdictsAsked) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Control<QLineEdit>(dialog, "surnameEdit")->setText(QStringLiteral("山田"));
    Control<QComboBox>(dialog, "sansaiBox")->setCurrentIndex(2);  // 大吉のみ
    Control<QCheckBox>(dialog, "inyoBox")->setChecked(true);
    WaitForResults(dialog);
    EXPECT_EQ(dialog->CurrentFilters().worstSansai, soten::SansaiVerdict::VeryGood);
    EXPECT_TRUE(dialog->CurrentFilters().inyoOk);
    const QTableView* table = Control<QTableView>(dialog, "resultTable");
    ASSERT_GT(table->model()->rowCount(), 0);
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        EXPECT_EQ(Cell(table, row, CandidateTableModel::Sansai), QStringLiteral("大吉"));
        EXPECT_NE(Cell(table, row, CandidateTableModel::Inyo), QStringLiteral("凶"));
    }
}

}  // namespace
