#pragma once

// The kanji that naming guides advise against in a child's name (death,
// illness, evil, sorrow, crime, filth, misfortune, gambling, vulgar words),
// from data/avoided-kanji.txt. The search leaves names holding one out unless
// asked, and wherever such a name is shown a note names the character.

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace soten {

// One kanji of the list, code page 932: the character, its category
// ("死", "苦・悲" …) and why it is avoided ("うれい・悲しみを表す字").
struct AvoidedKanjiEntry {
    std::string kanji;
    std::string category;
    std::string reason;
    bool operator==(const AvoidedKanjiEntry&) const = default;
};

// The categories the list may use, in the list's order (UTF-8).
const std::vector<std::string_view>& AvoidedKanjiCategories();

class AvoidedKanji {
public:
    // From the UTF-8 text of data/avoided-kanji.txt: one row a kanji,
    // `KANJI<TAB>CATEGORY<TAB>REASON`. Throws std::invalid_argument on a
    // malformed row, an unknown category, an empty reason or a repeated kanji.
    static AvoidedKanji FromUtf8(std::string_view text);

    const std::vector<AvoidedKanjiEntry>& Entries() const { return entries_; }
    // The entry of one character (code page 932), or null.
    const AvoidedKanjiEntry* Find(std::string_view character) const;
    // Whether a name (code page 932) holds a kanji of the list: a table
    // lookup per character, as the search asks it of every name.
    bool Holds(std::string_view name) const;
    // The entries of the kanji a name holds, each once, in the name's order.
    std::vector<AvoidedKanjiEntry> In(std::string_view name) const;

private:
    static std::uint16_t Code(std::string_view character);

    std::vector<AvoidedKanjiEntry> entries_;
    std::bitset<65536> listed_;
};

// The list compiled into the program, converted on first use.
const AvoidedKanji& BuiltInAvoidedKanji();

// The note shown with a name that holds listed kanji (code page 932):
// "憂：うれい・悲しみを表す字", several joined by "、"; empty for none.
std::string AvoidedKanjiNote(const std::vector<AvoidedKanjiEntry>& entries);
// The note as a line of its own, "避けたい字　憂：うれい・悲しみを表す字";
// empty for none.
std::string AvoidedKanjiLine(const std::vector<AvoidedKanjiEntry>& entries);

}  // namespace soten
