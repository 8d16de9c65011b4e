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
    std::string out;
    out.reserve(cp932.size());
    for (const std::string_view character : Cp932Characters(cp932)) {
        if (character.size() == 1) {
            out.append(character);
            continue;
        }
        const unsigned code = UnitCode(character);
        unsigned mapped = code;
        if (code >= 0x8340 && code <= 0x837E) mapped = code - 0x8340 + 0x829F;  // ァ..ミ
        if (code >= 0x8380 && code <= 0x8393) mapped = code - 0x8380 + 0x82DE;  // ム..ン
        out += static_cast<char>(mapped >> 8);
        out += static_cast<char>(mapped & 0xFF);
    }
    return out;
}

}  // namespace soten
