#pragma once

#include <string>
#include <string_view>

namespace soten::cli {

// Drops the variation selectors (U+FE00..U+FE0F, U+E0100..U+E01EF) from a
// UTF-8 name: they choose a glyph, not a character, and the stroke tables
// know the character. True when there was one.
bool DropVariationSelectors(std::string& utf8);

// Half-width katakana (U+FF61..U+FF9F) as full-width, a following ﾞ or ﾟ
// joined to its kana (ｶﾞ → ガ), as NFKC reads them; a mark with nothing to
// join stays a spacing mark (゛ ゜). True when there was one.
bool WidenHalfWidthKana(std::string& utf8);

// The code points of valid UTF-8.
std::u32string CodePoints(std::string_view utf8);

// How a message names a character: itself, or U+XXXX for one that shows
// nothing (a variation selector, a format character, a control).
std::string CharacterLabel(char32_t c);

// Appends the code point `c` as UTF-8.
void AppendUtf8(char32_t c, std::string& out);

}  // namespace soten::cli
