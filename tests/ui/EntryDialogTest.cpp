// The name entry dialog driven by keys: OK enabling, the histories, Enter and
// Shift+Enter moving through the tab order, Esc, and the style choice.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "analysis/text/ShiftJis.h"
#include "tests/ui/ModalDriver.h"
#include "ui/reading/NameEntryDialog.h"

namespace {

using soten::StrokeStyle;

void Commit(QWidget* widget, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}
using soten::ui::NameEntryDialog;

class EntryDialogTest : public ::testing::Test {
protected:
    void SetUp() override { Open(); }
    void TearDown() override { dialog.hide(); }

    void Open() {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    QWidget* Focus() const { return QApplication::focusWidget(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Focus(), key, modifiers);
    }
    // Japanese text arrives from the input method as a committed string.
    void Type(const QString& text) { Commit(Focus(), text); }
    QStringList History(QComboBox* box) const {
        QStringList items;
        for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
        return items;
    }

    NameEntryDialog dialog{nullptr};
};

TEST_F(EntryDialogTest, FirstShow) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("姓名の入力"));
    EXPECT_EQ(dialog.size(), QSize(195, 191));
    EXPECT_FALSE(dialog.okButton->isEnabled());
    EXPECT_TRUE(dialog.cancelButton->isEnabled());
    EXPECT_EQ(Focus(), dialog.surnameBox);
    EXPECT_TRUE(dialog.styleButtons[0]->isChecked());
    EXPECT_EQ(dialog.surnameBox->count(), 0);
    EXPECT_EQ(dialog.givenNameBox->count(), 0);
    EXPECT_TRUE(dialog.surnameBox->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(dialog.givenNameBox->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(EntryDialogTest, OkIsEnabledExactlyWhenBothBoxesHoldText) {
    Type(QStringLiteral("山田"));
    EXPECT_FALSE(dialog.okButton->isEnabled());
    Key(Qt::Key_Tab);
    ASSERT_EQ(Focus(), dialog.givenNameBox);
    Type(QStringLiteral("太"));
    EXPECT_TRUE(dialog.okButton->isEnabled());
    Key(Qt::Key_Backspace);
    EXPECT_FALSE(dialog.okButton->isEnabled());
    Key(Qt::Key_Space);  // spaces count as text
    EXPECT_TRUE(dialog.okButton->isEnabled());
}

TEST_F(EntryDialogTest, LeavingABoxAddsItsTextOnceAtTheTop) {
    Type(QStringLiteral("山田"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(History(dialog.surnameBox), QStringList{QStringLiteral("山田")});
    Key(Qt::Key_Backtab);
    ASSERT_EQ(Focus(), dialog.surnameBox);
    Key(Qt::Key_Tab);
    EXPECT_EQ(History(dialog.surnameBox), QStringList{QStringLiteral("山田")});
    // The empty 名前 box adds nothing when it is left.
    Key(Qt::Key_Tab);
    EXPECT_TRUE(History(dialog.givenNameBox).isEmpty());

    dialog.surnameBox->setFocus();
    dialog.surnameBox->setEditText(QStringLiteral("Abe"));
    Key(Qt::Key_Tab);
    dialog.surnameBox->setFocus();
    dialog.surnameBox->setEditText(QStringLiteral("ABE"));  // the same to the list's search
    Key(Qt::Key_Tab);
    EXPECT_EQ(History(dialog.surnameBox),
              (QStringList{QStringLiteral("Abe"), QStringLiteral("山田")}));
}

TEST_F(EntryDialogTest, EnterMovesOnAndShiftEnterMovesBack) {
    Type(QStringLiteral("山田"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Focus(), dialog.givenNameBox);
    EXPECT_EQ(dialog.surnameBox->currentText(), QStringLiteral("山田"));  // Enter never reached it
    // OK is disabled, so Enter in the 名前 box goes on to キャンセル.
    Key(Qt::Key_Return);
    EXPECT_EQ(Focus(), dialog.cancelButton);
    EXPECT_TRUE(dialog.isVisible());
    Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Focus(), dialog.givenNameBox);
    Type(QStringLiteral("太郎"));
    Key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Focus(), dialog.okButton);
    Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Focus(), dialog.givenNameBox);
    Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Focus(), dialog.surnameBox);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(EntryDialogTest, EnterWrapsFromTheStyleGroupToTheSurnameBox) {
    dialog.styleButtons[0]->setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(Focus(), dialog.surnameBox);
    Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Focus(), dialog.styleButtons[0]);
}

TEST_F(EntryDialogTest, CtrlEnterMovesOnLikeEnter) {
    Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(Focus(), dialog.givenNameBox);
}

TEST_F(EntryDialogTest, PlainEnterOnOkPressesIt) {
    dialog.surnameBox->setEditText(QStringLiteral("山田"));
    dialog.givenNameBox->setEditText(QStringLiteral("太郎"));
    dialog.okButton->setFocus();
    Key(Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(EntryDialogTest, EscCancelsFromAnyControl) {
    Type(QStringLiteral("山田"));
    Key(Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(dialog.isVisible());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(EntryDialogTest, TabOrderRunsThroughBoxesButtonsAndStyle) {
    dialog.surnameBox->setEditText(QStringLiteral("山田"));
    dialog.givenNameBox->setEditText(QStringLiteral("太郎"));
    const std::vector<QWidget*> order = {dialog.givenNameBox, dialog.okButton, dialog.cancelButton,
                                         dialog.styleButtons[0], dialog.surnameBox};
    for (QWidget* next : order) {
        Key(Qt::Key_Tab);
        EXPECT_EQ(Focus(), next) << next->objectName().toStdString();
    }
}

TEST_F(EntryDialogTest, PickingAStyleWritesItAtOnceAndCancelKeepsIt) {
    QTest::mouseClick(dialog.styleButtons[1], Qt::LeftButton);
    EXPECT_EQ(dialog.Style(), StrokeStyle::Honji);
    Key(Qt::Key_Escape);
    ASSERT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Style(), StrokeStyle::Honji);
    Open();
    EXPECT_TRUE(dialog.styleButtons[1]->isChecked());
    QTest::mouseClick(dialog.styleButtons[0], Qt::LeftButton);
    EXPECT_EQ(dialog.Style(), StrokeStyle::Shinji);
}

TEST_F(EntryDialogTest, NothingIsResetBetweenShowsAndFocusStartsInTheSurnameBox) {
    Type(QStringLiteral("山田"));
    Key(Qt::Key_Tab);
    Type(QStringLiteral("太郎"));
    dialog.okButton->setFocus();
    dialog.hide();
    Open();
    EXPECT_EQ(Focus(), dialog.surnameBox);
    EXPECT_EQ(dialog.surnameBox->currentText(), QStringLiteral("山田"));
    EXPECT_EQ(dialog.givenNameBox->currentText(), QStringLiteral("太郎"));
    EXPECT_TRUE(dialog.okButton->isEnabled());
}

TEST(EntryDialogModalTest, ShowEntryDialogGivesTheTextsInCodePage932OrNothing) {
    StrokeStyle style = StrokeStyle::Shinji;
    NameEntryDialog dialog(nullptr, style);
    soten::test::ModalDriver driver;
    driver
        .Then([](QWidget* modal) {
            auto* form = static_cast<NameEntryDialog*>(modal);
            // Focus moves only within the active window; under load the
            // dialog can be shown a moment before it is activated.
            ASSERT_TRUE(QTest::qWaitForWindowActive(form));
            Commit(form->surnameBox, QStringLiteral("山田"));
            Commit(form->givenNameBox, QStringLiteral("太郎"));
            form->givenNameBox->setFocus();
            QTest::mouseClick(form->okButton, Qt::LeftButton);
        })
        .Then([](QWidget* modal) { modal->close(); });
    const auto accepted = dialog.ShowEntryDialog();
    ASSERT_TRUE(accepted.has_value());
    EXPECT_EQ(accepted->surname, soten::Cp932Text("山田"));
    EXPECT_EQ(accepted->given, soten::Cp932Text("太郎"));
    // Clicking OK took the focus from the 名前 box, so its text is in its list.
    EXPECT_EQ(dialog.givenNameBox->count(), 1);
    // The close box cancels.
    EXPECT_FALSE(dialog.ShowEntryDialog().has_value());
    EXPECT_TRUE(driver.Done());
}

}  // namespace
