#pragma once

#include <functional>
#include <string>
#include <vector>

#include "printing/device/PrinterBackend.h"
#include "printing/pages/RecordedPage.h"

namespace soten::printing {

// A printing service held in memory, for tests of the layer, of the print
// command and of the windows: a printer list the test edits at will (printers
// can vanish or lose their settings between two calls), one settings record
// per printer, and the documents that "reached" a printer, each with its page.
class FakePrinterBackend final : public PrinterBackend {
public:
    struct Printer {
        std::string name;
        std::uint32_t attributes = 0;
        // Its record; the printer takes, when a record is merged, the
        // settings this one says it supports.
        PrinterSettings mode;
        // False: the printer is listed but has no settings record.
        bool hasSettings = true;
    };

    struct Document {
        QString title;
        std::string printer;
        PrinterSettings mode;                  // the printer's settings when the page was printed
        std::vector<RecordedPage::Item> page;  // the first page
        std::vector<std::vector<RecordedPage::Item>> pages;  // every page, in order
    };

    // A printer that accepts orientation, paper size, scale and colour, with
    // its record on A4 portrait in colour.
    static Printer StandardPrinter(const std::string& name, std::uint32_t attributes = 0);

    std::vector<Printer> printers;
    std::string current;  // the toolkit printer's printer; empty: the default
    QPoint resolution{600, 600};
    QPoint physicalOffset{0, 0};

    // What the system's dialog would do when shown.
    bool dialogAccepts = true;
    // The driver refuses to merge records.
    bool refuseMerge = false;
    // Called before a page is printed; may throw, as a failing device would.
    std::function<void()> beforePrint;
    // Called on every Resolution() and PhysicalOffset() query.
    std::function<void()> onDeviceQuery;

    std::vector<Document> documents;
    std::vector<PrinterSettings> merged;  // every record handed to the driver
    int resets = 0;
    int dialogsShown = 0;

    Printer* Find(const std::string& name);

    std::vector<PrinterEntry> EnumPrinters() override;
    std::string CurrentPrinterName() override;
    bool CurrentPrinterAvailable() override;
    bool SelectPrinter(const std::string& name, const std::string& outputFile) override;
    bool RunPrintDialog(QWidget* parent) override;
    std::optional<PrinterSettings> Settings() override;
    std::optional<PrinterSettings> MergeSettings(const PrinterSettings& settings) override;
    void ResetPrinter() override;
    QPoint Resolution() override;
    QPoint PhysicalOffset() override;
    void PrintDocument(const QString& title, const std::vector<RecordedPage>& pages) override;

private:
    Printer* CurrentPrinter();
};

}  // namespace soten::printing
