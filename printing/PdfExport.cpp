#include "PdfExport.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <exception>
#include <memory>

#include "FontSubstitutes.h"
#include "PrintedReading.h"
#include "QtPrinterBackend.h"

namespace soten::printing {

std::string WritePdfForCli(const ProgramState& state, const std::string& path) {
    if (!state.shown.valid) return "there is no reading to print";
    if (path.empty()) return "the PDF file needs a name";
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return "printing needs a QGuiApplication in the process";
    }
    platform::InstallFontSubstitutes();
    try {
        PrinterSession printer(std::make_unique<QtPrinterBackend>());
        printer.Backend().SelectPrinter(QtPrinterBackend::PdfOutputName(), path);
        printer.Refresh();
        PrintReadingPage(printer, state.shown, BuiltInTables());
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

}  // namespace soten::printing
