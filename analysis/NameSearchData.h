#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "NameRecord.h"
#include "StrokeDictionary.h"

namespace soten {

// One given name of the name dictionary, in code page 932: its written form,
// its reading in hiragana and its tag 'f' (female), 'm' (male) or 'g' (either).
struct GivenNameEntry {
    std::string written;
    std::string reading;
    char gender = 'g';
};

// What the strokes of a given name alone decide about its numbers: the
// character count, the first character's count and the sum of all counts.
// `ok` is false when the lookup refuses the name.
struct GivenStrokePattern {
    std::uint8_t chars = 0;
    bool ok = false;
    std::int32_t first = 0;
    std::int32_t sum = 0;
};

// The data of the name search: the given names (ordered by reading, then
// written form, in code page 932 byte order) and the kanji allowed in given
// names (code page 932 units, in code order).
class NameSearchData {
public:
    NameSearchData(std::vector<GivenNameEntry> names, std::vector<std::string> kanji);

    // Builds the data from the UTF-8 text of data/given-names.txt and
    // data/name-kanji.txt. Throws std::invalid_argument on malformed text.
    static NameSearchData FromUtf8(std::string_view givenNames, std::string_view nameKanji);

    const std::vector<GivenNameEntry>& Names() const { return names_; }
    const std::vector<std::string>& Kanji() const { return kanji_; }

    // The stroke patterns of every name in a style, counted by the program's
    // lookup on first use (and kept: safe from several threads).
    const std::vector<GivenStrokePattern>& Patterns(StrokeStyle style,
                                                    const StrokeDictionary& dictionary) const;

private:
    std::vector<GivenNameEntry> names_;
    std::vector<std::string> kanji_;
    mutable std::array<std::vector<GivenStrokePattern>, 2> patterns_;
    mutable std::array<std::once_flag, 2> patternsMade_;
};

// The data compiled into the program, converted when first asked for (the
// desktop program asks only when the name search is opened).
const NameSearchData& BuiltInNameSearchData();

}  // namespace soten
