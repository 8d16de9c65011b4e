#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "analysis/reading/NameRecord.h"
#include "analysis/reading/StrokeDictionary.h"

namespace soten {

// Fills `Strokes` of both parts from `Names` and `Lengths` in the given
// style; false when a character cannot be counted, which ends the lookup.
bool LookupStrokes(NameRecord& record, StrokeStyle style, const StrokeDictionary& dictionary);

// The count of unit k (from 1) of a part, given the count of the unit before
// it (used by the iteration marks of 本字式). 0 when no dictionary line holds
// it, RefusedUnit when it is refused before the dictionary is asked (a
// single-byte unit, or an iteration mark that begins the part).
inline constexpr int RefusedUnit = -1;
int CountUnit(std::string_view unit, int k, int previousCount, StrokeStyle style,
              const StrokeDictionary& dictionary);
// Whether CountUnit() of `unit` depends on k and the count before it: only
// for the iteration marks; any other unit counts the same wherever it stands.
bool CountDependsOnPlace(std::string_view unit);

// A character of a name that cannot be counted: its part, its position (from
// 1) among the part's characters, and its bytes.
struct UncountableCharacter {
    NamePart part;
    int position;
    std::string_view character;
};

// Every character of both names (`Names`) that cannot be counted on its
// own, in order: what a refusal for an unknown character names. The
// lookup walks two bytes at a time; this walks whole characters, so a
// single-byte character is named rather than the pair it upsets.
std::vector<UncountableCharacter> UncountableCharacters(const NameRecord& record, StrokeStyle style,
                                                        const StrokeDictionary& dictionary);

}  // namespace soten
