#pragma once

#include <exception>
#include <iosfwd>

namespace soten::ui {

// Why the program could not start (the tables would not load, the code page
// converter is missing, ...): shown in the application's error box, captioned
// with the program's title, when a GUI application exists; written to `err`
// otherwise. Returns the exit status of a failed start, EXIT_FAILURE.
int ReportStartupFailure(const std::exception& error, std::ostream& err);
int ReportUnknownStartupFailure(std::ostream& err);

}  // namespace soten::ui
