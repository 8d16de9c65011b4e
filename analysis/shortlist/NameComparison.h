#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/naming/NameSearch.h"
#include "analysis/naming/SpokenName.h"
#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/Fortunes.h"
#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "analysis/shortlist/Shortlist.h"

namespace soten {

// One name of a comparison with everything a reading of it shows: the
// reading itself (made as New makes it), the keywords of the five numbers,
// the score of 人運, 地運, 外運 and 総運 (as the name search scores), whether a
// registry office takes the given name, 三才配置 and 陰陽配列, and how the
// name is spelled and sounds (SpokenName). A name that
// makes no reading (a character not in the dictionary, a name too long)
// carries the refusal instead, so the comparison still lists it.
struct ComparedName : NameJudgement {
    ShortlistEntry entry;
    // The reading, or why there is none (then the judgement is not set).
    std::optional<Reading> reading;
    std::optional<Refusal> refusal;
    bool registrable = true;
    std::vector<std::string> unregistrable;  // the characters refused, each once
    // The characters and the entry's reading (when it has one) checked.
    RegistryVerdict registry = RegistryVerdict::Registrable;
    std::vector<AvoidedKanjiEntry> avoided;  // the kanji of the avoid list it holds
    // The characters the refusal names, as the entry's text holds them
    // (UTF-8): a character code page 932 lacks is named, not SUB.
    std::vector<std::string> lacked;
    // The romaji and sound notes, with the entry's surname reading or, when
    // it has none, the one the name dictionary knows (SurnameYomiOf).
    SpokenName spoken;
};

ComparedName CompareName(const ShortlistEntry& entry, const Tables& tables);

// 戸籍 as the comparison says it (UTF-8, RegistryLabel): 可, 読み要確認 when
// the reading does not align with the characters, or 字× when a character of
// the given name is outside the registrable set.
std::string RegistryText(const ComparedName& name);

// What a refused name shows in a comparison, in UTF-8: the refusal, and the
// characters not counted as the entry dialog names them ("「a」は辞書にありません").
std::string RefusalText(const ComparedName& name);
std::vector<ComparedName> CompareNames(const std::vector<ShortlistEntry>& entries,
                                       const Tables& tables);

// What a comparison can be sorted by.
enum class ComparisonKey {
    Surname,
    Given,
    Reading,
    Style,
    Strokes,  // the given name's stroke sum
    Heaven,
    Person,
    Earth,
    Outer,
    Total,
    Score,
    Registrable,
    Sansai,
    Inyo,
    Note,
    Romaji,      // alphabetical, names without one last
    SoundNotes,  // fewer notes first
};

// The order of the names sorted by `key`: order[i] is the index of the name
// that comes i-th. Numbers sort best first (score highest, fortunes best
// grade then lowest number, verdicts best first), text in dictionary order
// (readings by their kana); refused names come last, and ties keep the
// names' own order. `reversed` turns the key's order round (refused names
// still last).
std::vector<std::size_t> ComparisonOrder(const std::vector<ComparedName>& names, ComparisonKey key,
                                         bool reversed);

}  // namespace soten
