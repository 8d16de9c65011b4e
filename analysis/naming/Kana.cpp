#include "analysis/naming/Kana.h"

#include "analysis/text/ShiftJis.h"

namespace soten {

bool IsHiraganaText(std::string_view cp932) {
    if (cp932.size() % 2 != 0) return false;
    for (std::size_t k = 1; k <= cp932.size() / 2; ++k) {
        const unsigned code = UnitCode(Unit(cp932, k));
        if (!((code >= 0x829F && code <= 0x82F1) || code == 0x815B)) return false;  // ぁ..ん, ー
    }
    return true;
}

std::string ToHiragana(std::string_view cp932) {
    std::string out(cp932);
    for (std::size_t i = 0; i + 1 < out.size();) {
        const auto lead = static_cast<unsigned char>(out[i]);
        if (!IsLeadByte(lead)) {
            ++i;
            continue;
        }
        const unsigned code = lead << 8 | static_cast<unsigned char>(out[i + 1]);
        unsigned mapped = code;
        if (code >= 0x8340 && code <= 0x837E) mapped = code - 0x8340 + 0x829F;  // ァ..ミ
        if (code >= 0x8380 && code <= 0x8393) mapped = code - 0x8380 + 0x82DE;  // ム..ン
        out[i] = static_cast<char>(mapped >> 8);
        out[i + 1] = static_cast<char>(mapped & 0xFF);
        i += 2;
    }
    return out;
}

}  // namespace soten
