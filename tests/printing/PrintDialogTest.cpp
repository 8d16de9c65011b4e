// PrintDialog: OK makes the chosen printer current and refreshes the
// layer; Cancel leaves everything as it was.
#include <gtest/gtest.h>

#include "printing/device/PrinterSession.h"
#include "tests/support/printing/FakePrinterBackend.h"

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

TEST_F(DialogFixture, CancelChangesNothing) {
    printer->SetScale(50);
    PrintDialog dialog(*printer);
    PrintDialog::SetNextAnswer({false, "b", ""});

    EXPECT_FALSE(dialog.Execute());

    EXPECT_EQ(fake->CurrentPrinterName(), "a");
    EXPECT_TRUE(printer->Changed());
    ASSERT_TRUE(printer->PendingCopy().has_value());
    EXPECT_EQ(printer->PendingCopy()->scale, 50);
    EXPECT_TRUE(fake->merged.empty());
}

TEST_F(DialogFixture, OkFollowsThePrinterChosen) {
    printer->SetScale(50);
    fake->printers[1].mode.copies = 3;  // chosen in the printer's properties
    PrintDialog dialog(*printer);
    PrintDialog::SetNextAnswer({true, "b", ""});

    EXPECT_TRUE(dialog.Execute());

    EXPECT_FALSE(PrintDialog::HasNextAnswer());
    EXPECT_EQ(fake->CurrentPrinterName(), "b");
    EXPECT_EQ(printer->CachedPrinterIndex(), 1);
    EXPECT_FALSE(printer->Changed());
    ASSERT_TRUE(printer->PendingCopy().has_value());
    EXPECT_EQ(printer->PendingCopy()->copies, 3);
    EXPECT_EQ(printer->PendingCopy()->scale, 100);
}

TEST_F(DialogFixture, ExecuteFirstCatchesUpWithAChangedPrinterList) {
    fake->current = "b";
    printer->Refresh();
    // "b" was removed and "c" became the default while no command ran.
    fake->printers[1] = FakePrinterBackend::StandardPrinter("c", printing::PrinterAttributeDefault);
    PrintDialog dialog(*printer);
    PrintDialog::SetNextAnswer({true, "", ""});

    EXPECT_TRUE(dialog.Execute());

    EXPECT_EQ(fake->resets, 1);
    EXPECT_EQ(fake->CurrentPrinterName(), "c");
    EXPECT_EQ(printer->CachedPrinterIndex(), 1);
    EXPECT_EQ(printer->PrintersInfo().Name(1), "c");
}

TEST_F(DialogFixture, AnswerNamingAnUnknownPrinterIsRefused) {
    PrintDialog dialog(*printer);
    PrintDialog::SetNextAnswer({true, "nowhere", ""});
    EXPECT_THROW(dialog.Execute(), std::invalid_argument);
    EXPECT_FALSE(PrintDialog::HasNextAnswer());
}

}  // namespace
}  // namespace soten
