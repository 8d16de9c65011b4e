#include "PdfExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <exception>
#include <memory>

#include <unistd.h>

#include "FontSubstitutes.h"
#include "PrintedReading.h"
#include "QtPrinterBackend.h"

namespace soten::printing {

namespace {

// A GUI application (fonts need one) for a process that has none, such as
// soten-cli; no display is needed.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
    if (QCoreApplication::instance()) return nullptr;
    // A root shell or a batch job often has no runtime folder; Qt would pick
    // this one itself, but with a warning on stderr that a command-line user
    // should not have to read.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + QStringLiteral("/runtime-") +
                                QString::number(static_cast<unsigned long>(::getuid()));
        if (QDir().mkpath(runtime) &&
            QFile::setPermissions(runtime,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        }
    }
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
