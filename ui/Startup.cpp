#include "Startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "About.h"
#include "AppIdentity.h"
#include "Art.h"
#include "FontSubstitutes.h"
#include "RbPrinters.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"

namespace soten::ui {

void PrepareApplication(QApplication& application) {
    QCoreApplication::setApplicationName(QStringLiteral("soten"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SOTEN_VERSION));
    QGuiApplication::setDesktopFileName(ApplicationId());
    QGuiApplication::setWindowIcon(ApplicationIcon());
    platform::InstallFontSubstitutes();
    // The windows are shown by the start-up, and the run ends with the main
    // window, not with whichever window happens to be the last one open.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    InstallQtTranslations(application);
}

QTranslator* InstallQtTranslations(QObject& owner) {
    // The program speaks Japanese whatever the locale, and so do Qt's own
    // file, print and message dialogs.
    auto* translator = new QTranslator(&owner);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

ProgramWindows CreateProgramWindows(ProgramState& state, TablesSource tables) {
    ProgramWindows windows;
    windows.splash = new TForm3;
    windows.splash->setAttribute(Qt::WA_DeleteOnClose);
    windows.splash->ShowAndPaint();

    auto* form1 = new TForm1(state, tables());
    form1->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(form1, &QObject::destroyed, qApp, &QCoreApplication::quit);
    windows.mainWindow = form1;
    windows.entryDialog = new TForm2(form1, state.strokeStyle);
    windows.aboutBox = new TAboutBox(form1);
    form1->SetEntryDialog(windows.entryDialog);
    form1->SetAboutBox(windows.aboutBox);
    form1->SetSplash(windows.splash);

    // The printer access object lives from the start of the run. Asking the
    // printing service for its printers takes several milliseconds, so it is
    // made as soon as the event loop runs, while the splash is on screen,
    // rather than before the splash could be painted.
    QTimer::singleShot(0, qApp, [] { RbPrinter(); });
    return windows;
}

}  // namespace soten::ui
