#include "analysis/text/Cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "data/include/EmbeddedTables.h"

namespace soten::Cp932 {
namespace {

// A converter for one direction. iconv descriptors are not thread-safe, so
// each thread keeps its own (see EncoderOfThisThread).
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    enum class Stop { Done, Invalid, Incomplete };

    // Converts as much as possible; `in` is advanced past what was converted.
    Stop Convert(std::string_view& in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        // Room for all of it in one call (a byte becomes at most three): glibc
        // converts in two steps, and when the output fills up it converts the
        // input of the step again, which makes a long text quadratic.
        size_t room = 3 * srcLeft + 16;
        Stop stop = Stop::Done;
        while (srcLeft > 0) {
            const size_t at = out.size();
            out.resize(at + room);
            char* dst = out.data() + at;
            size_t dstLeft = room;
            const size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.resize(at + room - dstLeft);
            if (rc != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) {
                room *= 2;
                continue;
            }
            stop = errno == EINVAL ? Stop::Incomplete : Stop::Invalid;
            break;
        }
        in = std::string_view(src, srcLeft);
        return stop;
    }

private:
    iconv_t cd_;
};

// The UTF-8 to code page 932 converter of the calling thread, opened on its
// first use and closed when the thread ends.
Converter& EncoderOfThisThread() {
    thread_local Converter encoder("CP932", "UTF-8");
    return encoder;
}

bool IsUtf8Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence that starts `text`, or 0 when it is
// malformed: truncated, overlong (C0 AF, E0 80 80), a UTF-16 surrogate
// (ED A0 80) or beyond U+10FFFF (F4 90 80 80).
size_t Utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) secondLow = 0xA0;
        if (lead == 0xED) secondHigh = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) secondLow = 0x90;
        if (lead == 0xF4) secondHigh = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    const auto second = static_cast<unsigned char>(text[1]);
    if (second < secondLow || second > secondHigh) return 0;
    for (size_t i = 2; i < length; ++i) {
        if (!IsUtf8Continuation(static_cast<unsigned char>(text[i]))) return 0;
    }
    return length;
}

bool IsValidUtf8(std::string_view text) {
    while (!text.empty()) {
        if (static_cast<unsigned char>(text[0]) < 0x80) {
            text.remove_prefix(1);
            continue;
        }
        const size_t length = Utf8SequenceLength(text);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

// What glibc's iconv makes of every character of code page 932, asked when
// the program was built (data/Cp932TableMain.cpp): decoding and encoding
// then cost a look-up per character, and iconv is asked at run time only
// for a code point whose encoding is not one character.
class CodeTable {
public:
    // Code page 932 holds only characters of the Basic Multilingual Plane,
    // so each fits in 3 bytes of UTF-8; the fourth byte of an entry is
    // their count (0: not a character), and a copy of all four is cheap.
    using Entry = const char*;
    static constexpr std::size_t LeadBytes = 256;
    static constexpr std::size_t EntryBytes = 4;
    static constexpr std::size_t Decodings = 0x10000;
    static constexpr std::size_t Encodings = 0x10000;

    CodeTable() : bytes_(embedded::Cp932CodeTable()) {
        if (bytes_.size() != LeadBytes + Decodings * EntryBytes + Encodings * 2) {
            throw std::runtime_error("the built-in code page 932 table is damaged");
        }
    }

    bool IsLead(unsigned char byte) const { return bytes_[byte] != 0; }
    Entry Single(unsigned char byte) const { return At(byte); }
    Entry Pair(unsigned char lead, unsigned char trail) const {
        return At(static_cast<std::size_t>(lead) << 8 | trail);
    }
    static std::uint8_t Length(Entry entry) { return static_cast<std::uint8_t>(entry[3]); }

    // A code point's encoding: Lacking, SingleByte + the byte, a pair's code, or
    // Unknown (ask iconv).
    static constexpr unsigned Unknown = 0;
    static constexpr unsigned Lacking = 1;
    static constexpr unsigned SingleByte = 2;
    static constexpr unsigned FirstPair = 0x100;
    unsigned Encoded(unsigned code) const {
        const char* at = bytes_.data() + LeadBytes + Decodings * EntryBytes + 2 * code;
        return static_cast<unsigned char>(at[0]) | static_cast<unsigned char>(at[1]) << 8;
    }

private:
    Entry At(std::size_t index) const { return bytes_.data() + LeadBytes + index * EntryBytes; }

    std::string_view bytes_;
};

const CodeTable& Codes() {
    static const CodeTable table;
    return table;
}

// The code point of one well-formed UTF-8 sequence.
unsigned CodePoint(std::string_view c) {
    const auto byte = [&c](size_t i) { return static_cast<unsigned char>(c[i]); };
    switch (c.size()) {
        case 1:
            return byte(0);
        case 2:
            return (byte(0) & 0x1Fu) << 6 | (byte(1) & 0x3Fu);
        case 3:
            return (byte(0) & 0x0Fu) << 12 | (byte(1) & 0x3Fu) << 6 | (byte(2) & 0x3Fu);
        default:
            return (byte(0) & 0x07u) << 18 | (byte(1) & 0x3Fu) << 12 | (byte(2) & 0x3Fu) << 6 |
                   (byte(3) & 0x3Fu);
    }
}

// Appends the encoding of one well-formed UTF-8 sequence; false when code
// page 932 lacks the character (nothing is appended then).
bool AppendEncoded(std::string_view character, std::string& out) {
    const unsigned code = CodePoint(character);
    const unsigned encoded =
        code < CodeTable::Encodings ? Codes().Encoded(code) : CodeTable::Lacking;
    if (encoded == CodeTable::Lacking) return false;
    if (encoded == CodeTable::Unknown) {
        const size_t before = out.size();
        if (EncoderOfThisThread().Convert(character, out) == Converter::Stop::Done) return true;
        out.resize(before);
        return false;
    }
    if (encoded < CodeTable::FirstPair) {
        out.push_back(static_cast<char>(encoded - CodeTable::SingleByte));
    } else {
        out.push_back(static_cast<char>(encoded >> 8));
        out.push_back(static_cast<char>(encoded & 0xFF));
    }
    return true;
}

// Encodes well-formed UTF-8 (nothing for malformed); a character code page
// 932 lacks gives nothing as well, or SUB when `substitute` is set, so that
// it keeps its place in a name.
std::optional<std::string> Encode(std::string_view utf8, bool substitute) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const size_t length = Utf8SequenceLength(utf8);
        if (length == 0) return std::nullopt;
        if (!AppendEncoded(utf8.substr(0, length), out)) {
            if (!substitute) return std::nullopt;
            out.push_back('\x1A');
        }
        utf8.remove_prefix(length);
    }
    return out;
}

// Decodes `cp932` onto `out`. An invalid or truncated character stops the
// decoding (returns false) unless `replace` is set: U+FFFD then stands for
// its first byte, and the decoding goes on with the next byte.
bool Decode(std::string_view cp932, std::string& out, bool replace) {
    static constexpr char Replacement[] = "\xEF\xBF\xBD";
    const CodeTable& table = Codes();
    const size_t size = cp932.size();
    const size_t start = out.size();
    // Room for the longest result, 3 bytes a byte, and for the 4-byte copies.
    out.resize(start + size * 3 + 4);
    char* const begin = out.data() + start;
    char* p = begin;
    for (size_t i = 0; i < size;) {
        const auto byte = static_cast<unsigned char>(cp932[i]);
        CodeTable::Entry entry = table.Single(byte);
        size_t consumed = 1;
        if (table.IsLead(byte)) {
            entry = nullptr;
            if (i + 1 < size) {
                entry = table.Pair(byte, static_cast<unsigned char>(cp932[i + 1]));
                consumed = 2;
            }
        }
        if (entry && CodeTable::Length(entry) > 0) {
            std::memcpy(p, entry, 4);  // the length byte lands in the slack
            p += CodeTable::Length(entry);
            i += consumed;
            continue;
        }
        if (!replace) {
            out.resize(start);
            return false;
        }
        std::memcpy(p, Replacement, 3);
        p += 3;
        ++i;
    }
    out.resize(start + static_cast<size_t>(p - begin));
    return true;
}

}  // namespace

std::size_t WriteJsonUtf8Lossy(std::string_view cp932, char* out) {
    static constexpr char Replacement[] = "\xEF\xBF\xBD";
    static constexpr char Hex[] = "0123456789abcdef";
    const CodeTable& table = Codes();
    const size_t size = cp932.size();
    char* p = out;
    for (size_t i = 0; i < size;) {
        const auto byte = static_cast<unsigned char>(cp932[i]);
        if (table.IsLead(byte) && i + 1 < size) {
            const CodeTable::Entry entry =
                table.Pair(byte, static_cast<unsigned char>(cp932[i + 1]));
            if (CodeTable::Length(entry) > 0) {
                // Three bytes at most, and the room is six a byte: the copy
                // of all four fits.
                std::memcpy(p, entry, 4);
                p += CodeTable::Length(entry);
                i += 2;
                continue;
            }
        } else if (byte < 0x80 && !table.IsLead(byte)) {
            ++i;
            if (byte >= 0x20 && byte != '"' && byte != '\\') {
                *p++ = static_cast<char>(byte);
                continue;
            }
            *p++ = '\\';
            switch (byte) {
                case '"':
                case '\\':
                    *p++ = static_cast<char>(byte);
                    break;
                case '\n':
                    *p++ = 'n';
                    break;
                case '\r':
                    *p++ = 'r';
                    break;
                case '\t':
                    *p++ = 't';
                    break;
                default:
                    std::memcpy(p, "u00", 3);
                    p[3] = Hex[byte >> 4];
                    p[4] = Hex[byte & 15];
                    p += 5;
                    break;
            }
            continue;
        } else if (const CodeTable::Entry entry = table.Single(byte);
                   CodeTable::Length(entry) > 0) {
            std::memcpy(p, entry, 4);
            p += CodeTable::Length(entry);
            ++i;
            continue;
        }
        std::memcpy(p, Replacement, 3);
        p += 3;
        ++i;
    }
    return static_cast<std::size_t>(p - out);
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
    return Encode(utf8, false);
}

std::optional<std::string> NameFromUtf8(std::string_view utf8) {
    return Encode(utf8, true);
}

std::optional<std::string> ToUtf8(std::string_view cp932) {
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    if (!Decode(cp932, out, false)) return std::nullopt;
    return out;
}

std::string ToUtf8Lossy(std::string_view cp932) {
    std::string out;
    AppendUtf8Lossy(cp932, out);
    return out;
}

void AppendUtf8Lossy(std::string_view cp932, std::string& out) {
    Decode(cp932, out, true);
}

bool IsUtf8(std::string_view text) {
    return IsValidUtf8(text);
}

unsigned NecSelectedCanonicalCode(unsigned code) {
    // Built once: the NEC-selected rows hold 2 × 188 codes.
    static const std::array<unsigned short, 2 * 256> canonical = [] {
        std::array<unsigned short, 2 * 256> table{};
        const CodeTable& codes = Codes();
        for (unsigned original = 0xED00; original <= 0xEEFF; ++original) {
            auto& result = table[original - 0xED00];
            result = static_cast<unsigned short>(original);
            const CodeTable::Entry entry = codes.Pair(static_cast<unsigned char>(original >> 8),
                                                      static_cast<unsigned char>(original));
            if (CodeTable::Length(entry) == 0) continue;
            std::string back;
            if (AppendEncoded(std::string_view(entry, CodeTable::Length(entry)), back) &&
                back.size() == 2) {
                result = static_cast<unsigned short>(static_cast<unsigned char>(back[0]) << 8 |
                                                     static_cast<unsigned char>(back[1]));
            }
        }
        return table;
    }();
    return canonical.at(code - 0xED00);
}

}  // namespace soten::Cp932
