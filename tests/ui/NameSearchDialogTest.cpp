// The 名付け候補 dialog: opened from the main window, filtered by keys, its
// table against the search itself, and a picked name read in the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "analysis/naming/NameSearch.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"
#include "tests/ui/NamingSteps.h"
#include "ui/app/MainWindow.h"
#include "ui/naming/CandidateTableModel.h"
#include "ui/naming/NameSearchDialog.h"
#include "ui/naming/SearchFilterForm.h"
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
        // Girls' names, names given to both and those inferred from their parts.
        const QString gender = Cell(table, row, CandidateTableModel::Gender);
        EXPECT_TRUE(gender == QStringLiteral("女性") || gender == QStringLiteral("男女") ||
                    gender == QStringLiteral("女性（推定）"))
            << gender.toStdString();
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
        // The yomi's tooltip gives its registry check with the parts.
        if (names.last() == QStringLiteral("結衣")) {
            EXPECT_EQ(Cell(table, row, CandidateTableModel::Yomi, Qt::ToolTipRole),
                      QStringLiteral("戸籍の読み：一般の読み（結＝ゆ・衣＝い）"));
        }
    }
    EXPECT_TRUE(names.contains(QStringLiteral("結衣")));

    // Names with no gender given come in behind the check box (Alt+U).
    PressMnemonic(dialog, Qt::Key_U, Control<QCheckBox>(dialog, "includeUnspecifiedBox"));
    EXPECT_TRUE(dialog->CurrentFilters().includeUnspecified);
    ExpectRowsOfTheSearch(dialog);

    // Every registrable spelling whose composed reading is ゆい, behind
    // 詳しい条件 (Alt+A); composed names have no gender.
    Control<QComboBox>(dialog, "genderBox")->setFocus();
    QTest::keyClick(Control<QComboBox>(dialog, "genderBox"), Qt::Key_Up);
    QTest::keyClick(dialog, Qt::Key_A, Qt::AltModifier);
    // The button animates its click, as a check box does.
    ASSERT_TRUE(QTest::qWaitFor(
        [dialog] { return Control<QToolButton>(dialog, "advancedButton")->isChecked(); },
        SearchTimeoutMs));
    Control<QComboBox>(dialog, "spaceBox")->setFocus();
    QTest::keyClick(Control<QComboBox>(dialog, "spaceBox"), Qt::Key_Down);
    WaitForResults(dialog);
    EXPECT_TRUE(Control<QLabel>(dialog, "countLabel")->text().startsWith(QStringLiteral("該当 ")));
    EXPECT_FALSE(Control<QLabel>(dialog, "countLabel")->text().contains(QStringLiteral("（")));
    EXPECT_FALSE(table->isColumnHidden(CandidateTableModel::Yomi));
    EXPECT_TRUE(table->isColumnHidden(CandidateTableModel::Gender));
    ExpectRowsOfTheSearch(dialog);
    ASSERT_GT(table->model()->rowCount(), 10);
    // Readings no real name uses come in behind the check box (Alt+H).
    EXPECT_TRUE(dialog->CurrentFilters().commonOnly);
    PressMnemonic(dialog, Qt::Key_H, Control<QCheckBox>(dialog, "anyReadingBox"));
    EXPECT_FALSE(dialog->CurrentFilters().commonOnly);
    ExpectRowsOfTheSearch(dialog);
    PressMnemonic(dialog, Qt::Key_H, Control<QCheckBox>(dialog, "anyReadingBox"));
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
        EXPECT_EQ(Cell(table, row, CandidateTableModel::Registrable), QStringLiteral("字×"));
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
    Control<QLineEdit>(dialog, "readingEdit")->setText(QStringLiteral("ゆい"));
    Control<QSpinBox>(dialog, "moraeBox")->setValue(1);
    WaitForResults(dialog);
    EXPECT_TRUE(
        Control<QLabel>(dialog, "countLabel")->text().startsWith(QStringLiteral("該当 0 件（")))
        << Control<QLabel>(dialog, "countLabel")->text().toStdString();
    EXPECT_EQ(Control<QTableView>(dialog, "resultTable")->model()->rowCount(), 0);

    Control<QSpinBox>(dialog, "moraeBox")->setValue(0);
    Control<QLineEdit>(dialog, "readingEdit")->clear();
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

TEST_F(NameSearchDialogTest, AvoidedKanjiNamesComeWithTheBoxAndTheirTooltipSaysWhy) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Control<QToolButton>(dialog, "advancedButton")->click();
    Control<QLineEdit>(dialog, "surnameEdit")->setText(QStringLiteral("佐藤"));
    Type(Control<QLineEdit>(dialog, "readingEdit"), QStringLiteral("しけい"));
    WaitForResults(dialog);
    const QTableView* table = Control<QTableView>(dialog, "resultTable");
    const auto rowOf = [table](const QString& given) {
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            if (Cell(table, row, CandidateTableModel::Given) == given) return row;
        }
        return -1;
    };
    EXPECT_EQ(rowOf(QStringLiteral("死刑")), -1);
    PressMnemonic(dialog, Qt::Key_V, Control<QCheckBox>(dialog, "includeAvoidedBox"));
    EXPECT_TRUE(dialog->CurrentFilters().includeAvoided);
    ExpectRowsOfTheSearch(dialog);
    const int row = rowOf(QStringLiteral("死刑"));
    ASSERT_GE(row, 0);
    const QStringList tip =
        Cell(table, row, CandidateTableModel::Given, Qt::ToolTipRole).split(QLatin1Char('\n'));
    ASSERT_EQ(tip.size(), 5);
    EXPECT_EQ(tip[0], QStringLiteral("避けたい字　死：死を表す字、刑：刑罰を表す字"));
    EXPECT_TRUE(tip[1].startsWith(QStringLiteral("評点を下げている数："))) << tip[1].toStdString();
    EXPECT_TRUE(tip[2].startsWith(QStringLiteral("三才配置 "))) << tip[2].toStdString();
    EXPECT_TRUE(tip[3].startsWith(QStringLiteral("陰陽配列 "))) << tip[3].toStdString();
    EXPECT_TRUE(tip[4].contains(QStringLiteral("藤 18 → 21"))) << tip[4].toStdString();
}

// What a parent starts from is on show, the keyboard in the surname box;
// the rest waits behind 詳しい条件, and Ctrl+Tab goes to the shortlist.
TEST_F(NameSearchDialogTest, OpensSimpleWithTheSurnameFocused) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(QApplication::focusWidget(), Control<QLineEdit>(dialog, "surnameEdit"));
    for (const char* name : {"surnameEdit", "genderBox", "readingEdit", "charsBox", "fortuneBox"}) {
        EXPECT_TRUE(Control<QWidget>(dialog, name)->isVisible()) << name;
    }
    for (const char* name : {"advancedPanel", "spaceBox", "TotalGradeBox", "sansaiBox"}) {
        EXPECT_FALSE(Control<QWidget>(dialog, name)->isVisible()) << name;
    }
    Control<QToolButton>(dialog, "advancedButton")->click();
    EXPECT_TRUE(Control<QWidget>(dialog, "sansaiBox")->isVisible());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Control<QTabWidget>(dialog, "tabs")->currentIndex(), 1);
}

// 運勢の条件 sets the four grades; grades set one by one show as such.
TEST_F(NameSearchDialogTest, FortuneChoiceSetsTheGrades) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    using soten::Earth, soten::Outer, soten::Person, soten::Total;
    const struct {
        int choice;
        std::array<int, 4> worst;  // 人運, 地運, 外運, 総運
    } cases[] = {{0, {2, 2, 2, 2}}, {1, {2, 4, 4, 2}}, {2, {4, 4, 4, 4}}};
    QComboBox* fortune = Control<QComboBox>(dialog, "fortuneBox");
    for (const auto& c : cases) {
        fortune->setCurrentIndex(c.choice);
        const auto worst = dialog->CurrentFilters().worstGrade;
        EXPECT_EQ((std::array<int, 4>{worst[Person], worst[Earth], worst[Outer], worst[Total]}),
                  c.worst)
            << c.choice;
    }
    Control<QComboBox>(dialog, "OuterGradeBox")->setCurrentIndex(3);
    EXPECT_EQ(fortune->currentText(), QStringLiteral("詳しい条件のとおり"));
    EXPECT_EQ(dialog->CurrentFilters().worstGrade[Outer], 1);
}

// In the all-kanji space the dictionary's genders and the registry check do
// nothing: disabled, their tooltips saying why, and the search runs without
// them. 性別 works there too, its tooltip saying how.
TEST_F(NameSearchDialogTest, FiltersTheSpaceCannotUseAreDisabledWithTheReason) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    QComboBox* gender = Control<QComboBox>(dialog, "genderBox");
    QCheckBox* registry = Control<QCheckBox>(dialog, "includeUnregistrableBox");
    QCheckBox* unspecified = Control<QCheckBox>(dialog, "includeUnspecifiedBox");
    const QString genderTip = gender->toolTip();
    gender->setCurrentIndex(1);
    unspecified->setChecked(true);
    Control<QComboBox>(dialog, "spaceBox")->setCurrentIndex(1);
    EXPECT_TRUE(gender->isEnabled());
    EXPECT_FALSE(registry->isEnabled());
    EXPECT_FALSE(unspecified->isEnabled());
    using soten::ui::SpaceBoundFilter;
    EXPECT_EQ(unspecified->toolTip(), soten::ui::WhyNotInSpace(SpaceBoundFilter::IncludeUnspecified,
                                                               soten::SearchSpace::All));
    EXPECT_EQ(registry->toolTip(), soten::ui::WhyNotInSpace(SpaceBoundFilter::IncludeUnregistrable,
                                                            soten::SearchSpace::All));
    EXPECT_NE(gender->toolTip(), genderTip);
    EXPECT_FALSE(gender->toolTip().isEmpty());
    EXPECT_EQ(dialog->CurrentFilters().gender, soten::GenderFilter::Female);
    EXPECT_FALSE(dialog->CurrentFilters().includeUnspecified);

    Control<QComboBox>(dialog, "spaceBox")->setCurrentIndex(0);
    EXPECT_TRUE(unspecified->isEnabled());
    EXPECT_EQ(gender->toolTip(), genderTip);
    EXPECT_EQ(dialog->CurrentFilters().gender, soten::GenderFilter::Female);
    EXPECT_TRUE(dialog->CurrentFilters().includeUnspecified);
}

// 並び順 よく使われる順 lists the most name-like first; a header click shows
// its order there.
TEST_F(NameSearchDialogTest, SortBoxOrdersByNameLikeness) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Control<QLineEdit>(dialog, "surnameEdit")->setText(QStringLiteral("山田"));
    Control<QLineEdit>(dialog, "readingEdit")->setText(QStringLiteral("ゆい"));
    WaitForResults(dialog);
    QComboBox* sort = Control<QComboBox>(dialog, "sortBox");
    EXPECT_EQ(sort->currentText(), QStringLiteral("おすすめ順"));
    sort->setCurrentIndex(sort->findText(QStringLiteral("よく使われる順")));
    WaitForResults(dialog);
    EXPECT_EQ(dialog->CurrentFilters().sort, soten::SortKey::Common);
    ExpectRowsOfTheSearch(dialog);
    const auto* model = static_cast<const CandidateTableModel*>(
        Control<QTableView>(dialog, "resultTable")->model());
    ASSERT_GT(model->rowCount(), 1);
    for (int row = 1; row < model->rowCount(); ++row) {
        EXPECT_GE(model->Candidate(row - 1).yomiCheck.likeness,
                  model->Candidate(row).yomiCheck.likeness)
            << row;
    }
    ClickHeader(dialog, CandidateTableModel::TotalFortune);
    EXPECT_EQ(sort->currentText(), QStringLiteral("総運順"));
}

// The conditions, the tab, 詳しい条件 and the window's size come back in the
// next run.
TEST_F(NameSearchDialogTest, ConditionsTabAndSizeAreKeptForTheNextRun) {
    NameSearchDialog* first = Open();
    ASSERT_NE(first, nullptr);
    Control<QLineEdit>(first, "surnameEdit")->setText(QStringLiteral("佐藤"));
    Control<QLineEdit>(first, "readingEdit")->setText(QStringLiteral("ゆい"));
    Control<QComboBox>(first, "genderBox")->setCurrentIndex(1);
    Control<QComboBox>(first, "sortBox")->setCurrentIndex(1);
    Control<QComboBox>(first, "fortuneBox")->setCurrentIndex(1);
    Control<QSpinBox>(first, "minScoreBox")->setValue(7);
    Control<QCheckBox>(first, "inyoBox")->setChecked(true);
    Control<QToolButton>(first, "advancedButton")->click();
    Control<QTabWidget>(first, "tabs")->setCurrentIndex(1);
    first->resize(720, 540);
    WaitForResults(first);
    first->close();

    MainWindow next{soten::BuiltInTables()};
    next.splashTimer->stop();
    next.show();
    next.namingAction->trigger();
    NameSearchDialog* again = next.NameSearchDialog();
    ASSERT_NE(again, nullptr);
    WaitForResults(again);
    EXPECT_EQ(Control<QLineEdit>(again, "surnameEdit")->text(), QStringLiteral("佐藤"));
    EXPECT_EQ(Control<QLineEdit>(again, "readingEdit")->text(), QStringLiteral("ゆい"));
    EXPECT_EQ(Control<QComboBox>(again, "genderBox")->currentIndex(), 1);
    EXPECT_EQ(Control<QComboBox>(again, "fortuneBox")->currentIndex(), 1);
    EXPECT_EQ(Control<QSpinBox>(again, "minScoreBox")->value(), 7);
    EXPECT_TRUE(Control<QCheckBox>(again, "inyoBox")->isChecked());
    EXPECT_TRUE(Control<QToolButton>(again, "advancedButton")->isChecked());
    EXPECT_EQ(Control<QTabWidget>(again, "tabs")->currentIndex(), 1);
    EXPECT_EQ(again->size(), QSize(720, 540));
    EXPECT_EQ(again->CurrentFilters().minScore, 7);
    EXPECT_EQ(again->CurrentFilters().sort, soten::SortKey::Common);
    again->close();
}

// Every verdict cell and header says what it means.
TEST_F(NameSearchDialogTest, VerdictCellsAndHeadersHaveTooltips) {
    NameSearchDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    Control<QLineEdit>(dialog, "surnameEdit")->setText(QStringLiteral("山田"));
    WaitForResults(dialog);
    const QTableView* table = Control<QTableView>(dialog, "resultTable");
    ASSERT_GT(table->model()->rowCount(), 0);
    const struct {
        int column;
        const char* starts;
    } cases[] = {{CandidateTableModel::Sansai, "三才配置 "},
                 {CandidateTableModel::Inyo, "陰陽配列 "},
                 {CandidateTableModel::Score, "評点 "},
                 {CandidateTableModel::TotalFortune, "総運 "}};
    for (const auto& c : cases) {
        const QString tip = Cell(table, 0, c.column, Qt::ToolTipRole);
        EXPECT_TRUE(tip.startsWith(QString::fromUtf8(c.starts))) << tip.toStdString();
        EXPECT_TRUE(tip.contains(Cell(table, 0, c.column).section(u' ', 0, 0)))
            << tip.toStdString();
        EXPECT_FALSE(table->model()
                         ->headerData(c.column, Qt::Horizontal, Qt::ToolTipRole)
                         .toString()
                         .isEmpty())
            << c.column;
    }
}

}  // namespace
