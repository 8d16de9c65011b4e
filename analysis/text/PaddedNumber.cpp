#include "analysis/text/PaddedNumber.h"

#include <array>
#include <charconv>

namespace soten {

std::string PaddedNumber(int value, int width) {
    if (width == 2 && value >= 0 && value < 100) {  // a count of strokes, most often
        return {value < 10 ? ' ' : static_cast<char>('0' + value / 10),
                static_cast<char>('0' + value % 10)};
    }
    std::array<char, 16> digits{};
    const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    const int length = static_cast<int>(end - digits.data());
    std::string text(static_cast<std::size_t>(width > length ? width - length : 0), ' ');
    text.append(digits.data(), static_cast<std::size_t>(length));
    return text;
}

}  // namespace soten
