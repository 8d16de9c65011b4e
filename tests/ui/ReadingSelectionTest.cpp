// Selecting the reading with the mouse and copying the selection: character
// positions from the drawn layout, the picture itself never touched.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "analysis/text/Cp932.h"
#include "tests/ui/EntrySteps.h"
#include "tests/ui/ModalDriver.h"
#include "ui/app/MainWindow.h"
#include "ui/reading/NameEntryDialog.h"
#include "ui/reading/ReadingTextLayout.h"

namespace {

using soten::ui::ReadingTextLayout;

struct OffsetCase {
    const char* name;
    QPoint point;
    int offset;
};

void PrintTo(const OffsetCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadingTextLayoutTest : public ::testing::TestWithParam<OffsetCase> {};

// Three lines stand at y 11, (1 × 432) div 2 + 11 = 227 and 443, from x 15;
// in the 16-pixel mincho face a full-width character is 16 pixels wide and a
// half-width one 8. Line 1 starts at offset 4, line 2 at offset 8.
TEST_P(ReadingTextLayoutTest, PointsFallOnTheNearestCharacterBoundary) {
    const ReadingTextLayout layout(QStringLiteral("運勢は\nab運\nc"));
    EXPECT_EQ(layout.OffsetAt(GetParam().point), GetParam().offset);
}

INSTANTIATE_TEST_SUITE_P(
    Points, ReadingTextLayoutTest,
    ::testing::Values(OffsetCase{"LeftHalfOfTheFirstCharacter", {15 + 7, 19}, 0},
                      OffsetCase{"RightHalfOfTheFirstCharacter", {15 + 8, 19}, 1},
                      OffsetCase{"LeftOfTheLine", {0, 11}, 0},
                      OffsetCase{"PastTheLineEnd", {300, 20}, 3},
                      OffsetCase{"HalfWidthCharacters", {15 + 8 + 4, 235}, 6},
                      OffsetCase{"BeforeAHalfWidthCharacter", {15 + 8 + 3, 235}, 5},
                      OffsetCase{"NearerTheMiddleLine", {15 + 40, 200}, 7},
                      OffsetCase{"BelowTheLastLine", {15 + 4, 468}, 9},
                      OffsetCase{"AboveTheFirstLine", {15 + 20, 0}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadingTextLayoutRectsTest, ASelectionCoversTheCellsOfItsCharactersLineByLine) {
    const ReadingTextLayout layout(QStringLiteral("運勢は\nab運\nc"));
    const std::vector<QRect> rects = layout.RangeRects(1, 6);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0], QRect(15 + 16, 11, 32, 16));
    EXPECT_EQ(rects[1], QRect(15, 227, 16, 16));
    EXPECT_EQ(layout.CharacterRect(6), QRect(15 + 16, 227, 16, 16));
}

class ReadingSelectionTest : public ::testing::Test {
protected:
    ReadingSelectionTest() {
        mainWindow.splashTimer->stop();
        mainWindow.SetEntryDialog(&entryDialog);
        mainWindow.show();
        QApplication::setActiveWindow(&mainWindow);
    }

    void ReadYamadaTaro() {
        soten::test::ModalDriver driver;
        driver.Then(soten::test::EnterNames(QStringLiteral("山田"), QStringLiteral("太郎")));
        mainWindow.newAction->trigger();
        ASSERT_TRUE(driver.Done());
        // The pane takes the keyboard focus only in the active window.
        QApplication::setActiveWindow(&mainWindow);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    }

    QString ScreenLine(int k) const {
        return QString::fromStdString(*soten::Cp932::ToUtf8(
            mainWindow.ShownReading()->Lines().ScreenLines[static_cast<std::size_t>(k)]));
    }

    void Drag(QPoint from, QPoint to) {
        QWidget* pane = mainWindow.readingPane;
        QTest::mousePress(pane, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, pane->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(pane, &move);
        QTest::mouseRelease(pane, Qt::LeftButton, {}, to);
    }
    soten::ui::MainWindow mainWindow{soten::BuiltInTables()};
    soten::ui::NameEntryDialog entryDialog{&mainWindow};
};

TEST_F(ReadingSelectionTest, DragSelectsAndCtrlCCopiesTheSelection) {
    ReadYamadaTaro();
    const QImage picture = mainWindow.readingPane->Picture().copy();
    const QImage before = mainWindow.readingPane->grab().toImage();
    // From the first character of line 0 (y 11) to the third of line 1 (y 31).
    Drag({15 + 2, 11 + 8}, {15 + 2 * 16 + 2, 31 + 8});
    const QString expected = ScreenLine(0) + u'\n' + ScreenLine(1).left(2);
    EXPECT_EQ(mainWindow.readingPane->SelectedText(), expected);
    // Shown over the picture, which stays as drawn.
    EXPECT_EQ(mainWindow.readingPane->Picture(), picture);
    EXPECT_NE(mainWindow.readingPane->grab().toImage(), before);

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(mainWindow.readingPane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);

    // A click without a drag ends the selection: the pane looks as before.
    QTest::mouseClick(mainWindow.readingPane, Qt::LeftButton, {}, {100, 100});
    EXPECT_FALSE(mainWindow.readingPane->HasSelection());
    EXPECT_EQ(mainWindow.readingPane->grab().toImage(), before);
}

TEST_F(ReadingSelectionTest, WithoutASelectionCtrlCCopiesTheWholeReport) {
    ReadYamadaTaro();
    QTest::mouseClick(mainWindow.readingPane, Qt::LeftButton, {}, {100, 100});
    ASSERT_TRUE(mainWindow.readingPane->hasFocus());
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(mainWindow.readingPane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString::fromStdString(*soten::Cp932::ToUtf8(mainWindow.ShownReading()->Report())));
}

TEST_F(ReadingSelectionTest, CtrlASelectsTheWholeReadingAndANewReadingDropsTheSelection) {
    ReadYamadaTaro();
    QTest::mouseClick(mainWindow.readingPane, Qt::LeftButton, {}, {100, 100});
    QTest::keyClick(mainWindow.readingPane, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(mainWindow.readingPane->SelectedText(), mainWindow.readingPane->ContentText());
    EXPECT_TRUE(mainWindow.readingPane->ContentText().startsWith(ScreenLine(0)));
    ReadYamadaTaro();
    EXPECT_FALSE(mainWindow.readingPane->HasSelection());
}

}  // namespace
