#include "tests/support/printing/FakePrinterBackend.h"

namespace soten::printing {

FakePrinterBackend::Printer FakePrinterBackend::StandardPrinter(const std::string& name,
                                                                std::uint32_t attributes) {
    Printer printer;
    printer.name = name;
    printer.attributes = attributes;
    printer.mode.supported = {PrinterSetting::Orientation, PrinterSetting::PaperSize,
                              PrinterSetting::Scale, PrinterSetting::Color};
    printer.mode.paperSize = PaperA4;
    printer.mode.orientation = OrientationPortrait;
    printer.mode.color = ColorColor;
    printer.mode.scale = 100;
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

std::optional<PrinterSettings> FakePrinterBackend::Settings() {
    Printer* printer = CurrentPrinter();
    if (!printer || !printer->hasSettings) return std::nullopt;
    return printer->mode;
}

std::optional<PrinterSettings> FakePrinterBackend::MergeSettings(const PrinterSettings& settings) {
    Printer* printer = CurrentPrinter();
    if (!printer || refuseMerge) return std::nullopt;
    merged.push_back(settings);
    PrinterSettings& kept = printer->mode;
    const auto uses = [&](PrinterSetting setting) {
        return settings.supported.Has(setting) && kept.supported.Has(setting);
    };
    if (uses(PrinterSetting::Orientation)) kept.orientation = settings.orientation;
    if (uses(PrinterSetting::PaperSize)) kept.paperSize = settings.paperSize;
    if (uses(PrinterSetting::Scale)) kept.scale = settings.scale;
    if (uses(PrinterSetting::Color)) kept.color = settings.color;
    printer->hasSettings = true;
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
