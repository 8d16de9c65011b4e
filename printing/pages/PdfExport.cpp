#include "printing/pages/PdfExport.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <exception>
#include <functional>
#include <memory>

#include "platform/drawing/FontSubstitutes.h"
#include "printing/device/QtPrinterBackend.h"
#include "printing/pages/ComparisonPage.h"
#include "printing/pages/PrintedReading.h"

namespace soten::printing {

namespace {

// Prints through a layer of its own on the PDF file output; the reason of a
// failure, or an empty string.
std::string PrintToPdf(const std::string& path, const std::function<void(PrinterSession&)>& print) {
    if (path.empty()) return "the PDF file needs a name";
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return "printing needs a QGuiApplication in the process";
    }
    platform::InstallFontSubstitutes();
    try {
        PrinterSession printer(std::make_unique<QtPrinterBackend>());
        printer.Backend().SelectPrinter(QtPrinterBackend::PdfOutputName(), path);
        printer.Refresh();
        print(printer);
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

}  // namespace

std::string WritePdfForCli(const Reading& reading, const std::string& path) {
    return PrintToPdf(path, [&](PrinterSession& printer) {
        PrintReadingPage(printer, reading, BuiltInTables());
    });
}

std::string WriteComparisonPdfForCli(const std::vector<ComparedName>& names, const QDate& date,
                                     const std::string& path) {
    return PrintToPdf(path,
                      [&](PrinterSession& printer) { PrintComparisonPages(printer, names, date); });
}

}  // namespace soten::printing
