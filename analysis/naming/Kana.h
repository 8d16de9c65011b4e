#pragma once

#include <string>
#include <string_view>

namespace soten {

// True for text made only of hiragana and ー (code page 932), the form the
// name search keeps and compares yomi in.
bool IsHiraganaText(std::string_view cp932);

// Hiragana for the katakana of a code page 932 text; anything else unchanged.
std::string ToHiragana(std::string_view cp932);

}  // namespace soten
