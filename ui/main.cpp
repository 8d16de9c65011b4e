// 蒼天姓名判断: start-up of the desktop program.
#include <QApplication>

#include "ProgramWide.h"
#include "RuntimeFolder.h"
#include "Startup.h"

int main(int argc, char* argv[]) {
    soten::platform::EnsureRuntimeFolder();
    QApplication application(argc, argv);
    soten::ui::PrepareApplication(application);
    soten::ui::CreateProgramWindows(soten::ui::ProgramWide());
    return QApplication::exec();
}
