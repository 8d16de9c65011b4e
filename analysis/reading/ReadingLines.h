#pragma once

#include <array>
#include <string>

namespace soten {

inline constexpr int WrappedLineCount = 31;

// The reading as wrapped for the screen pane and for the printed page.
struct ReadingLines {
    std::array<std::string, WrappedLineCount> ScreenLines;
    std::array<std::string, WrappedLineCount> PrintLines;
};

}  // namespace soten
