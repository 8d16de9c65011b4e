// The 名付け候補 dialog: opened from the main window, filtered by keys, its
// table against the search itself, and a picked name read in the main window.
#include <gtest/gtest.h>

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
#include "NameSearch.h"
#include "NamingDialog.h"
#include "ShiftJis.h"
#include "Unit1.h"
#include "Unit2.h"

namespace {

using soten::ui::NamingDialog;
using soten::ui::NamingResultModel;
using soten::ui::TForm1;
using soten::ui::TForm2;

constexpr int SearchTimeoutMs = 20000;

class NamingDialogTest : public ::testing::Test {
protected:
    NamingDialogTest() {
        form1.Timer1->stop();
        form1.SetEntryDialog(&form2);
        form1.show();
    }
    ~NamingDialogTest() override {
        if (form1.NamingCandidates()) form1.NamingCandidates()->close();
    }

    // Opens the dialog by its shortcut's action and waits for its first page.
    NamingDialog* Open() {
        form1.Naming1->trigger();
        NamingDialog* dialog = form1.NamingCandidates();
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
    TForm1 form1{state, soten::BuiltInTables()};
    TForm2 form2{&form1, state.strokeStyle};
};

TEST_F(NamingDialogTest, KeyedFiltersFillTheTableAsTheSearchAnswers) {
    NamingDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    dialog->SurnameEdit->setFocus();
    dialog->SurnameEdit->clear();
    Type(dialog->SurnameEdit, QStringLiteral("山田"));
    dialog->GenderBox->setFocus();
    QTest::keyClick(dialog->GenderBox, Qt::Key_Down);  // 女性
    for (QComboBox* grade : dialog->GradeBoxes) {
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
        dialog->CountLabel->text(),
        QStringLiteral("該当 %1 件")
            .arg(QLocale(QLocale::Japanese).toString(static_cast<qulonglong>(expected.count))));
    const QTableView* table = dialog->ResultTable;
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
    EXPECT_FALSE(dialog->PreviousButton->isEnabled());
    EXPECT_TRUE(dialog->NextButton->isEnabled());
    EXPECT_FALSE(table->accessibleName().isEmpty());
}

TEST_F(NamingDialogTest, ContradictoryFiltersShowZeroAndWhy) {
    NamingDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    dialog->SurnameEdit->setText(QStringLiteral("山田"));
    dialog->SpaceBox->setCurrentIndex(1);
    dialog->GenderBox->setCurrentIndex(1);
    WaitForResults(dialog);
    EXPECT_TRUE(dialog->CountLabel->text().startsWith(QStringLiteral("該当 0 件（")))
        << dialog->CountLabel->text().toStdString();
    EXPECT_EQ(dialog->ResultTable->model()->rowCount(), 0);

    dialog->GenderBox->setCurrentIndex(0);
    dialog->ContainsEdit->setText(QStringLiteral("翔"));
    WaitForResults(dialog);
    EXPECT_EQ(dialog->ResultTable->model()->rowCount(), NamingDialog::PageSize);
    EXPECT_TRUE(
        Cell(dialog->ResultTable, 0, NamingResultModel::Given).contains(QStringLiteral("翔")));
}

TEST_F(NamingDialogTest, DoubleClickAndEnterMakeTheReadingInTheMainWindow) {
    NamingDialog* dialog = Open();
    ASSERT_NE(dialog, nullptr);
    dialog->SurnameEdit->setText(QStringLiteral("佐々木"));
    dialog->StyleBox->setCurrentIndex(1);  // 本字式
    WaitForResults(dialog);
    QTableView* table = dialog->ResultTable;
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
        EXPECT_TRUE(form2.RadioGroup1Items[1]->isChecked());
        EXPECT_EQ(form2.ComboBox2->itemText(0), given);
        EXPECT_EQ(form2.ComboBox1->itemText(0), QStringLiteral("佐々木"));
        EXPECT_TRUE(form1.SaveAs1->isEnabled());
        EXPECT_TRUE(form1.Memo1.UnicodeText().contains(given.left(1)));
    }
}

}  // namespace
