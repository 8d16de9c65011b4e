#include "analysis/text/KanaCollation.h"

#include <cstdint>

#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

// Hiragana occupy 0x829F (ぁ) to 0x82F1 (ん) in code page 932, in the order of
// the Unicode block U+3041 to U+3093; the offsets below are from ぁ.
constexpr unsigned FirstHiragana = 0x829F;
constexpr unsigned LastHiragana = 0x82F1;
constexpr unsigned LongVowelMark = 0x815B;  // ー

// The plain kana a hiragana is sorted as.
unsigned PlainKana(unsigned code) {
    const unsigned k = code - FirstHiragana;
    if (k <= 9) return (k % 2 == 0) ? code + 1 : code;              // ぁ..お: small → large
    if (k <= 0x21) return ((k - 0x0A) % 2 == 1) ? code - 1 : code;  // か..ぢ: voiced → plain
    if (k == 0x22) return code + 1;                                 // っ → つ
    if (k <= 0x28) return ((k - 0x23) % 2 == 1) ? code - 1 : code;  // つ..ど
    if (k <= 0x2D) return code;                                     // な..の
    if (k <= 0x3C) return code - (k - 0x2E) % 3;  // は..ぽ: voiced and p → plain
    if (k <= 0x41) return code;                   // ま..も
    if (k <= 0x47) return ((k - 0x42) % 2 == 0) ? code + 1 : code;  // ゃ..よ: small → large
    if (k == 0x4D) return code + 1;                                 // ゎ → わ
    return code;  // ら..ろ, わ, ゐ, ゑ, を, ん
}

// The vowel a plain kana ends in, as あ, い, う, え or お; 0 for ん.
unsigned VowelOf(unsigned plain) {
    static constexpr unsigned vowels[] = {0x82A0, 0x82A2, 0x82A4, 0x82A6, 0x82A8};
    static constexpr int wiRow[] = {0, 0, 1, 3, 4};  // ゎ, わ, ゐ, ゑ, を
    const unsigned k = plain - FirstHiragana;
    int v = -1;
    if (k <= 0x09)
        v = static_cast<int>(k / 2);  // あ..お
    else if (k <= 0x21)
        v = static_cast<int>((k - 0x0A) / 2 % 5);  // か..ち
    else if (k <= 0x28)
        v = static_cast<int>((k - 0x23) / 2 + 2);  // つ, て, と
    else if (k <= 0x2D)
        v = static_cast<int>(k - 0x29);  // な..の
    else if (k <= 0x3C)
        v = static_cast<int>((k - 0x2E) / 3);  // は..ほ
    else if (k <= 0x41)
        v = static_cast<int>(k - 0x3D);  // ま..も
    else if (k <= 0x47)
        v = static_cast<int>((k - 0x42) / 2 * 2);  // や, ゆ, よ
    else if (k <= 0x4C)
        v = static_cast<int>(k - 0x48);  // ら..ろ
    else if (k <= 0x51)
        v = wiRow[k - 0x4D];  // わ, ゐ, ゑ, を
    return v < 0 ? 0 : vowels[v];
}

void AppendCode(std::string& key, unsigned code) {
    key += static_cast<char>(code >> 8);
    key += static_cast<char>(code & 0xFF);
}

}  // namespace

std::string GojuonKey(std::string_view reading) {
    std::string key;
    key.reserve(reading.size() * 2 + 1);
    unsigned previous = 0;
    for (const std::string_view character : Cp932Characters(reading)) {
        if (character.size() == 1) {
            key += character[0];
            previous = 0;
            continue;
        }
        unsigned code = UnitCode(character);
        if (code >= FirstHiragana && code <= LastHiragana) {
            code = PlainKana(code);
        } else if (code == LongVowelMark && previous != 0) {
            code = VowelOf(previous) != 0 ? VowelOf(previous) : code;
        }
        previous = (code >= FirstHiragana && code <= LastHiragana) ? code : 0;
        AppendCode(key, code);
    }
    // Ties on the plain sound fall to the code order of the reading itself.
    key += '\0';
    key.append(reading);
    return key;
}

}  // namespace soten
