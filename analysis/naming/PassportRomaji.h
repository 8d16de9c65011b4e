#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace soten {

// A reading spelled as a Japanese passport spells it (ヘボン式): the long
// vowels おう, おお and うう written as one letter (ゆうと YUTO, おおの ONO),
// ん as M before B, M and P (じゅんぺい JUMPEI), otherwise N with no
// apostrophe (けんいち KENICHI), っ as the next consonant doubled and as T
// before CH (はっとり HATTORI, きっちょう KITCHO).
struct PassportSpelling {
    std::string romaji;  // capital ASCII letters
    // The long-vowel spellings a passport takes on request, the OH form
    // first (おおの OHNO, then OONO); none when the reading has no long vowel.
    std::vector<std::string> alternatives;
};

// The spelling of a reading in hiragana or katakana (code page 932; ー is
// a long vowel). Nothing for an empty reading or one holding anything but
// kana.
std::optional<PassportSpelling> SpellForPassport(std::string_view kanaCp932);

// The whole name as a passport prints it, surname first ("YAMADA TARO"),
// and its initials given name first ("T.Y."). Both empty without the
// surname's spelling.
struct PassportName {
    std::string fullName;
    std::string initials;
};
PassportName PassportNameOf(std::string_view surnameRomaji, std::string_view givenRomaji);

}  // namespace soten
