#pragma once

#include <QPoint>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "printing/device/PrinterSettings.h"

class QWidget;

namespace soten {
class RecordedPage;
}

namespace soten::printing {

// Attributes of an entry of the printer list.
inline constexpr std::uint32_t PrinterAttributeDefault = 0x00000004;
inline constexpr std::uint32_t PrinterAttributeHidden = 0x00000020;

// One entry of the system's printer list.
struct PrinterEntry {
    std::string name;  // UTF-8
    std::uint32_t attributes = 0;
    bool operator==(const PrinterEntry&) const = default;
};

// What the printer layer needs of the system's printing service and of the
// toolkit's printer object (the one printer the dialog edits and documents go
// to). The program runs over Qt Print Support (QtPrinterBackend); tests use
// FakePrinterBackend to reach states no real system offers on demand.
class PrinterBackend {
public:
    virtual ~PrinterBackend() = default;

    // The system's printer list, in its order.
    virtual std::vector<PrinterEntry> EnumPrinters() = 0;

    // The name of the toolkit printer's current printer.
    virtual std::string CurrentPrinterName() = 0;
    // Whether the current printer still exists and can take a document.
    virtual bool CurrentPrinterAvailable() = 0;

    // Makes the named printer current; a printer that writes files writes to
    // `outputFile`. False when there is no such printer.
    virtual bool SelectPrinter(const std::string& name, const std::string& outputFile) = 0;

    // The name the print dialog proposes for a PDF file (the folder is the
    // one last used). A backend without files ignores it.
    virtual void ProposeFileName(const QString& fileName) { static_cast<void>(fileName); }

    // Shows the system's print dialog over the toolkit's printer; true on OK,
    // after which the printer and settings chosen there are current.
    virtual bool RunPrintDialog(QWidget* parent) = 0;

    // The current printer's settings record; nothing when it has none.
    virtual std::optional<PrinterSettings> Settings() = 0;

    // Hands a record to the driver, which checks it, keeps what the printer
    // accepts and gives back the record now in force. Nothing when the
    // printer cannot be opened.
    virtual std::optional<PrinterSettings> MergeSettings(const PrinterSettings& settings) = 0;

    // Drops the toolkit's printer object; the next use builds a new one with
    // the system's default printer.
    virtual void ResetPrinter() = 0;

    // Dots per inch across and down, and the distance in dots from the
    // sheet's left and top edges to the printable area.
    virtual QPoint Resolution() = 0;
    virtual QPoint PhysicalOffset() = 0;

    // Sends the finished pages (at least one, in order) to the current printer
    // as one document with the given title. Throws PrinterError when the
    // document cannot be made.
    virtual void PrintDocument(const QString& title, const std::vector<RecordedPage>& pages) = 0;
};

}  // namespace soten::printing
