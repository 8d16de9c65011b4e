#include "Cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace soten::Cp932 {
namespace {

// A converter for one direction; iconv descriptors are not thread-safe, so
// each call opens its own (cheap compared with the conversions it serves).
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
        std::array<char, 1024> buffer{};
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        Stop stop = Stop::Done;
        while (srcLeft > 0) {
            char* dst = buffer.data();
            size_t dstLeft = buffer.size();
            const size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer.data(), buffer.size() - dstLeft);
            if (rc != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            stop = errno == EINVAL ? Stop::Incomplete : Stop::Invalid;
            break;
        }
        in = std::string_view(src, srcLeft);
        return stop;
    }

private:
    iconv_t cd_;
};

bool IsUtf8Continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the UTF-8 sequence that starts `text`, or 0 when it is malformed.
size_t Utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    size_t length = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else
        return 0;
    if (text.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if (!IsUtf8Continuation(static_cast<unsigned char>(text[i]))) return 0;
    }
    return length;
}

}  // namespace

std::optional<std::string> FromUtf8(std::string_view utf8) {
    Converter converter("CP932", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    if (converter.Convert(utf8, out) != Converter::Stop::Done) return std::nullopt;
    return out;
}

std::optional<std::string> NameFromUtf8(std::string_view utf8) {
    Converter converter("CP932", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        if (converter.Convert(utf8, out) == Converter::Stop::Done) break;
        // Stopped at a character that cannot be encoded, or at bad UTF-8.
        const size_t length = Utf8SequenceLength(utf8);
        if (length == 0) return std::nullopt;
        out.push_back('\x1A');
        utf8.remove_prefix(length);
    }
    return out;
}

std::optional<std::string> ToUtf8(std::string_view cp932) {
    Converter converter("UTF-8", "CP932");
    std::string out;
    out.reserve(cp932.size() * 3 / 2);
    if (converter.Convert(cp932, out) != Converter::Stop::Done) return std::nullopt;
    return out;
}

std::string ToUtf8Lossy(std::string_view cp932) {
    Converter converter("UTF-8", "CP932");
    std::string out;
    while (!cp932.empty()) {
        if (converter.Convert(cp932, out) == Converter::Stop::Done) break;
        out += "\xEF\xBF\xBD";
        cp932.remove_prefix(1);
    }
    return out;
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
