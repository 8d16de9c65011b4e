// 蒼天姓名判断: start-up of the desktop program.
#include <QApplication>
#include <iostream>
#include <optional>

#include "FileErrors.h"
#include "MessageBoxes.h"
#include "ProgramOptions.h"
#include "ProgramState.h"
#include "RuntimeFolder.h"
#include "Startup.h"
#include "StartupFailure.h"

int main(int argc, char* argv[]) {
    // --help and --version are answered before Qt looks for a display.
    if (const auto answer = soten::ui::AnswerWithoutWindow(argc, argv)) {
        std::cout << *answer;
        return 0;
    }
    // The reading on show and the chosen style, shared by every window; it
    // outlives the application object and the windows it owns.
    soten::ProgramState state;
    // Declared outside the guard so the error box can still be shown.
    std::optional<QApplication> application;
    try {
        soten::platform::EnsureRuntimeFolder();
        application.emplace(argc, argv);
        soten::platform::SetFileNoteHandler([](const std::string& note) {
            soten::ui::ShowFileNoteBox(QString::fromStdString(note));
        });
        soten::ui::PrepareApplication(*application);
        soten::ui::CreateProgramWindows(state);
    } catch (const std::exception& error) {
        return soten::ui::ReportStartupFailure(error, std::cerr);
    } catch (...) {
        return soten::ui::ReportUnknownStartupFailure(std::cerr);
    }
    return QApplication::exec();
}
