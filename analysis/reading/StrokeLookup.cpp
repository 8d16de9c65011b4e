#include "analysis/reading/StrokeLookup.h"

#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

// Iteration marks: in 本字式 they repeat (or add two to) the count of the
// character before them instead of being counted themselves.
constexpr unsigned HiraganaRepeat = 0x8154;        // ゝ
constexpr unsigned KatakanaRepeat = 0x8152;        // ヽ
constexpr unsigned KanjiRepeat = 0x8158;           // 々
constexpr unsigned HiraganaVoicedRepeat = 0x8155;  // ゞ
constexpr unsigned KatakanaVoicedRepeat = 0x8153;  // ヾ

constexpr std::string_view FullWidthSpace = "\x81\x40";

enum class MarkKind { None, Repeat, VoicedRepeat };

MarkKind IterationMark(std::string_view unit) {
    if (unit.size() != 2) return MarkKind::None;
    switch (UnitCode(unit)) {
        case HiraganaRepeat:
        case KatakanaRepeat:
        case KanjiRepeat:
            return MarkKind::Repeat;
        case HiraganaVoicedRepeat:
        case KatakanaVoicedRepeat:
            return MarkKind::VoicedRepeat;
        default:
            return MarkKind::None;
    }
}

}  // namespace

int CountUnit(std::string_view unit, int k, int previousCount, StrokeStyle style,
              const StrokeDictionary& dictionary) {
    // Every unit that sorts before the full-width space (ASCII, or the empty
    // unit past the end of the text) is refused outright.
    const bool beforeSpace =
        unit.size() == 2 ? UnitCode(unit) < UnitCode(FullWidthSpace) : unit < FullWidthSpace;
    if (beforeSpace) return RefusedUnit;
    const MarkKind mark = IterationMark(unit);
    if (mark != MarkKind::None) {
        if (k == 1) return RefusedUnit;
        if (style == StrokeStyle::Honji) {
            return previousCount + (mark == MarkKind::VoicedRepeat ? 2 : 0);
        }
    }
    return dictionary.Find(style, unit);
}

bool CountDependsOnPlace(std::string_view unit) {
    return IterationMark(unit) != MarkKind::None;
}

bool LookupStrokes(NameRecord& record, StrokeStyle style, const StrokeDictionary& dictionary) {
    for (const NamePart part : {Surname, GivenName}) {
        if (record.Lengths[part] <= 0) continue;
        const std::string& name = record.Names[part];
        StrokeCounts& strokes = record.Strokes[part];
        for (int k = 1; k <= record.Lengths[part]; ++k) {
            const int previous = k > 1 ? strokes[k - 1] : 0;
            const int count =
                CountUnit(Unit(name, static_cast<std::size_t>(k)), k, previous, style, dictionary);
            // A unit refused before the dictionary is asked leaves its entry
            // alone; a dictionary miss leaves 0 there.
            if (count != RefusedUnit) strokes[k] = count;
            if (count <= 0) return false;
        }
    }
    return true;
}

std::vector<UncountableCharacter> UncountableCharacters(const NameRecord& record, StrokeStyle style,
                                                        const StrokeDictionary& dictionary) {
    std::vector<UncountableCharacter> found;
    for (const NamePart part : {Surname, GivenName}) {
        const std::string_view name = record.Names[part];
        int previous = 0;
        int k = 0;
        for (const std::string_view character : Cp932Characters(name)) {
            const int count = CountUnit(character, ++k, previous, style, dictionary);
            if (count <= 0) found.push_back({part, k, character});
            previous = count;
        }
    }
    return found;
}

}  // namespace soten
