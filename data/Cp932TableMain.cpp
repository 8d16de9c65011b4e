// Writes what glibc's iconv makes of code page 932, for the program to
// include when it is built: the program then converts without a trip
// through iconv (nor loading its CP932 module) for each character.
//
//   soten-cp932-table OUTPUT
//
// OUTPUT holds, one after the other:
//   256 bytes     1 for each byte that begins a pair, else 0;
//   65536 × 4     what each character decodes to, by its code (a single byte
//                 b at b, a pair at lead × 256 + trail): up to 3 bytes of
//                 UTF-8 and their count, 0 for no character;
//   65536 × 2     what each code point of the Basic Multilingual Plane
//                 encodes to, low byte first: 1 for nothing (code page 932
//                 lacks it), 2 + b for the single byte b, a pair's code, or
//                 0 where iconv gives something else (it is asked then).
#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// An iconv descriptor, closed when it goes.
struct Descriptor {
    Descriptor(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Descriptor() {
        if (Valid()) iconv_close(cd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    bool Valid() const { return cd != reinterpret_cast<iconv_t>(-1); }

    iconv_t cd;
};

enum class Result { Done, Invalid, Incomplete };

// Converts `in` whole with a fresh state; `out` gets what came out.
Result Convert(iconv_t cd, const std::string& in, std::string& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::array<char, 64> buffer;
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = buffer.data();
    size_t dstLeft = buffer.size();
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.assign(buffer.data(), buffer.size() - dstLeft);
    if (rc != static_cast<size_t>(-1) && srcLeft == 0) return Result::Done;
    return errno == EINVAL ? Result::Incomplete : Result::Invalid;
}

std::string Utf8(unsigned code) {
    std::string text;
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | code >> 6);
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | code >> 12);
        text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: soten-cp932-table OUTPUT\n");
        return 2;
    }
    const Descriptor decoding("UTF-8", "CP932");
    const Descriptor encoding("CP932", "UTF-8");
    const iconv_t decoder = decoding.cd;
    const iconv_t encoder = encoding.cd;
    if (!decoding.Valid() || !encoding.Valid()) {
        std::fprintf(stderr, "soten-cp932-table: iconv cannot convert CP932\n");
        return 1;
    }
    std::vector<unsigned char> lead(256);
    std::vector<unsigned char> decoded(65536 * 4);
    std::string out;
    const auto keep = [&](unsigned index) {
        if (out.empty() || out.size() > 3) {
            std::fprintf(stderr, "soten-cp932-table: code %#x decodes to %zu bytes\n", index,
                         out.size());
            return false;
        }
        for (std::size_t i = 0; i < out.size(); ++i) {
            decoded[4 * index + i] = static_cast<unsigned char>(out[i]);
        }
        decoded[4 * index + 3] = static_cast<unsigned char>(out.size());
        return true;
    };
    for (unsigned byte = 0; byte < 256; ++byte) {
        const Result result = Convert(decoder, std::string(1, static_cast<char>(byte)), out);
        lead[byte] = result == Result::Incomplete;
        if (result == Result::Done && !keep(byte)) return 1;
    }
    for (unsigned first = 0; first < 256; ++first) {
        if (!lead[first]) continue;
        for (unsigned trail = 0; trail < 256; ++trail) {
            const std::string pair = {static_cast<char>(first), static_cast<char>(trail)};
            if (Convert(decoder, pair, out) == Result::Done && !keep(first << 8 | trail)) return 1;
        }
    }
    std::vector<unsigned char> encoded(65536 * 2);
    for (unsigned code = 0; code < 0x10000; ++code) {
        unsigned value = 1;
        if (code < 0xD800 || code >= 0xE000) {
            if (Convert(encoder, Utf8(code), out) == Result::Done) {
                const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(out[i]); };
                if (out.size() == 1) {
                    value = 2 + byte(0);
                } else if (out.size() == 2 && byte(0) >= 0x81) {
                    value = byte(0) << 8 | byte(1);
                } else {
                    value = 0;
                }
            }
        }
        encoded[2 * code] = static_cast<unsigned char>(value & 0xFF);
        encoded[2 * code + 1] = static_cast<unsigned char>(value >> 8);
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    const bool written = file && std::fwrite(lead.data(), 1, lead.size(), file) == lead.size() &&
                         std::fwrite(decoded.data(), 1, decoded.size(), file) == decoded.size() &&
                         std::fwrite(encoded.data(), 1, encoded.size(), file) == encoded.size();
    if (!file || std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "soten-cp932-table: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
