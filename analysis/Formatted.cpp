#include "Formatted.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace soten {

std::string Formatted(const char* format, std::int32_t number) {
    std::array<char, 32> buffer{};
    const int length = std::snprintf(buffer.data(), buffer.size(), format, number);
    if (length <= 0) return {};
    return std::string(buffer.data(),
                       std::min(static_cast<std::size_t>(length), buffer.size() - 1));
}

}  // namespace soten
