// 蒼天姓名判断: start-up of the desktop program.
#include <QApplication>
#include <iostream>
#include <optional>

#include "platform/files/FileErrors.h"
#include "platform/files/RuntimeFolder.h"
#include "ui/app/MessageBoxes.h"
#include "ui/app/ProgramOptions.h"
#include "ui/app/Startup.h"
#include "ui/app/StartupFailure.h"

int main(int argc, char* argv[]) {
    // --help and --version are answered before Qt looks for a display.
    if (const auto answer = soten::ui::AnswerWithoutWindow(argc, argv)) {
        std::cout << *answer;
        return 0;
    }
    // Declared outside the guard so the error box can still be shown.
    std::optional<QApplication> application;
    try {
        soten::platform::EnsureRuntimeFolder();
        application.emplace(argc, argv);
        soten::platform::SetFileNoteHandler([](const std::string& note) {
            soten::ui::ShowFileNoteBox(QString::fromStdString(note));
        });
        soten::ui::PrepareApplication(*application);
        soten::ui::CreateProgramWindows();
    } catch (const std::exception& error) {
        return soten::ui::ReportStartupFailure(error, std::cerr);
    } catch (...) {
        return soten::ui::ReportUnknownStartupFailure(std::cerr);
    }
    return QApplication::exec();
}
