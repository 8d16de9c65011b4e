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

struct GivenNameView {
    std::string_view written;
    std::string_view reading;
    char gender = 'g';
};

// What the strokes of a given name alone decide about its numbers: the
// character count (0 when the lookup refuses the name), the first
// character's count, the sum of all counts and which counts are odd (bit
// k − 1 for character k, as 陰陽配列 reads them).
struct GivenStrokePattern {
    std::uint8_t chars = 0;
    std::uint8_t first = 0;
    std::uint16_t sum = 0;
    std::uint16_t oddMask = 0;
    bool ok() const { return chars != 0; }
};

// The data of the name search: the given names (in the dictionary order of
// their readings, GojuonKey, then by written form) and the kanji allowed in given
// names (code page 932 units, in code order). The names stay in their text,
// eight bytes of index each, so the data costs little memory.
class NameSearchData {
public:
    NameSearchData(const std::vector<GivenNameEntry>& names, std::vector<std::string> kanji);

    // Builds the data from the UTF-8 text of data/given-names.txt and
    // data/name-kanji.txt. Throws std::invalid_argument on malformed text.
    static NameSearchData FromUtf8(std::string_view givenNames, std::string_view nameKanji);
    // The same from text already in code page 932 that outlives the data
    // (the text compiled into the program): it is read in place.
    static NameSearchData FromCp932(std::string_view givenNames, std::string_view nameKanji);

    std::size_t NameCount() const { return rows_.size(); }
    GivenNameView Name(std::size_t index) const;
    const std::vector<std::string>& Kanji() const { return kanji_; }

    // The stroke patterns of every name in a style, counted by the program's
    // lookup on first use (and kept: safe from several threads).
    const std::vector<GivenStrokePattern>& Patterns(StrokeStyle style,
                                                    const StrokeDictionary& dictionary) const;

private:
    struct Row {
        std::uint32_t offset = 0;
        std::uint8_t writtenSize = 0;
        std::uint8_t readingSize = 0;
        char gender = 'g';
    };

    NameSearchData(std::string owned, std::string_view external, std::vector<std::string> kanji);
    std::string_view Text() const { return owned_.empty() ? external_ : std::string_view(owned_); }
    void IndexRows();

    std::string owned_;
    std::string_view external_;
    std::vector<Row> rows_;
    std::vector<std::string> kanji_;
    mutable std::array<std::vector<GivenStrokePattern>, 2> patterns_;
    mutable std::array<std::once_flag, 2> patternsMade_;
};

// The data compiled into the program, converted when first asked for (the
// desktop program asks only when the name search is opened).
const NameSearchData& BuiltInNameSearchData();

}  // namespace soten
