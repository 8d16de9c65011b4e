#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace soten {

// True for a byte that begins a double-byte character in code page 932.
constexpr bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Number of characters in a code page 932 string: a lead byte and the byte
// after it are one character, any other byte is one character by itself.
int CountCharacters(std::string_view cp932);

// The code of a 2-byte unit: first byte high, second byte low.
constexpr unsigned UnitCode(std::string_view unit) {
    return static_cast<unsigned char>(unit[0]) << 8 | static_cast<unsigned char>(unit[1]);
}

// Unit k (from 1) of a text walked two bytes at a time: bytes 2k − 1 and 2k,
// shorter (one byte or empty) where the text ends first.
constexpr std::string_view Unit(std::string_view text, std::size_t k) {
    const std::size_t start = 2 * (k - 1);
    if (start >= text.size()) return {};
    return text.substr(start, 2);
}

// A UTF-8 literal of our own, converted to code page 932. Used to build the
// program's fixed sentences once; throws if the literal cannot be encoded.
std::string Cp932Text(std::string_view utf8);

}  // namespace soten
