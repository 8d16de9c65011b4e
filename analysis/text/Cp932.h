#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace soten {

// Conversion between UTF-8 and code page 932 (Shift-JIS as Windows writes it)
// as glibc's iconv converts it: through a table of every character that the
// build asked iconv for (data/Cp932TableMain.cpp), iconv itself only for a
// code point whose encoding is not one character. Everything inside the
// analysis is code page 932; these are the only places where text crosses
// that edge.
namespace Cp932 {

// UTF-8 to code page 932. Returns nothing when the input is not valid UTF-8 or
// holds a character code page 932 cannot represent: text is never replaced.
std::optional<std::string> FromUtf8(std::string_view utf8);

// Like FromUtf8, but for a name typed by the user: a character code page 932
// cannot hold becomes the control byte SUB (0x1A), one byte per character, so
// the name keeps its character count and the stroke lookup refuses it.
// Returns nothing only for invalid UTF-8.
std::optional<std::string> NameFromUtf8(std::string_view utf8);

// Code page 932 to UTF-8. Returns nothing for bytes that are not valid code
// page 932.
std::optional<std::string> ToUtf8(std::string_view cp932);

// Code page 932 to UTF-8 for display: an invalid sequence becomes U+FFFD.
std::string ToUtf8Lossy(std::string_view cp932);

// ToUtf8Lossy appended to `out`, for callers that reuse one buffer.
void AppendUtf8Lossy(std::string_view cp932, std::string& out);

// The most bytes WriteJsonUtf8Lossy writes for `cp932Bytes` bytes.
constexpr std::size_t MaxJsonUtf8Size(std::size_t cp932Bytes) {
    return 6 * cp932Bytes;
}

// ToUtf8Lossy with the escapes of a JSON string ('"', '\\' and control
// characters), written to `out`, which has room for MaxJsonUtf8Size bytes;
// returns the bytes written. One pass, for the long texts of JSON records.
std::size_t WriteJsonUtf8Lossy(std::string_view cp932, char* out);

// True when `text` is well-formed UTF-8: no truncated or overlong sequence,
// no UTF-16 surrogate, nothing above U+10FFFF.
bool IsUtf8(std::string_view text);

// The one code iconv gives a double-byte character when it encodes the
// character's Unicode value back: the NEC-selected extension kanji
// (lead bytes 0xED and 0xEE) become their IBM codes (0xFA to 0xFC).
// Any other code is returned unchanged.
unsigned NecSelectedCanonicalCode(unsigned code);  // 0xED00 to 0xEEFF only
inline unsigned CanonicalCode(unsigned code) {
    return code >= 0xED00 && code <= 0xEEFF ? NecSelectedCanonicalCode(code) : code;
}

}  // namespace Cp932
}  // namespace soten
