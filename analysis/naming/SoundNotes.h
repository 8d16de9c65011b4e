#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace soten {

// How a given name sounds and reads after the surname, as remarks for
// the parent to weigh rather than verdicts:
// - the surname ends in the sound the given name begins with (さとう うた);
// - two or more sounds said twice across the join (さとう とうま);
// - the whole name said as one reads as a common word (かわい そう: 可哀想),
//   from the words of data/common-words.txt;
// - a kanji both names hold;
// - initials that spell a known abbreviation (AbbreviationInitials).
// The names and readings are code page 932 (a reading in hiragana or
// katakana; an empty one skips the checks of sound), the initials as
// PassportNameOf writes them ("T.Y."); the notes are UTF-8.
std::vector<std::string> SoundNotes(std::string_view surname, std::string_view surnameYomi,
                                    std::string_view given, std::string_view givenYomi,
                                    std::string_view initials);

// The two-letter abbreviations initials are checked against: AV, ED, KY,
// NG, SM and WC, the ones read with a meaning in Japan that a child would
// be teased for.
bool IsAbbreviationInitials(std::string_view initials);

}  // namespace soten
