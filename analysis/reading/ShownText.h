#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/reading/Fortunes.h"

namespace soten {

// Texts the screen panes and the printed page show alike, in code page 932.

// A fortune number in the list of five, before its grade and keyword:
// "：%2d［" below 100 (a full-width colon and two places), ":%3d［" from 100
// on (an ASCII colon and three places). Both are four bytes before the
// bracket, so the brackets of the five lines stand in one column.
std::string FortuneValueText(std::int32_t number);

// A number's grade as the list of five and the tables beside it show it: its
// mark, a space, its keyword and "数" ("◎ 大成数").
std::string GradeText(const Keyword& keyword);

// A character of the name as the vertical name column shows it: the
// long-vowel mark "ー" runs across the text, so the column stands it upright
// as "｜"; every other character is itself. The report keeps "ー".
std::string ColumnCharacter(std::string_view unit);

}  // namespace soten
