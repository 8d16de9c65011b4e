#include "analysis/text/Cp932.h"

#include <iconv.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

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

// Encodes a name's characters one by one, each the way iconv encodes it,
// SUB for one that code page 932 cannot hold. What iconv made of a
// character of the Basic Multilingual Plane is kept, for every thread:
// names repeat their characters, and a trip through iconv costs far more
// than a look-up. Two threads may both ask iconv, and keep the same answer.
class NameEncoder {
public:
    // One well-formed UTF-8 sequence.
    static void Append(std::string_view character, std::string& out) {
        const unsigned code = CodePoint(character);
        if (code >= known_.size()) {
            Encode(character, out);
            return;
        }
        std::atomic<std::uint16_t>& kept = known_[code];
        const std::uint16_t known = kept.load(std::memory_order_relaxed);
        if (known == Unknown) {
            kept.store(Encode(character, out), std::memory_order_relaxed);
        } else if (known == Lacking) {
            out.push_back('\x1A');
        } else if (known < FirstPair) {
            out.push_back(static_cast<char>(known - Single));
        } else {
            out.push_back(static_cast<char>(known >> 8));
            out.push_back(static_cast<char>(known & 0xFF));
        }
    }

private:
    // A known entry: Lacking, Single + the byte, or a pair's code (its lead
    // byte is 0x81 or more).
    static constexpr std::uint16_t Unknown = 0;
    static constexpr std::uint16_t Lacking = 1;
    static constexpr std::uint16_t Single = 2;
    static constexpr std::uint16_t FirstPair = 0x100;

    static unsigned CodePoint(std::string_view character) {
        const std::string_view c = character;
        switch (c.size()) {
            case 1:
                return ByteAt(c, 0);
            case 2:
                return (ByteAt(c, 0) & 0x1Fu) << 6 | (ByteAt(c, 1) & 0x3Fu);
            case 3:
                return (ByteAt(c, 0) & 0x0Fu) << 12 | (ByteAt(c, 1) & 0x3Fu) << 6 |
                       (ByteAt(c, 2) & 0x3Fu);
            default:
                return 0x10000;  // beyond the plane: never kept
        }
    }

    // Appends iconv's encoding of the character; returns what to keep of it.
    static std::uint16_t Encode(std::string_view character, std::string& out) {
        const size_t before = out.size();
        if (EncoderOfThisThread().Convert(character, out) != Converter::Stop::Done) {
            out.resize(before);
            out.push_back('\x1A');
            return Lacking;
        }
        const std::string_view made = std::string_view(out).substr(before);
        if (made.size() == 1) return static_cast<std::uint16_t>(Single + ByteAt(made, 0));
        if (made.size() == 2 && ByteAt(made, 0) >= 0x81) {
            return static_cast<std::uint16_t>(ByteAt(made, 0) << 8 | ByteAt(made, 1));
        }
        return Unknown;
    }

    static unsigned ByteAt(std::string_view text, size_t i) {
        return static_cast<unsigned char>(text[i]);
    }

    static constinit std::array<std::atomic<std::uint16_t>, 0x10000> known_;
};

constinit std::array<std::atomic<std::uint16_t>, 0x10000> NameEncoder::known_{};

// What iconv makes of every code page 932 character: one entry per single
// byte, asked at the first decoding, and one row of 256 trail bytes for each
// byte that iconv treats as the lead byte of a pair, asked the first time a
// pair with that lead byte is decoded (a reading touches a few dozen of the
// sixty rows, so start-up pays only for those). Decoding then costs a table
// look-up per character instead of a trip through iconv. Safe to use from
// several threads.
class DecodeTable {
public:
    // Code page 932 holds only characters of the Basic Multilingual Plane,
    // so each fits in 3 bytes of UTF-8: 4 bytes an entry keep the table
    // small enough for the processor's caches.
    struct Entry {
        std::array<char, 3> utf8{};
        std::uint8_t length = 0;  // 0: not a valid character
    };
    static_assert(sizeof(Entry) == 4);

    DecodeTable() : decoder_("UTF-8", "CP932") {
        for (unsigned byte = 0; byte < 256; ++byte) {
            const char bytes[] = {static_cast<char>(byte)};
            isLead_[byte] =
                Decode(std::string_view(bytes, 1), single_[byte]) == Converter::Stop::Incomplete;
        }
    }

    bool IsLead(unsigned char byte) const { return isLead_[byte]; }
    const Entry& Single(unsigned char byte) const { return single_[byte]; }
    const Entry& Pair(unsigned char lead, unsigned char trail) const {
        const Entry* row = rows_[lead].load(std::memory_order_acquire);
        if (!row) row = BuildRow(lead);
        return row[trail];
    }

private:
    const Entry* BuildRow(unsigned char lead) const {
        const std::lock_guard lock(mutex_);
        if (const Entry* row = rows_[lead].load(std::memory_order_relaxed)) return row;
        auto row = std::make_unique<Entry[]>(256);
        if (!DecodeRowAtOnce(lead, row.get())) {
            for (unsigned trail = 0; trail < 256; ++trail) {
                const char bytes[] = {static_cast<char>(lead), static_cast<char>(trail)};
                row[trail] = {};
                Decode(std::string_view(bytes, 2), row[trail]);
            }
        }
        const Entry* built = row.get();
        owned_.push_back(std::move(row));
        rows_[lead].store(built, std::memory_order_release);
        return built;
    }

    // Hands iconv the whole row, all 256 pairs one after the other: it
    // converts each run of valid pairs in one call and stops at an invalid
    // one, which is skipped. Every pair is one character, so the UTF-8 of a
    // run splits at its lead bytes. False when the output does not split
    // into one character a pair (the row is then asked pair by pair).
    bool DecodeRowAtOnce(unsigned char lead, Entry* row) const {
        std::array<char, 512> pairs;
        for (unsigned trail = 0; trail < 256; ++trail) {
            pairs[2 * trail] = static_cast<char>(lead);
            pairs[2 * trail + 1] = static_cast<char>(trail);
        }
        std::string utf8;
        for (unsigned trail = 0; trail < 256;) {
            std::string_view in(pairs.data() + 2 * trail, pairs.size() - 2 * trail);
            const size_t before = in.size();
            utf8.clear();
            const Converter::Stop stop = decoder_.Convert(in, utf8);
            const size_t consumed = before - in.size();
            if (consumed % 2 != 0) return false;
            size_t at = 0;
            for (size_t k = 0; k < consumed / 2; ++k) {
                size_t length = 1;
                while (at + length < utf8.size() &&
                       IsUtf8Continuation(static_cast<unsigned char>(utf8[at + length]))) {
                    ++length;
                }
                if (at >= utf8.size() || length > 3) return false;
                Entry& entry = row[trail + k];
                entry.length = static_cast<std::uint8_t>(length);
                utf8.copy(entry.utf8.data(), length, at);
                at += length;
            }
            if (at != utf8.size()) return false;
            trail += static_cast<unsigned>(consumed / 2);
            if (stop != Converter::Stop::Done) ++trail;  // an invalid pair: its entry stays empty
        }
        return true;
    }

    Converter::Stop Decode(std::string_view bytes, Entry& entry) const {
        std::string utf8;
        const Converter::Stop stop = decoder_.Convert(bytes, utf8);
        if (stop != Converter::Stop::Done) return stop;
        if (utf8.empty() || utf8.size() > entry.utf8.size()) {
            throw std::runtime_error("iconv decodes a code page 932 character unexpectedly");
        }
        entry.length = static_cast<std::uint8_t>(utf8.size());
        utf8.copy(entry.utf8.data(), utf8.size());
        return stop;
    }

    mutable std::mutex mutex_;  // guards the converter and the building of rows
    mutable Converter decoder_;
    std::array<Entry, 256> single_{};
    std::array<bool, 256> isLead_{};
    mutable std::array<std::atomic<const Entry*>, 256> rows_{};
    mutable std::vector<std::unique_ptr<Entry[]>> owned_;
};

const DecodeTable& Decoding() {
    static const DecodeTable table;
    return table;
}

// Decodes `cp932` onto `out`. An invalid or truncated character stops the
// decoding (returns false) unless `replace` is set: U+FFFD then stands for
// its first byte, and the decoding goes on with the next byte.
bool Decode(std::string_view cp932, std::string& out, bool replace) {
    static constexpr char Replacement[] = "\xEF\xBF\xBD";
    const DecodeTable& table = Decoding();
    const size_t size = cp932.size();
    const size_t start = out.size();
    // Room for the longest result, 3 bytes a byte, and for the 4-byte copies.
    out.resize(start + size * 3 + 4);
    char* const begin = out.data() + start;
    char* p = begin;
    for (size_t i = 0; i < size;) {
        const auto byte = static_cast<unsigned char>(cp932[i]);
        const DecodeTable::Entry* entry = &table.Single(byte);
        size_t consumed = 1;
        if (table.IsLead(byte)) {
            entry = nullptr;
            if (i + 1 < size) {
                entry = &table.Pair(byte, static_cast<unsigned char>(cp932[i + 1]));
                consumed = 2;
            }
        }
        if (entry && entry->length > 0) {
            std::memcpy(p, entry, 4);  // the length byte lands in the slack
            p += entry->length;
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
    const DecodeTable& table = Decoding();
    const size_t size = cp932.size();
    char* p = out;
    for (size_t i = 0; i < size;) {
        const auto byte = static_cast<unsigned char>(cp932[i]);
        if (table.IsLead(byte) && i + 1 < size) {
            const DecodeTable::Entry& entry =
                table.Pair(byte, static_cast<unsigned char>(cp932[i + 1]));
            if (entry.length > 0) {
                // Three bytes at most, and the room is six a byte: the copy
                // of all four fits.
                std::memcpy(p, &entry, 4);
                p += entry.length;
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
        } else if (const DecodeTable::Entry& entry = table.Single(byte); entry.length > 0) {
            std::memcpy(p, &entry, 4);
            p += entry.length;
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
    if (!IsValidUtf8(utf8)) return std::nullopt;
    std::string out;
    out.reserve(utf8.size());
    if (EncoderOfThisThread().Convert(utf8, out) != Converter::Stop::Done) return std::nullopt;
    return out;
}

std::optional<std::string> NameFromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const size_t length = Utf8SequenceLength(utf8);
        if (length == 0) return std::nullopt;  // malformed UTF-8
        NameEncoder::Append(utf8.substr(0, length), out);
        utf8.remove_prefix(length);
    }
    return out;
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

unsigned CanonicalCode(unsigned code) {
    // Built once: the NEC-selected rows hold 2 × 188 codes.
    static const std::array<unsigned short, 2 * 256> canonical = [] {
        std::array<unsigned short, 2 * 256> table{};
        Converter decoder("UTF-8", "CP932");
        Converter encoder("CP932", "UTF-8");
        for (unsigned lead = 0xED; lead <= 0xEE; ++lead) {
            for (unsigned trail = 0; trail < 256; ++trail) {
                const unsigned original = lead << 8 | trail;
                auto& result = table[(lead - 0xED) * 256 + trail];
                result = static_cast<unsigned short>(original);
                const char bytes[] = {static_cast<char>(lead), static_cast<char>(trail)};
                std::string_view in(bytes, 2);
                std::string utf8;
                if (decoder.Convert(in, utf8) != Converter::Stop::Done) continue;
                std::string_view again(utf8);
                std::string back;
                if (encoder.Convert(again, back) != Converter::Stop::Done || back.size() != 2) {
                    continue;
                }
                result = static_cast<unsigned short>(static_cast<unsigned char>(back[0]) << 8 |
                                                     static_cast<unsigned char>(back[1]));
            }
        }
        return table;
    }();
    if (code >= 0xED00 && code <= 0xEEFF) return canonical[code - 0xED00];
    return code;
}

}  // namespace soten::Cp932
