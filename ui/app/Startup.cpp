#include "ui/app/Startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "platform/drawing/FontSubstitutes.h"
#include "printing/device/PrinterSession.h"
#include "ui/app/AboutDialog.h"
#include "ui/app/AppIdentity.h"
#include "ui/app/Art.h"
#include "ui/app/MainWindow.h"
#include "ui/app/SplashScreen.h"
#include "ui/reading/NameEntryDialog.h"

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

ProgramWindows CreateProgramWindows(TablesSource tables) {
    ProgramWindows windows;
    windows.splash = new SplashScreen;
    windows.splash->setAttribute(Qt::WA_DeleteOnClose);
    windows.splash->ShowAndPaint();

    auto* mainWindow = new MainWindow(tables());
    mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(mainWindow, &QObject::destroyed, qApp, &QCoreApplication::quit);
    windows.mainWindow = mainWindow;
    windows.entryDialog = new NameEntryDialog(mainWindow);
    windows.aboutBox = new AboutDialog(mainWindow);
    mainWindow->SetEntryDialog(windows.entryDialog);
    mainWindow->SetAboutBox(windows.aboutBox);
    mainWindow->SetSplash(windows.splash);

    // The printer access object lives from the start of the run. Asking the
    // printing service for its printers takes several milliseconds, so it is
    // made as soon as the event loop runs, while the splash is on screen,
    // rather than before the splash could be painted.
    QTimer::singleShot(0, qApp, [] { SharedPrinterSession(); });
    return windows;
}

}  // namespace soten::ui
