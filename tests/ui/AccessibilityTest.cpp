// What assistive technology finds: the panes' content as text (the reading
// read line by line), the entry boxes named by their labels, and a name on
// every button and menu item.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "analysis/text/Cp932.h"
#include "tests/ui/EntrySteps.h"
#include "tests/ui/ModalDriver.h"
#include "ui/app/MainWindow.h"
#include "ui/reading/NameEntryDialog.h"

namespace {

using soten::ui::MainWindow;
using soten::ui::NameEntryDialog;

// Every interface below `root`, depth first.
void Walk(QAccessibleInterface* root, const std::function<void(QAccessibleInterface*)>& visit,
          int depth = 0) {
    if (!root || depth > 20) return;
    visit(root);
    for (int i = 0; i < root->childCount(); ++i) Walk(root->child(i), visit, depth + 1);
}

QAccessibleInterface* FindByName(QAccessibleInterface* root, const QString& name) {
    QAccessibleInterface* found = nullptr;
    Walk(root, [&](QAccessibleInterface* node) {
        if (!found && node->text(QAccessible::Name) == name) found = node;
    });
    return found;
}

class AccessibilityTest : public ::testing::Test {
protected:
    AccessibilityTest() {
        mainWindow.splashTimer->stop();
        mainWindow.SetEntryDialog(&entryDialog);
        mainWindow.show();
    }

    void ReadYamadaTaro() {
        soten::test::ModalDriver driver;
        driver.Then(soten::test::EnterNames(QStringLiteral("山田"), QStringLiteral("太郎")));
        mainWindow.newAction->trigger();
        ASSERT_TRUE(driver.Done());
    }

    QString ScreenLine(int k) const {
        return QString::fromStdString(*soten::Cp932::ToUtf8(
            mainWindow.ShownReading()->Lines().ScreenLines[static_cast<std::size_t>(k)]));
    }
    MainWindow mainWindow{soten::BuiltInTables()};
    NameEntryDialog entryDialog{&mainWindow};
};

TEST_F(AccessibilityTest, TheReadingIsFoundInTheTreeAndReadLineByLine) {
    ReadYamadaTaro();
    QAccessibleInterface* reading = nullptr;
    Walk(QAccessible::queryAccessibleInterface(&mainWindow), [&](QAccessibleInterface* node) {
        if (node->textInterface() && node->text(QAccessible::Name) == QStringLiteral("占文")) {
            reading = node;
        }
    });
    ASSERT_NE(reading, nullptr);
    EXPECT_EQ(reading->role(), QAccessible::StaticText);
    QAccessibleTextInterface* text = reading->textInterface();
    const int n = mainWindow.ShownReading()->Lines().lastScreenLine;
    ASSERT_GE(n, 2);
    QStringList lines;
    for (int k = 0; k <= n; ++k) lines << ScreenLine(k);
    EXPECT_EQ(text->text(0, text->characterCount()), lines.join(u'\n'));
    EXPECT_EQ(reading->text(QAccessible::Value), lines.join(u'\n'));
    // A screen reader asks for the line at an offset: the second line.
    int start = -1;
    int end = -1;
    const int inSecondLine = static_cast<int>(lines[0].size()) + 3;
    const QString line = text->textAtOffset(inSecondLine, QAccessible::LineBoundary, &start, &end);
    EXPECT_EQ(line.trimmed(), lines[1]);
    EXPECT_EQ(start, lines[0].size() + 1);
}

TEST_F(AccessibilityTest, NameColumnAndListSpeakWhatTheyShow) {
    ReadYamadaTaro();
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&mainWindow);
    // The worked example: strokes 3, 5, 4, 9; 天運 8, 人運 9, 地運 13, 外運 12,
    // 総運 21 with the grades 大成 ○, 積極 ○, 多難 ×, 俊英 ◎, 薄弱 ×.
    const QString column = QStringLiteral(
        "山田 太郎\n山 3画\n田 5画\n太 4画\n郎 9画\n天運 8\n人運 9\n地運 13\n外運 12\n総運 21");
    QAccessibleInterface* name = FindByName(root, column);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->role(), QAccessible::StaticText);
    const QString list = QStringLiteral(
        "総運 21 ○ 大成数\n天運 8 ○ 積極数\n人運 9 × 多難数\n地運 13 ◎ 俊英数\n外運 12 × 薄弱数");
    QAccessibleInterface* fortunes = FindByName(root, list);
    ASSERT_NE(fortunes, nullptr);
    EXPECT_EQ(fortunes->textInterface()->text(0, fortunes->textInterface()->characterCount()),
              list);
}

TEST_F(AccessibilityTest, PanesAreNamedBeforeTheFirstReading) {
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&mainWindow);
    for (const char* name : {"姓名と画数", "五運", "占文"}) {
        QAccessibleInterface* pane = FindByName(root, QString::fromUtf8(name));
        ASSERT_NE(pane, nullptr) << name;
        EXPECT_EQ(pane->textInterface()->characterCount(), 0) << name;
    }
}

// On Linux a combo box's accessible name is its text; the label reaches the
// screen reader as the box's labelled-by relation, and the text field inside,
// which has the focus while the user types, carries the label's name.
TEST_F(AccessibilityTest, EntryBoxesAreNamedByTheirLabels) {
    entryDialog.surnameBox->setEditText(QStringLiteral("山田"));
    const struct {
        QComboBox* box;
        QLabel* label;
        QString name;
    } boxes[] = {{entryDialog.surnameBox, entryDialog.surnameLabel, QStringLiteral("名字")},
                 {entryDialog.givenNameBox, entryDialog.givenNameLabel, QStringLiteral("名前")}};
    for (const auto& [box, label, name] : boxes) {
        const auto labels =
            QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1) << name.toStdString();
        EXPECT_EQ(labels[0].first->object(), label);
        EXPECT_EQ(labels[0].first->text(QAccessible::Name), name + QStringLiteral("："));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(box->lineEdit())->text(QAccessible::Name),
                  name);
    }
}

TEST_F(AccessibilityTest, EveryButtonAndMenuItemHasAName) {
    int buttons = 0;
    int menuItems = 0;
    for (QWidget* window :
         {static_cast<QWidget*>(&mainWindow), static_cast<QWidget*>(&entryDialog)}) {
        Walk(QAccessible::queryAccessibleInterface(window), [&](QAccessibleInterface* node) {
            const QAccessible::Role role = node->role();
            if (role != QAccessible::PushButton && role != QAccessible::MenuItem) return;
            EXPECT_FALSE(node->text(QAccessible::Name).trimmed().isEmpty())
                << node->object()->objectName().toStdString();
            (role == QAccessible::PushButton ? buttons : menuItems)++;
        });
    }
    EXPECT_EQ(buttons, 4);    // 新規, 印刷, OK, キャンセル
    EXPECT_GE(menuItems, 3);  // ファイル, 編集, ヘルプ at least
}

}  // namespace
