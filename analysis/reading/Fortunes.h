#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "analysis/reading/NameRecord.h"
#include "analysis/reading/Tables.h"

namespace soten {

// The grade (1 most favourable to 4 unfavourable) and two-character keyword of
// a number, in code page 932.
struct Keyword {
    int grade = 0;
    std::string word;
};

// Sets `SpiritOne` and the five `Fortunes` from `Lengths` and `Strokes`.
void ComputeFortunes(NameRecord& record);

// The grade and keyword of a number of at least 1: row (number − 1) mod 80.
Keyword LookupKeyword(const Tables& tables, std::int32_t number);

// "天運", "人運", "地運", "外運", "総運", indexed by FortuneKind.
const std::array<std::string, FortuneCount>& FortuneLabels();

// Wherever the five are listed one per line: 総運, 天運, 人運, 地運, 外運.
constexpr FortuneKind ListedFortune(int position) {
    return static_cast<FortuneKind>((position + 4) % FortuneCount);
}

// The inverse: the line (from 0) a kind takes in such a list.
constexpr int ListingPosition(FortuneKind kind) {
    return (static_cast<int>(kind) + 1) % FortuneCount;
}

// "◎", "○", "△" or "×" for grades 1 to 4; a line that names the keyword
// after the mark sets one ASCII space between them.
const std::string& GradeMark(int grade);

}  // namespace soten
