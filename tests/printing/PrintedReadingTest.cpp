// The Print command over a fake printing service: Cancel, the settings it
// forces and the ones it leaves, and every way it can fail without printing
// half a page.
#include <gtest/gtest.h>

#include "printing/pages/PrintedReading.h"
#include "tests/support/FixtureTables.h"
#include "tests/support/printing/PrintingTestSupport.h"

namespace soten {
namespace {

using printing::FakePrinterBackend;
using test::FixtureTables;

struct PrintCommand : ::testing::Test {
    PrintCommand() {
        auto backend = std::make_unique<FakePrinterBackend>();
        backend->printers = {FakePrinterBackend::StandardPrinter("first"),
                             FakePrinterBackend::StandardPrinter("second")};
        fake = backend.get();
        printer = std::make_unique<PrinterSession>(std::move(backend));
        dialog = std::make_unique<PrintDialog>(*printer);
    }

    void Print(const test::DialogAnswer& answer) {
        test::AnswerPrintDialog(*dialog, answer);
        printing::PrintReading(*dialog, reading, FixtureTables());
    }
    // The user picks "second" in the dialog, then the queue goes away.
    void ChooseThenLoseTheSecondPrinter() {
        test::AnswerPrintDialog(*dialog, {true, "second", ""});
        ASSERT_TRUE(dialog->Execute());
        fake->printers.pop_back();
    }
    void ExpectPageError(const char* message) {
        try {
            printing::PrintReadingPage(*printer, reading, FixtureTables());
            FAIL() << "no error";
        } catch (const PrinterError& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }

    std::string ErrorOf(const test::DialogAnswer& answer) {
        try {
            Print(answer);
        } catch (const std::exception& error) {
            return error.what();
        }
        return "(nothing thrown)";
    }

    Reading reading = test::ReadingOf("山田", "太郎");
    FakePrinterBackend* fake;
    std::unique_ptr<PrinterSession> printer;
    std::unique_ptr<PrintDialog> dialog;
};

TEST_F(PrintCommand, CancelPrintsNothingAndChangesNoSetting) {
    const PrinterSettings before = fake->printers[0].mode;
    Print({false, "", ""});
    EXPECT_TRUE(fake->documents.empty());
    EXPECT_TRUE(fake->merged.empty());
    EXPECT_EQ(fake->printers[0].mode, before);
}

TEST_F(PrintCommand, PrintsOneLandscapeA4MonochromePageOnThePrinterChosen) {
    fake->printers[1].mode.paperSize = 8;
    fake->printers[1].mode.scale = 80;

    Print({true, "second", ""});

    ASSERT_EQ(fake->documents.size(), 1u);
    const auto& document = fake->documents[0];
    EXPECT_EQ(document.title, QStringLiteral("蒼天姓名判断"));
    EXPECT_EQ(document.printer, "second");
    EXPECT_EQ(document.mode.paperSize, PaperA4);
    EXPECT_EQ(document.mode.orientation, OrientationLandscape);
    EXPECT_EQ(document.mode.color, ColorMonochrome);
    EXPECT_EQ(document.mode.scale, 100);
    // All four reached the driver in one step.
    EXPECT_EQ(fake->merged.size(), 1u);
    EXPECT_FALSE(document.page.empty());
}

TEST_F(PrintCommand, SettingsThePrinterLacksAreSkippedNotReported) {
    fake->printers[0].mode.supported = {};

    EXPECT_EQ(ErrorOf({true, "first", ""}), "(nothing thrown)");

    ASSERT_EQ(fake->documents.size(), 1u);
    EXPECT_EQ(fake->documents[0].mode.orientation, OrientationPortrait);
    EXPECT_TRUE(fake->merged.empty());
}

TEST_F(PrintCommand, NoPrinterIsReportedAndTheCommandCanBeRepeated) {
    const auto printers = fake->printers;
    fake->printers.clear();

    EXPECT_EQ(ErrorOf({true, "", ""}), "TRbPrinter.CheckNoPrinter: No Printer");
    EXPECT_TRUE(fake->documents.empty());
    EXPECT_FALSE(printer->DocumentOpen());

    fake->printers = printers;
    Print({true, "", ""});
    EXPECT_EQ(fake->documents.size(), 1u);
}

TEST_F(PrintCommand, PrinterVanishingBetweenTheDialogAndThePage) {
    ChooseThenLoseTheSecondPrinter();
    ExpectPageError("TRbPrinter.ApplySettings: Printer \"second\" is not available");
    EXPECT_TRUE(fake->documents.empty());
    EXPECT_FALSE(printer->DocumentOpen());

    // The next Print starts over with the printers there are.
    Print({true, "", ""});
    ASSERT_EQ(fake->documents.size(), 1u);
    EXPECT_EQ(fake->documents[0].printer, "first");
}

TEST_F(PrintCommand, PrinterVanishingWhenNothingNeedsToBeSet) {
    // Already A4 landscape monochrome: ApplySettings has nothing to do and
    // the document is where the missing printer shows.
    for (auto& p : fake->printers) {
        p.mode.orientation = OrientationLandscape;
        p.mode.color = ColorMonochrome;
    }
    ChooseThenLoseTheSecondPrinter();
    ExpectPageError("TRbPrinter.BeginDocument: Printer \"second\" is not available");
    EXPECT_TRUE(fake->documents.empty());
}

TEST_F(PrintCommand, PageThatFailsHalfWayIsDroppedWhole) {
    int queries = 0;
    fake->onDeviceQuery = [&queries] {
        if (++queries == 20) throw PrinterError("device lost");
    };

    EXPECT_EQ(ErrorOf({true, "", ""}), "device lost");
    EXPECT_TRUE(fake->documents.empty());
    EXPECT_FALSE(printer->DocumentOpen());

    fake->onDeviceQuery = nullptr;
    Print({true, "", ""});
    EXPECT_EQ(fake->documents.size(), 1u);
}

TEST_F(PrintCommand, DocumentThatCannotBeSentLeavesNoneOpen) {
    fake->beforePrint = [] { throw PrinterError("queue refused the job"); };
    EXPECT_EQ(ErrorOf({true, "", ""}), "queue refused the job");
    EXPECT_FALSE(printer->DocumentOpen());

    fake->beforePrint = nullptr;
    Print({true, "", ""});
    EXPECT_EQ(fake->documents.size(), 1u);
}

}  // namespace
}  // namespace soten
