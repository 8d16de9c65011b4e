// PrintDialog: OK makes the chosen printer current and refreshes the
// layer; Cancel leaves everything as it was.
#include <gtest/gtest.h>

#include "printing/device/PrinterSession.h"
#include "tests/support/printing/FakePrinterBackend.h"
#include "tests/support/printing/PrintingTestSupport.h"

namespace soten {
namespace {

using printing::FakePrinterBackend;

struct DialogFixture : ::testing::Test {
    DialogFixture() {
        auto backend = std::make_unique<FakePrinterBackend>();
        backend->printers = {FakePrinterBackend::StandardPrinter("a"),
                             FakePrinterBackend::StandardPrinter("b")};
        fake = backend.get();
        printer = std::make_unique<PrinterSession>(std::move(backend));
    }
    FakePrinterBackend* fake;
    std::unique_ptr<PrinterSession> printer;
};

TEST_F(DialogFixture, WithoutAnAnswerTheSystemDialogAsks) {
    PrintDialog dialog(*printer);
    fake->dialogAccepts = false;
    EXPECT_FALSE(dialog.Execute());
    fake->dialogAccepts = true;
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(fake->dialogsShown, 2);
}

TEST_F(DialogFixture, CancelChangesNothing) {
    printer->SetScale(50);
    PrintDialog dialog(*printer);
    test::AnswerPrintDialog(dialog, {false, "b", ""});

    EXPECT_FALSE(dialog.Execute());

    EXPECT_EQ(fake->CurrentPrinterName(), "a");
    EXPECT_TRUE(fake->merged.empty());
    // The change made before the dialog is still waiting to be handed over.
    printer->ApplySettings();
    ASSERT_EQ(fake->merged.size(), 1u);
    EXPECT_EQ(fake->printers[0].mode.scale, 50);
}

TEST_F(DialogFixture, OkFollowsThePrinterChosen) {
    printer->SetScale(50);
    fake->printers[1].mode.orientation = OrientationLandscape;  // chosen in its properties
    PrintDialog dialog(*printer);
    test::AnswerPrintDialog(dialog, {true, "b", ""});

    EXPECT_TRUE(dialog.Execute());

    EXPECT_EQ(fake->CurrentPrinterName(), "b");
    // The change made before the dialog is gone; the next starts from "b".
    printer->ApplySettings();
    EXPECT_TRUE(fake->merged.empty());
    printer->SetColor(false);
    printer->ApplySettings();
    ASSERT_EQ(fake->merged.size(), 1u);
    EXPECT_EQ(fake->merged[0].orientation, OrientationLandscape);
    EXPECT_EQ(fake->merged[0].scale, 100);
    EXPECT_EQ(fake->printers[1].mode.color, ColorMonochrome);
}

TEST_F(DialogFixture, ExecuteFirstCatchesUpWithAChangedPrinterList) {
    fake->current = "b";
    printer->Refresh();
    // "b" was removed and "c" became the default while no command ran.
    fake->printers[1] = FakePrinterBackend::StandardPrinter("c", printing::PrinterAttributeDefault);
    PrintDialog dialog(*printer);
    test::AnswerPrintDialog(dialog, {true, "", ""});

    EXPECT_TRUE(dialog.Execute());

    EXPECT_EQ(fake->resets, 1);
    EXPECT_EQ(fake->CurrentPrinterName(), "c");
    // The layer now holds the new list: the next Execute starts over no more.
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(fake->resets, 1);
}

}  // namespace
}  // namespace soten
