#include "analysis/text/Formatted.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace soten {

std::string Formatted(const char* format, std::int32_t number) {
    // "%Nd", the report's own format, written without printf: a report of a
    // batch writes a dozen of them.
    if (format[0] == '%' && format[1] >= '1' && format[1] <= '9' && format[2] == 'd' &&
        format[3] == '\0') {
        std::array<char, 16> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), number).ptr;
        const auto length = static_cast<std::size_t>(end - digits.data());
        const auto width = static_cast<std::size_t>(format[1] - '0');
        std::string text(width > length ? width - length : 0, ' ');
        text.append(digits.data(), length);
        return text;
    }
    std::array<char, 32> buffer{};
    const int length = std::snprintf(buffer.data(), buffer.size(), format, number);
    if (length <= 0) return {};
    return std::string(buffer.data(),
                       std::min(static_cast<std::size_t>(length), buffer.size() - 1));
}

}  // namespace soten
