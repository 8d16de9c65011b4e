#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/naming/GivenNameTraits.h"
#include "analysis/naming/NameLikeness.h"
#include "analysis/reading/NameRecord.h"
#include "analysis/reading/StrokeDictionary.h"

namespace soten {

// Whom the name dictionary gives a name to: girls (tag f), boys (m), both
// (fm), or no gender given (g). None for names composed of kanji.
enum class NameGender : std::uint8_t { None, Female, Male, Both, Unspecified };

// The tag of a gender ("f", "m", "fm", "g"), and the gender of a tag (None
// for any other text).
std::string_view GenderTag(NameGender gender);
NameGender GenderOfTag(std::string_view tag);
// The gender in the program's language, "女性" (code page 932); empty for None.
const std::string& GenderLabel(NameGender gender);

// One given name of the name dictionary, in code page 932: its written form
// and its yomi in hiragana.
struct GivenNameEntry {
    std::string written;
    std::string yomi;
    NameGender gender = NameGender::Unspecified;
};

struct GivenNameView {
    std::string_view written;
    std::string_view yomi;
    NameGender gender = NameGender::Unspecified;
    bool registrable = true;
};

// A yomi of a kanji in hiragana (code page 932) and its kind.
enum class YomiKind : std::uint8_t { Nanori, Kun, On };
struct KanjiYomi {
    std::string kana;
    YomiKind kind = YomiKind::On;
};

// A kanji allowed in given names (code page 932) with its yomi, 名乗り
// first, then 訓, then 音.
struct NameKanji {
    std::string kanji;
    std::vector<KanjiYomi> yomi;
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

// The most given names the data holds: the search packs a name's index with
// its sort keys into one number.
inline constexpr std::size_t MaxGivenNames = std::size_t{1} << 21;

// The data of the name search: the given names (in the dictionary order of
// their yomi, GojuonKey, then by written form) and the kanji allowed in given
// names (code page 932 units, in code order) with their yomi. The names stay
// in their text, eight bytes of index each, so the data costs little memory.
class NameSearchData {
public:
    // `likeness`: rows of data/name-likeness.txt in code page 932.
    NameSearchData(const std::vector<GivenNameEntry>& names, std::vector<NameKanji> kanji,
                   std::string_view likeness = {});

    // Builds the data from the UTF-8 text of data/given-names.txt,
    // data/name-kanji.txt and data/kanji-readings.txt, and optionally
    // data/name-likeness.txt and data/kanji-folds.txt. Throws
    // std::invalid_argument on malformed text or more than MaxGivenNames
    // names.
    static NameSearchData FromUtf8(std::string_view givenNames, std::string_view nameKanji,
                                   std::string_view kanjiReadings,
                                   std::string_view nameLikeness = {},
                                   std::string_view kanjiFolds = {});
    // The same from text already in code page 932 that outlives the data
    // (the text compiled into the program): the names are read in place.
    // `nameTraits`: the rows of data/given-name-traits.txt for these names.
    static NameSearchData FromCp932(std::string_view givenNames, std::string_view nameKanji,
                                    std::string_view kanjiReadings,
                                    std::string_view nameLikeness = {},
                                    std::string_view kanjiFolds = {},
                                    std::string_view nameTraits = {});

    // The reading parts the kanji take in real names (empty when not given).
    const NameLikeness& Likeness() const { return likeness_; }
    void SetLikeness(std::string_view cp932) { likeness_ = NameLikeness(cp932, kanji_); }
    // "COMPAT<TAB>UNIFIED" rows (code page 932): a compatibility ideograph
    // that stands for a name kanji also listed in its unified form.
    void SetFolds(std::string_view cp932);
    // The index of a name kanji (code page 932), if it is one.
    std::optional<std::size_t> KanjiIndex(std::string_view character) const;
    // The unified kanji a compatibility ideograph folds to, else `index`.
    std::size_t FoldedIndex(std::size_t index) const { return folded_.at(index); }

    std::size_t NameCount() const { return Rows().size(); }
    GivenNameView Name(std::size_t index) const;
    const std::vector<std::string>& Kanji() const { return kanji_; }
    // The yomi of Kanji()[index].
    const std::vector<KanjiYomi>& Yomi(std::size_t index) const { return yomi_.at(index); }

    // The traits of every name computed ahead; nullptr when none were given
    // or they are not one row a name (the search then weighs the names it
    // needs itself).
    const GivenNameTraitsTable* PrecomputedTraits() const;

    // The rank of each name in the code order of its written form (then in
    // the names' order), made on first use.
    const std::vector<std::uint32_t>& WrittenOrder() const;

    // The stroke patterns of every name in a style, counted by the program's
    // lookup on first use (and kept: safe from several threads).
    const std::vector<GivenStrokePattern>& Patterns(StrokeStyle style,
                                                    const StrokeDictionary& dictionary) const;

private:
    struct Row {
        std::uint32_t offset = 0;
        std::uint8_t writtenSize = 0;
        std::uint8_t yomiSize = 0;
        NameGender gender = NameGender::Unspecified;
        bool registrable = true;
    };

    NameSearchData(std::string owned, std::string_view external, std::vector<NameKanji> kanji,
                   std::string_view likeness = {}, std::string_view folds = {},
                   std::string_view traits = {});
    std::string_view Text() const { return owned_.empty() ? external_ : std::string_view(owned_); }
    const std::vector<Row>& Rows() const;
    void IndexRows() const;

    std::string owned_;
    std::string_view external_;
    mutable std::vector<Row> rows_;
    mutable std::once_flag rowsMade_;
    std::vector<std::string> kanji_;
    std::vector<std::vector<KanjiYomi>> yomi_;
    std::vector<std::size_t> folded_;
    NameLikeness likeness_;
    mutable std::array<std::vector<GivenStrokePattern>, 2> patterns_;
    mutable std::array<std::once_flag, 2> patternsMade_;
    std::string_view traitsText_;
    mutable std::optional<GivenNameTraitsTable> traits_;
    mutable std::once_flag traitsFound_;
    mutable std::vector<std::uint32_t> writtenOrder_;
    mutable std::once_flag writtenOrderMade_;
};

// The characters of a given name (code page 932) that a registry office
// refuses, each once, in the order they appear: a child's name may use only
// the kanji of the list (常用漢字 and 人名用漢字), hiragana, katakana, ー and
// the iteration marks 々 ゝ ゞ ヽ ヾ. `nameKanji` is in code order.
std::vector<std::string> UnregistrableCharacters(std::string_view given,
                                                 const std::vector<std::string>& nameKanji);
// The same against the built-in list, without loading the names.
std::vector<std::string> UnregistrableCharacters(std::string_view given);
// Whether a registry office takes every character of the given name, against
// the built-in list: UnregistrableCharacters(given).empty(), found without
// building the list.
bool IsRegistrable(std::string_view given);

// The data compiled into the program, converted when first asked for (the
// desktop program asks only when the name search is opened).
const NameSearchData& BuiltInNameSearchData();

}  // namespace soten
