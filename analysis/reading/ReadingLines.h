#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace soten {

inline constexpr int WrappedLineCount = 31;

// The reading as wrapped for the screen pane (26 full-width characters a
// line) and for the printed page (35), with the index of the last line each
// uses.
struct ReadingLines {
    std::array<std::string, WrappedLineCount> ScreenLines;
    std::array<std::string, WrappedLineCount> PrintLines;
    std::int32_t lastScreenLine = 0;
    std::int32_t lastPrintLine = 0;
};

}  // namespace soten
