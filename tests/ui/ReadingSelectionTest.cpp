// Selecting the reading with the mouse and copying the selection: character
// positions from the drawn layout, the picture itself never touched.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "Cp932.h"
#include "EntrySteps.h"
#include "ModalDriver.h"
#include "ReadingTextLayout.h"
#include "Unit1.h"
#include "Unit2.h"

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
        form1.Timer1->stop();
        form1.SetEntryDialog(&form2);
        form1.show();
        QApplication::setActiveWindow(&form1);
    }

    void ReadYamadaTaro() {
        soten::test::ModalDriver driver;
        driver.Then(soten::test::EnterNames(QStringLiteral("山田"), QStringLiteral("太郎")));
        form1.New1->trigger();
        ASSERT_TRUE(driver.Done());
        // The pane takes the keyboard focus only in the active window.
        QApplication::setActiveWindow(&form1);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form1));
    }

    QString ScreenLine(int k) const {
        return QString::fromStdString(
            *soten::Cp932::ToUtf8(state.lines.ScreenLines[static_cast<std::size_t>(k)]));
    }

    void Drag(QPoint from, QPoint to) {
        QWidget* pane = form1.Image3;
        QTest::mousePress(pane, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, pane->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(pane, &move);
        QTest::mouseRelease(pane, Qt::LeftButton, {}, to);
    }

    soten::ProgramState state;
    soten::ui::TForm1 form1{state, soten::BuiltInTables()};
    soten::ui::TForm2 form2{&form1, state.strokeStyle};
};

TEST_F(ReadingSelectionTest, DragSelectsAndCtrlCCopiesTheSelection) {
    ReadYamadaTaro();
    const QImage picture = form1.Image3->Picture().copy();
    const QImage before = form1.Image3->grab().toImage();
    // From the first character of line 0 (y 11) to the third of line 1 (y 31).
    Drag({15 + 2, 11 + 8}, {15 + 2 * 16 + 2, 31 + 8});
    const QString expected = ScreenLine(0) + u'\n' + ScreenLine(1).left(2);
    EXPECT_EQ(form1.Image3->SelectedText(), expected);
    // Shown over the picture, which stays as drawn.
    EXPECT_EQ(form1.Image3->Picture(), picture);
    EXPECT_NE(form1.Image3->grab().toImage(), before);

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(form1.Image3, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);

    // A click without a drag ends the selection: the pane looks as before.
    QTest::mouseClick(form1.Image3, Qt::LeftButton, {}, {100, 100});
    EXPECT_FALSE(form1.Image3->HasSelection());
    EXPECT_EQ(form1.Image3->grab().toImage(), before);
}

TEST_F(ReadingSelectionTest, WithoutASelectionCtrlCCopiesTheWholeReport) {
    ReadYamadaTaro();
    QTest::mouseClick(form1.Image3, Qt::LeftButton, {}, {100, 100});
    ASSERT_TRUE(form1.Image3->hasFocus());
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(form1.Image3, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString::fromStdString(*soten::Cp932::ToUtf8(state.record.ReportText)));
}

TEST_F(ReadingSelectionTest, CtrlASelectsTheWholeReadingAndANewReadingDropsTheSelection) {
    ReadYamadaTaro();
    QTest::mouseClick(form1.Image3, Qt::LeftButton, {}, {100, 100});
    QTest::keyClick(form1.Image3, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(form1.Image3->SelectedText(), form1.Image3->ContentText());
    EXPECT_TRUE(form1.Image3->ContentText().startsWith(ScreenLine(0)));
    ReadYamadaTaro();
    EXPECT_FALSE(form1.Image3->HasSelection());
}

}  // namespace
