#pragma once

#include <optional>
#include <string>

namespace soten::ui {

// The two questions the desktop program answers on its command line, before
// any window or display is needed: --help (-h) and --version (-v). Returns
// the text to print on standard output, or nothing when the program is to
// start; every other argument is left to Qt.
std::optional<std::string> AnswerWithoutWindow(int argc, const char* const argv[]);

}  // namespace soten::ui
