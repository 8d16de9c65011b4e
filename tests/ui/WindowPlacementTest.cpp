// A dialog beside its owner, narrowed to the room there when that is enough.
#include <gtest/gtest.h>

#include "ui/widgets/WindowPlacement.h"

namespace {

using soten::ui::PlaceBeside;

TEST(DialogPlacement, NarrowedBesideTheOwnerWhenItsMinimumFits) {
    const QRect screen(0, 0, 1600, 1000);
    const QRect owner(480, 200, 640, 480);  // centred: 480 free on each side
    const QRect pane(490, 400, 620, 270);
    const struct {
        QSize wanted;
        QSize minimum;
        QRect expected;
    } cases[] = {
        {{800, 600}, {400, 300}, QRect(1120, 200, 480, 600)},  // narrowed, on the right
        {{400, 600}, {300, 300}, QRect(1120, 200, 400, 600)},  // fits as it is
        // Too wide at its minimum, but low enough for the room below.
        {{800, 600}, {600, 300}, QRect(480, 680, 800, 320)},
        // Room on no side: as without a minimum, covering least of the pane.
        {{800, 600}, {600, 400}, PlaceBeside(owner, pane, {800, 600}, screen)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceBeside(owner, pane, c.wanted, c.minimum, screen), c.expected)
            << c.wanted.width() << " " << c.minimum.width();
    }
}

}  // namespace
