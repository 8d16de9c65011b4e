// The help window stays inside the screen it opens on.
#include <gtest/gtest.h>

#include <QTest>

#include "ui/app/HelpWindow.h"
#include "ui/widgets/WindowPlacement.h"

namespace {

TEST(HelpWindow, FitsTheScreenItOpensOn) {
    const QRect area = soten::ui::AvailableScreenArea();
    ASSERT_FALSE(area.isEmpty());
    soten::ui::HelpWindow help(nullptr);
    // Bigger than the screen and partly off it.
    help.resize(area.size() + QSize(400, 400));
    help.move(area.topLeft() + QPoint(area.width() / 2, area.height() / 2));
    help.ShowHelp(QString());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
    EXPECT_TRUE(area.contains(help.frameGeometry())) << help.frameGeometry().y();

    // Moved off the screen while open, it comes back when shown again.
    help.move(area.topLeft() + QPoint(area.width() - 50, area.height() - 50));
    help.ShowHelp(QString());
    EXPECT_TRUE(area.contains(help.frameGeometry())) << help.frameGeometry().y();
    help.close();
}

}  // namespace
