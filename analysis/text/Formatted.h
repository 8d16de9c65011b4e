#pragma once

#include <cstdint>
#include <string>

namespace soten {

// One number written with a printf format ("%2d", ":%3d", ...): the report,
// the panes and the printed page all align their figures this way.
std::string Formatted(const char* format, std::int32_t number);

}  // namespace soten
