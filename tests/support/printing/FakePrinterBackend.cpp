#include "tests/support/printing/FakePrinterBackend.h"

namespace soten::printing {

FakePrinterBackend::Printer FakePrinterBackend::StandardPrinter(const std::string& name,
                                                                std::uint32_t attributes) {
    Printer printer;
    printer.name = name;
    printer.attributes = attributes;
    printer.capabilities = DeviceField::Orientation | DeviceField::PaperSize | DeviceField::Scale |
                           DeviceField::Color | DeviceField::Copies;
    printer.mode.fields = printer.capabilities;
    printer.mode.paperSize = PaperA4;
    printer.mode.orientation = OrientationPortrait;
    printer.mode.color = ColorColor;
    printer.mode.scale = 100;
    printer.mode.copies = 1;
    return printer;
}

FakePrinterBackend::Printer* FakePrinterBackend::Find(const std::string& name) {
    for (Printer& printer : printers) {
        if (printer.name == name) return &printer;
    }
    return nullptr;
}

FakePrinterBackend::Printer* FakePrinterBackend::CurrentPrinter() {
    return Find(CurrentPrinterName());
}

std::vector<PrinterEntry> FakePrinterBackend::EnumPrinters() {
    std::vector<PrinterEntry> entries;
    for (const Printer& printer : printers) entries.push_back({printer.name, printer.attributes});
    return entries;
}

std::string FakePrinterBackend::CurrentPrinterName() {
    if (current.empty()) {
        // Like a new toolkit printer: the default printer, else the first.
        for (const Printer& printer : printers) {
            if (printer.attributes & PrinterAttributeDefault) current = printer.name;
        }
        if (current.empty() && !printers.empty()) current = printers.front().name;
    }
    return current;
}

int FakePrinterBackend::CurrentPrinterIndex() {
    const std::string name = CurrentPrinterName();
    for (std::size_t i = 0; i < printers.size(); ++i) {
        if (printers[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

bool FakePrinterBackend::CurrentPrinterAvailable() {
    return CurrentPrinter() != nullptr;
}

bool FakePrinterBackend::SelectPrinter(const std::string& name, const std::string&) {
    if (!Find(name)) return false;
    current = name;
    return true;
}

bool FakePrinterBackend::RunPrintDialog(QWidget*) {
    ++dialogsShown;
    return dialogAccepts;
}

std::optional<PrinterSettings> FakePrinterBackend::DeviceMode() {
    Printer* printer = CurrentPrinter();
    if (!printer || !printer->hasDeviceMode) return std::nullopt;
    return printer->mode;
}

std::optional<PrinterSettings> FakePrinterBackend::MergeDeviceMode(const PrinterSettings& mode) {
    Printer* printer = CurrentPrinter();
    if (!printer || refuseMerge) return std::nullopt;
    merged.push_back(mode);
    const std::uint32_t usable = mode.fields & printer->capabilities;
    PrinterSettings& kept = printer->mode;
    if (usable & DeviceField::Orientation) kept.orientation = mode.orientation;
    if (usable & DeviceField::PaperSize) kept.paperSize = mode.paperSize;
    if (usable & DeviceField::PaperLength) kept.paperLength = mode.paperLength;
    if (usable & DeviceField::PaperWidth) kept.paperWidth = mode.paperWidth;
    if (usable & DeviceField::Scale) kept.scale = mode.scale;
    if (usable & DeviceField::Copies) kept.copies = mode.copies;
    if (usable & DeviceField::Color) kept.color = mode.color;
    kept.fields = (kept.fields & ~printer->capabilities) | usable;
    printer->hasDeviceMode = true;
    return kept;
}

void FakePrinterBackend::ResetPrinter() {
    ++resets;
    current.clear();
}

QPoint FakePrinterBackend::Resolution() {
    if (onDeviceQuery) onDeviceQuery();
    return resolution;
}

QPoint FakePrinterBackend::PhysicalOffset() {
    if (onDeviceQuery) onDeviceQuery();
    return physicalOffset;
}

void FakePrinterBackend::PrintDocument(const QString& title,
                                       const std::vector<RecordedPage>& pages) {
    if (beforePrint) beforePrint();
    Printer* printer = CurrentPrinter();
    Document document{title,
                      printer ? printer->name : std::string(),
                      printer ? printer->mode : PrinterSettings{},
                      {},
                      {}};
    for (const RecordedPage& page : pages) document.pages.push_back(page.Items());
    if (!document.pages.empty()) document.page = document.pages.front();
    documents.push_back(std::move(document));
}

}  // namespace soten::printing
