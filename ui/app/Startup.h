#pragma once

#include <QPointer>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"

class QApplication;
class QObject;
class QTranslator;

namespace soten::ui {

class AboutDialog;
class MainWindow;
class NameEntryDialog;
class SplashScreen;

// The windows of a run.
struct ProgramWindows {
    QPointer<SplashScreen> splash;
    QPointer<MainWindow> mainWindow;
    QPointer<NameEntryDialog> entryDialog;
    QPointer<AboutDialog> aboutBox;
};

// What the application object needs before the first window: its title and
// icon, the face substitutes and Qt's own texts in Japanese.
void PrepareApplication(QApplication& application);

// Qt's own Japanese texts (qtbase_ja.qm of the system's Qt), whatever the
// locale. Returns the installed translator, owned by `owner`, or null when
// the translations are not installed.
QTranslator* InstallQtTranslations(QObject& owner);

// The start-up: the splash window shown and painted at once, then the main
// window (whose timer starts now), the entry dialog and the about box, all
// hidden. The main window appears when the splash ends; closing it ends the
// program. The tables are asked for only once the splash is on screen.
using TablesSource = const Tables& (*)();
ProgramWindows CreateProgramWindows(TablesSource tables = &BuiltInTables);

}  // namespace soten::ui
