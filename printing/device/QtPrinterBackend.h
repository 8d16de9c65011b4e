#pragma once

#include <memory>

#include "printing/device/PrinterBackend.h"

class QPrinter;

namespace soten::printing {

// The printer layer over Qt Print Support: the CUPS queues Qt reports, plus
// the PDF file output of Qt's print dialog, which counts as a printer (on
// Linux it is how many people print) and is never hidden.
//
// CUPS has no hidden attribute: no queue is ever reported hidden. The list
// marks the system's default queue with the default attribute, so a change of
// default counts as a change of the list and the next print command starts
// over with the new default.
class QtPrinterBackend final : public PrinterBackend {
public:
    QtPrinterBackend();
    // Over a printer owned elsewhere (the print preview's), which is never
    // replaced or dropped.
    explicit QtPrinterBackend(QPrinter& borrowed);
    ~QtPrinterBackend() override;

    // The list entry of the PDF file output. CUPS queue names cannot hold
    // spaces, so it never clashes with a queue.
    static const std::string& PdfOutputName();

    // The toolkit's printer, built with the system's default printer on
    // first use.
    QPrinter& Printer();

    std::vector<PrinterEntry> EnumPrinters() override;
    std::string CurrentPrinterName() override;
    bool CurrentPrinterAvailable() override;
    bool SelectPrinter(const std::string& name, const std::string& outputFile) override;
    void ProposeFileName(const QString& fileName) override;
    bool RunPrintDialog(QWidget* parent) override;
    std::optional<PrinterSettings> Settings() override;
    std::optional<PrinterSettings> MergeSettings(const PrinterSettings& settings) override;
    void ResetPrinter() override;
    QPoint Resolution() override;
    QPoint PhysicalOffset() override;
    void PrintDocument(const QString& title, const std::vector<RecordedPage>& pages) override;

private:
    bool WritesPdf();
    // The settings the current printer can take at all; nothing when its
    // queue has gone.
    std::optional<SupportedSettingSet> Capabilities();

    // The PDF file as the system names it, when it was given as bytes: Qt's
    // printer holds names as text, which cannot hold every byte string.
    std::string OutputFileBytes();
    void PaintDocument(QPrinter& printer, const std::vector<RecordedPage>& pages);

    std::unique_ptr<QPrinter> printer_;
    QPrinter* borrowed_ = nullptr;
    std::string outputFileBytes_;
    QString proposedFileName_;
    QString lastFolder_;
    // Qt's printers have no scaling of their own; the page is scaled when it
    // is painted.
    std::int16_t scale_ = 100;
};

}  // namespace soten::printing
