#include "cli/app/TerminalText.h"

#include <array>

namespace soten::cli {
namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD";

void AppendEscape(std::string_view prefix, unsigned value, int digits, std::string& out) {
    static constexpr std::array<char, 16> Hex = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                 '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    out += prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += Hex[(value >> shift) & 0xF];
}

// The length of the well-formed UTF-8 sequence at the start of `text`, or,
// negated, the length of its longest well-formed beginning (at least 1).
int SequenceLength(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(0);
    int length = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return -1;
    }
    for (int k = 1; k < length; ++k) {
        const auto at = static_cast<std::size_t>(k);
        if (at >= text.size() || byte(at) < (k == 1 ? low : 0x80) ||
            byte(at) > (k == 1 ? high : 0xBF)) {
            return -k;
        }
    }
    return length;
}

}  // namespace

std::string TerminalText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            AppendEscape("\\x", byte, 2, shown);
            ++i;
            continue;
        }
        if (byte < 0x80) {
            shown += text[i++];
            continue;
        }
        const int length = SequenceLength(text.substr(i));
        if (length < 0) {
            shown += Replacement;
            i += static_cast<std::size_t>(-length);
        } else if (byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            AppendEscape("\\u", static_cast<unsigned char>(text[i + 1]), 4, shown);
            i += 2;
        } else {
            shown.append(text.substr(i, static_cast<std::size_t>(length)));
            i += static_cast<std::size_t>(length);
        }
    }
    return shown;
}

}  // namespace soten::cli
