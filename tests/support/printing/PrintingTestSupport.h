#pragma once

#include <QString>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "printing/device/PrinterSession.h"
#include "printing/pages/RecordedPage.h"
#include "tests/support/FixtureTables.h"
#include "tests/support/printing/FakePrinterBackend.h"

namespace soten::test {

// A fake printing service with one printer, "fake", that supports the four
// settings the page uses, at 254 dpi with no offset: device dots are then
// tenths of a millimetre.
std::unique_ptr<printing::FakePrinterBackend> OneFakePrinter();

// What the user does in the print dialog.
struct DialogAnswer {
    bool accepted = false;
    std::string printerName;  // UTF-8; empty keeps the current printer
    std::string outputFile;   // where a printer that writes files writes
};

// Makes every Execute of `dialog` answer so, with no modal dialog on screen.
// An answer naming a printer the service does not have throws
// std::invalid_argument, so a mistyped name cannot pass for the default.
void AnswerPrintDialog(PrintDialog& dialog, const DialogAnswer& answer);

// The texts of a recorded page, in drawing order.
std::vector<RecordedPage::Text> TextsOf(const std::vector<RecordedPage::Item>& page);
std::vector<RecordedPage::Picture> PicturesOf(const std::vector<RecordedPage::Item>& page);

// The whole Print command through the real layer (Qt Print Support), with
// the dialog answered "PDF file output to `path`".
void PrintToPdfFile(const Reading& reading, const QString& path, const Tables& tables);

// Words of a PDF as `pdftotext -bbox-layout` reads them, positions in tenths
// of a millimetre from the sheet's top-left corner.
struct PdfWord {
    QString text;
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

struct PdfPage {
    double width = 0;  // tenths of a millimetre
    double height = 0;
    std::vector<PdfWord> words;
};

// Throws when pdftotext fails.
std::vector<PdfPage> ReadPdfWords(const QString& path);
// All the text of a PDF (pdftotext, reading order).
QString ReadPdfText(const QString& path);

// The first word whose text starts with `prefix`, nearest to `top` when
// several do.
std::optional<PdfWord> FindWord(const PdfPage& page, const QString& prefix, double nearTop = -1);

}  // namespace soten::test
