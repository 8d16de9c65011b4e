#pragma once

// The rows of an embedded table, one to a line.

#include <string_view>
#include <vector>

namespace soten {

// The lines of `text`, each without its line end (LF or CR LF); empty lines
// are left out.
std::vector<std::string_view> LinesOf(std::string_view text);

}  // namespace soten
