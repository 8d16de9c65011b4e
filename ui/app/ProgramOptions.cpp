#include "ui/app/ProgramOptions.h"

#include <string_view>

#include "SotenIdentity.h"

namespace soten::ui {

namespace {

constexpr std::string_view HelpText =
    "Usage: soten [--help] [--version]\n" SOTEN_PROGRAM_NAME
    ": Japanese name divination from stroke counts.\n"
    "Opens the program's window; the reading is made from the names typed there.\n"
    "\n"
    "  -h, --help     show this text and exit\n"
    "  -v, --version  show the version and exit\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are accepted as well.\n";

constexpr std::string_view VersionText = "soten " SOTEN_VERSION "\n";

}  // namespace

std::optional<std::string> AnswerWithoutWindow(int argc, const char* const argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h") return std::string(HelpText);
        if (arg == "--version" || arg == "-v") return std::string(VersionText);
    }
    return std::nullopt;
}

}  // namespace soten::ui
