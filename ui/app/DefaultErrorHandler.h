#pragma once

#include <exception>
#include <utility>

#include <QString>

namespace soten::ui {

// The application's default error handler. Every command of the program runs
// through here: whatever it throws (a file that cannot be written, a printer
// error) is shown in the application's error box and the program goes on. No
// exception ever unwinds into Qt's event loop, which does not allow it.
void ReportCommandFailure(const std::exception& error);
void ReportUnknownCommandFailure();

template <typename Command>
void RunCommand(Command&& command) noexcept {
    try {
        std::forward<Command>(command)();
    } catch (const std::exception& error) {
        ReportCommandFailure(error);
    } catch (...) {
        ReportUnknownCommandFailure();
    }
}

}  // namespace soten::ui
