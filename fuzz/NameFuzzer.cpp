// Feeds arbitrary bytes as the two names through the whole new-reading flow:
// the character count, the length limits, the lookup and, when the names are
// accepted, the fortunes, the report and the wrapper. Also pushes the same
// bytes through the UTF-8 edge the desktop program and soten-cli use.
#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "analysis/text/Cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const auto style = (data[0] & 1) ? soten::StrokeStyle::Honji : soten::StrokeStyle::Shinji;
    const bool throughUtf8 = (data[0] & 2) != 0;
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    // The names are split at the first zero byte, or in the middle.
    std::size_t split = rest.find('\0');
    if (split == std::string::npos) split = rest.size() / 2;
    std::string surname = rest.substr(0, split);
    std::string given = rest.substr(std::min(split + 1, rest.size()));

    if (throughUtf8) {
        auto s = soten::Cp932::NameFromUtf8(surname);
        auto g = soten::Cp932::NameFromUtf8(given);
        if (!s || !g) return 0;
        surname = *s;
        given = *g;
    }

    const auto outcome = soten::MakeReading({surname, given}, style, soten::BuiltInTables());
    if (const auto* reading = std::get_if<soten::Reading>(&outcome)) {
        // An accepted reading always fills the report and at least one line.
        const soten::ReadingLines& lines = reading->Lines();
        if (reading->Report().empty() || lines.ScreenLines[0].empty()) __builtin_trap();
        if (lines.lastScreenLine > 30 || lines.lastPrintLine > 30) __builtin_trap();
    }
    return 0;
}
