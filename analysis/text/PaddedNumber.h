#pragma once

#include <string>

namespace soten {

// value in decimal, right-aligned in spaces to width characters (never cut):
// the report, the panes and the printed pages align their figures this way.
std::string PaddedNumber(int value, int width);

}  // namespace soten
