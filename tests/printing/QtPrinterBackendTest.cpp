// The layer over Qt Print Support with the PDF file output, which every
// system has: what it reports and what reaches Qt's printer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "printing/device/PrinterSession.h"
#include "printing/device/QtPrinterBackend.h"

namespace soten {
namespace {

using printing::QtPrinterBackend;

struct QtLayer : ::testing::Test {
    QtLayer() {
        auto owned = std::make_unique<QtPrinterBackend>();
        backend = owned.get();
        printer = std::make_unique<PrinterSession>(std::move(owned));
        backend->SelectPrinter(QtPrinterBackend::PdfOutputName(), "/tmp/unused.pdf");
    }
    QtPrinterBackend* backend;
    std::unique_ptr<PrinterSession> printer;
};

TEST_F(QtLayer, PdfOutputIsAlwaysAVisiblePrinter) {
    const std::vector<printing::PrinterEntry> list = backend->EnumPrinters();
    ASSERT_GE(list.size(), 1u);
    EXPECT_EQ(list.back().name, QtPrinterBackend::PdfOutputName());
    EXPECT_EQ(list.back().attributes & printing::PrinterAttributeHidden, 0u);
    EXPECT_NO_THROW(printer->CheckNoPrinter());
}

TEST_F(QtLayer, PdfOutputSupportsTheFourSettingsOfThePage) {
    const SupportedSettingSet settings = printer->SupportedSettings();
    EXPECT_TRUE(settings.Has(PrinterSetting::Orientation));
    EXPECT_TRUE(settings.Has(PrinterSetting::PaperSize));
    EXPECT_TRUE(settings.Has(PrinterSetting::Color));
    EXPECT_TRUE(settings.Has(PrinterSetting::Scale));
}

TEST_F(QtLayer, AppliedSettingsReachQtsPrinter) {
    printer->Refresh();
    printer->SetPaperSizeNumber(PaperA4);
    printer->SetOrientation(PageOrientation::Landscape);
    printer->SetColor(false);
    printer->ApplySettings();

    QPrinter& qt = backend->Printer();
    EXPECT_EQ(qt.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(qt.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(qt.colorMode(), QPrinter::GrayScale);
}

TEST_F(QtLayer, ChosenPaperWinsOverACustomSize) {
    backend->Printer().setPageSize(QPageSize(QSizeF(100, 150), QPageSize::Millimeter));
    printer->Refresh();
    ASSERT_EQ(backend->Settings()->paperSize, PaperUserDefined);

    printer->SetPaperSizeNumber(PaperA4);
    printer->ApplySettings();

    EXPECT_EQ(backend->Printer().pageLayout().pageSize().id(), QPageSize::A4);
}

TEST_F(QtLayer, ResolutionAndOffsetInDeviceDots) {
    backend->Printer().setPageMargins(QMarginsF(10, 5, 10, 5), QPageLayout::Millimeter);
    EXPECT_EQ(printer->Resolution(), QPoint(1200, 1200));
    // 10 mm and 5 mm at 1200 dpi are 472 and 236 dots; Qt keeps margins in
    // whole points (17 dots here).
    const QPoint offset = printer->PhysicalOffset();
    EXPECT_NEAR(offset.x(), 472, 17);
    EXPECT_NEAR(offset.y(), 236, 17);
}

TEST_F(QtLayer, UnwritablePdfFileFailsAtTheEndOfTheDocument) {
    backend->SelectPrinter(QtPrinterBackend::PdfOutputName(), "/nonexistent-folder/x.pdf");
    printer->BeginDocument(QStringLiteral("t"));
    try {
        printer->EndDocument();
        FAIL() << "no error";
    } catch (const PrinterError& error) {
        // The file and the reason, as Save As says them: nothing internal.
        EXPECT_STREQ(
            error.what(),
            "ファイル \"/nonexistent-folder/x.pdf\" を作成できません。フォルダが見つかりません");
    }
    EXPECT_FALSE(printer->DocumentOpen());
}

// Answers the system's print dialog once it is on screen.
void AnswerSystemDialog(bool accept) {
    QTimer::singleShot(0, [accept] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        accept ? dialog->accept() : dialog->reject();
    });
}

TEST_F(QtLayer, SystemDialogCancelLeavesThePrinterAndItsSettings) {
    backend->SelectPrinter(QtPrinterBackend::PdfOutputName(), "/tmp/kept.pdf");
    backend->Printer().setPageOrientation(QPageLayout::Landscape);
    printer->Refresh();
    PrintDialog dialog(*printer);
    AnswerSystemDialog(false);

    EXPECT_FALSE(dialog.Execute());

    EXPECT_EQ(backend->CurrentPrinterName(), QtPrinterBackend::PdfOutputName());
    EXPECT_EQ(backend->Printer().outputFileName(), QStringLiteral("/tmp/kept.pdf"));
    EXPECT_EQ(backend->Printer().pageLayout().orientation(), QPageLayout::Landscape);
}

TEST_F(QtLayer, SystemDialogOkMakesItsChoiceCurrent) {
    PrintDialog dialog(*printer);
    AnswerSystemDialog(true);

    ASSERT_TRUE(dialog.Execute());

    // Whichever entry the dialog offered first, it is a printer of the list
    // and the layer now sets it up.
    const std::string chosen = backend->CurrentPrinterName();
    const std::vector<printing::PrinterEntry> list = backend->EnumPrinters();
    EXPECT_TRUE(std::any_of(list.begin(), list.end(), [&](const printing::PrinterEntry& entry) {
        return entry.name == chosen;
    })) << chosen;
    printer->SetOrientation(PageOrientation::Landscape);
    printer->ApplySettings();
    EXPECT_EQ(backend->Printer().pageLayout().orientation(), QPageLayout::Landscape);
}

TEST_F(QtLayer, PdfFileIsProposedUnderTheReadingsNameInTheFolderLastUsed) {
    QTemporaryDir chosen;
    const QString firstChoice = chosen.filePath(QStringLiteral("elsewhere.pdf"));
    QStringList proposed;
    for (const QString& answer : {firstChoice, QString()}) {
        PrintDialog dialog(*printer);
        dialog.SetFileName(QStringLiteral("山田太郎.pdf"));
        QTimer::singleShot(0, [&] {
            auto* system = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(system, nullptr);
            auto* field = system->findChild<QLineEdit*>(QStringLiteral("filename"));
            ASSERT_NE(field, nullptr);
            proposed.push_back(field->text());
            if (answer.isEmpty()) return system->reject();
            // The PDF file output, last in the list, with a name of the user's own.
            auto* printers = system->findChild<QComboBox*>(QStringLiteral("printers"));
            ASSERT_NE(printers, nullptr);
            printers->setCurrentIndex(printers->count() - 1);
            field->setText(answer);
            system->accept();
        });
        dialog.Execute();
    }
    EXPECT_EQ(proposed, (QStringList{QDir::home().filePath(QStringLiteral("山田太郎.pdf")),
                                     chosen.filePath(QStringLiteral("山田太郎.pdf"))}));
    EXPECT_EQ(backend->Printer().outputFileName(), firstChoice);
}

}  // namespace
}  // namespace soten
