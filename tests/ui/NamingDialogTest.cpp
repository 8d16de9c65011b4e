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

#include "Cp932.h"
#include "MainWindow.h"
#include "NameEntryDialog.h"
#include "NameSearch.h"
#include "NamingDialog.h"
#include "ShiftJis.h"

namespace {

using soten::ui::MainWindow;
using soten::ui::NameEntryDialog;
using soten::ui::NamingDialog;
using soten::ui::NamingResultModel;

constexpr int SearchTimeoutMs = 20000;

class NamingDialogTest : public ::testing::Test {
protected:
    NamingDialogTest() {
        mainWindow.splashTimer->stop();
        mainWindow.SetEntryDialog(&entryDialog);
        mainWindow.show();
    }
    ~NamingDialogTest() override {
        if (mainWindow.NamingCandidates()) mainWindow.NamingCandidates()->close();
    }

    // Opens the dialog by its shortcut's action and waits for its first page.
    NamingDialog* Open() {
        mainWindow.namingAction->trigger();
        NamingDialog* dialog = mainWindow.NamingCandidates();
        if (dialog) WaitForResults(dialog);
        return dialog;
    }

    static void WaitForResults(NamingDialog* dialog) {
        QSignalSpy finished(dialog, &NamingDialog::SearchFinished);
        for (int waited = 0; dialog->IsSearching() && waited < SearchTimeoutMs; waited += 20) {
            finished.wait(20);
        }
        QCoreApplication::processEvents();
        ASSERT_FALSE(dialog->IsSearching()) << "the search did not finish";
    }

    // Types text key by key, as an input method hands over each character.
    static void Type(QWidget* widget, const QString& text) {
        for (const QChar ch : text) {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }

    static QString Cell(const QTableView* table, int row, int column) {
        return table->model()->index(row, column).data().toString();
    }

    soten::ProgramState state;
    MainWindow mainWindow{state, soten::BuiltInTables()};
    NameEntryDialog entryDialog{&mainWindow, state.strokeStyle};
};

TEST_F(NamingDialogTest, KeyedFiltersFillTheTableAsTheSearchAnswers) {
    NamingDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    dialog->surnameEdit->setFocus();
    dialog->surnameEdit->clear();
    Type(dialog->surnameEdit, QStringLiteral("山田"));
    dialog->genderBox->setFocus();
    QTest::keyClick(dialog->genderBox, Qt::Key_Down);  // 女性
    for (QComboBox* grade : dialog->gradeBoxes) {
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
        dialog->countLabel->text(),
        QStringLiteral("該当 %1 件")
            .arg(QLocale(QLocale::Japanese).toString(static_cast<qulonglong>(expected.count))));
    const QTableView* table = dialog->resultTable;
    ASSERT_EQ(table->model()->rowCount(), NamingDialog::PageSize);
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        const auto& candidate = expected.candidates[static_cast<std::size_t>(row)];
        EXPECT_EQ(Cell(table, row, NamingResultModel::Given),
                  QString::fromStdString(soten::Cp932::ToUtf8Lossy(candidate.given)));
        EXPECT_EQ(Cell(table, row, NamingResultModel::Gender), QStringLiteral("女性"));
        EXPECT_EQ(Cell(table, row, NamingResultModel::TotalFortune),
                  QStringLiteral("%1 %2")
                      .arg(candidate.record.Fortunes[soten::Total])
                      .arg(QString::fromStdString(soten::Cp932::ToUtf8Lossy(soten::GradeMark(
                                                      candidate.keywords[soten::Total].grade)))
                               .trimmed()));
        for (int column = NamingResultModel::PersonFortune;
             column <= NamingResultModel::TotalFortune; ++column) {
            EXPECT_FALSE(Cell(table, row, column).endsWith(QStringLiteral("×")));
        }
    }
    EXPECT_FALSE(dialog->previousButton->isEnabled());
    EXPECT_TRUE(dialog->nextButton->isEnabled());
    EXPECT_FALSE(table->accessibleName().isEmpty());
}

TEST_F(NamingDialogTest, ContradictoryFiltersShowZeroAndWhy) {
    NamingDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    dialog->surnameEdit->setText(QStringLiteral("山田"));
    dialog->spaceBox->setCurrentIndex(1);
    dialog->genderBox->setCurrentIndex(1);
    WaitForResults(dialog);
    EXPECT_TRUE(dialog->countLabel->text().startsWith(QStringLiteral("該当 0 件（")))
        << dialog->countLabel->text().toStdString();
    EXPECT_EQ(dialog->resultTable->model()->rowCount(), 0);

    dialog->genderBox->setCurrentIndex(0);
    dialog->containsEdit->setText(QStringLiteral("翔"));
    WaitForResults(dialog);
    EXPECT_EQ(dialog->resultTable->model()->rowCount(), NamingDialog::PageSize);
    EXPECT_TRUE(
        Cell(dialog->resultTable, 0, NamingResultModel::Given).contains(QStringLiteral("翔")));
}

TEST_F(NamingDialogTest, DoubleClickAndEnterMakeTheReadingInTheMainWindow) {
    NamingDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    dialog->surnameEdit->setText(QStringLiteral("佐々木"));
    dialog->styleBox->setCurrentIndex(1);  // 本字式
    WaitForResults(dialog);
    QTableView* table = dialog->resultTable;
    ASSERT_GE(table->model()->rowCount(), 2);
    // Sorted by 評点 (lowest first) so the rows shown differ from the page order.
    table->sortByColumn(NamingResultModel::Score, Qt::AscendingOrder);

    for (int row : {0, 1}) {
        const QString given = Cell(table, row, NamingResultModel::Given);
        if (row == 0) {
            const QRect cell = table->visualRect(table->model()->index(row, 0));
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        } else {
            table->setFocus();
            table->setCurrentIndex(table->model()->index(row, 0));
            QTest::keyClick(table, Qt::Key_Return);
        }
        ASSERT_TRUE(state.shown.valid);
        EXPECT_EQ(state.shown.style, soten::StrokeStyle::Honji);
        EXPECT_EQ(state.shown.record.Names[soten::Surname], soten::Cp932Text("佐々木"));
        EXPECT_EQ(state.shown.record.Names[soten::GivenName],
                  soten::Cp932::NameFromUtf8(given.toStdString()).value());
        EXPECT_EQ(state.strokeStyle, soten::StrokeStyle::Honji);
        EXPECT_TRUE(entryDialog.styleButtons[1]->isChecked());
        EXPECT_EQ(entryDialog.givenNameBox->itemText(0), given);
        EXPECT_EQ(entryDialog.surnameBox->itemText(0), QStringLiteral("佐々木"));
        EXPECT_TRUE(mainWindow.saveAsAction->isEnabled());
        EXPECT_TRUE(mainWindow.reportHolder.UnicodeText().contains(given.left(1)));
        // The reading travels with the name to the caption.
        EXPECT_TRUE(mainWindow.windowTitle().endsWith(
            QStringLiteral("（%1・本字式）").arg(Cell(table, row, NamingResultModel::Reading))))
            << mainWindow.windowTitle().toStdString();
    }
}

TEST_F(NamingDialogTest, SansaiAndInyoFiltersKeepOnlyTheVerdictsAsked) {
    NamingDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    dialog->surnameEdit->setText(QStringLiteral("山田"));
    dialog->sansaiBox->setCurrentIndex(2);  // 大吉のみ
    dialog->inyoBox->setChecked(true);
    WaitForResults(dialog);
    EXPECT_EQ(dialog->CurrentFilters().worstSansai, soten::SansaiVerdict::VeryGood);
    EXPECT_TRUE(dialog->CurrentFilters().inyoOk);
    const QTableView* table = dialog->resultTable;
    ASSERT_GT(table->model()->rowCount(), 0);
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        EXPECT_EQ(Cell(table, row, NamingResultModel::Sansai), QStringLiteral("大吉"));
        EXPECT_NE(Cell(table, row, NamingResultModel::Inyo), QStringLiteral("凶"));
    }
}

}  // namespace
