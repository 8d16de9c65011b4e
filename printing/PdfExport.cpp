#include "PdfExport.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <exception>
#include <memory>

#include "FontSubstitutes.h"
#include "PrintedReading.h"
#include "QtPrinterBackend.h"
#include "RuntimeFolder.h"

namespace soten::printing {

namespace {

// A GUI application (fonts need one) for a process that has none, such as
// soten-cli; no display is needed.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
    if (QCoreApplication::instance()) return nullptr;
    platform::EnsureRuntimeFolder();
    static int argc = 3;
    static char program[] = "soten-cli";
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    static char* argv[] = {program, platformOption, offscreen, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

std::string WritePdfForCli(const ProgramState& state, const std::string& path) {
    if (!state.shown.valid) return "there is no reading to print";
    if (path.empty()) return "the PDF file needs a name";
    const std::unique_ptr<QGuiApplication> application = EnsureGuiApplication();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return "printing needs a QGuiApplication, and this process has only a QCoreApplication";
    }
    platform::InstallFontSubstitutes();
    try {
        TRbPrinter printer(std::make_unique<QtPrinterBackend>());
        printer.Backend().SelectPrinter(QtPrinterBackend::PdfOutputName(), path);
        printer.Refresh();
        PrintReadingPage(printer, state.shown, BuiltInTables());
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

}  // namespace soten::printing
