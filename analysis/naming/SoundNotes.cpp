#include "analysis/naming/SoundNotes.h"

#include <algorithm>
#include <array>

#include "analysis/naming/Kana.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"
#include "analysis/text/TextLines.h"
#include "data/include/EmbeddedNameData.h"

namespace soten {
namespace {

// The sounds of a reading, each a kana with the small kana after it
// (きょ, ふぁ), in hiragana.
std::vector<std::string_view> SoundsOf(std::string_view hiragana) {
    std::vector<std::string_view> sounds;
    const char* start = nullptr;
    for (const std::string_view character : Cp932Characters(hiragana)) {
        const unsigned code = character.size() == 2 ? UnitCode(character) : 0;
        const bool small = (code >= 0x829F && code <= 0x82A7 && code % 2 == 1) || code == 0x82E1 ||
                           code == 0x82E3 || code == 0x82E5;
        if (small && start) {
            sounds.back() = {start, static_cast<std::size_t>(character.data() + 2 - start)};
            continue;
        }
        start = character.data();
        sounds.push_back(character);
    }
    return sounds;
}

std::string Joined(const std::vector<std::string_view>& sounds, std::size_t from,
                   std::size_t count) {
    std::string out;
    for (std::size_t k = from; k < from + count; ++k) out.append(sounds[k]);
    return out;
}

// prefix + the kana or kanji (code page 932) + suffix, in UTF-8; appended
// rather than added, which GCC 12 at -O3 warns of with a temporary.
std::string Note(std::string_view prefix, std::string_view cp932, std::string_view suffix) {
    std::string out(prefix);
    Cp932::AppendUtf8Lossy(cp932, out);
    out.append(suffix);
    return out;
}

bool IsKana(std::string_view character) {
    if (character.size() != 2) return false;
    const unsigned code = UnitCode(character);
    return (code >= 0x829F && code <= 0x82F1) || (code >= 0x8340 && code <= 0x8396) ||
           code == 0x815B;
}

// The rows "READING<TAB>WORD" of the common words, in the byte order of
// their readings.
const std::vector<std::string_view>& CommonWordRows() {
    static const std::vector<std::string_view> rows = LinesOf(embedded::CommonWordsCp932());
    return rows;
}

std::string_view ReadingOf(std::string_view row) {
    return row.substr(0, row.find('\t'));
}

// The common word read exactly as `hiragana`, or nothing.
std::string_view CommonWordReadAs(std::string_view hiragana) {
    const std::vector<std::string_view>& rows = CommonWordRows();
    const auto found = std::lower_bound(
        rows.begin(), rows.end(), hiragana,
        [](std::string_view row, std::string_view reading) { return ReadingOf(row) < reading; });
    if (found == rows.end() || ReadingOf(*found) != hiragana) return {};
    return found->substr(found->find('\t') + 1);
}

}  // namespace

bool IsAbbreviationInitials(std::string_view initials) {
    static constexpr std::array<std::string_view, 6> Abbreviations = {"AV", "ED", "KY",
                                                                      "NG", "SM", "WC"};
    std::string letters;
    for (const char c : initials) {
        if (c != '.') letters += c;
    }
    return std::find(Abbreviations.begin(), Abbreviations.end(), letters) != Abbreviations.end();
}

std::vector<std::string> SoundNotes(std::string_view surname, std::string_view surnameYomi,
                                    std::string_view given, std::string_view givenYomi,
                                    std::string_view initials) {
    std::vector<std::string> notes;
    const std::string surnameKana = ToHiragana(surnameYomi);
    const std::string givenKana = ToHiragana(givenYomi);
    const std::vector<std::string_view> tail = SoundsOf(surnameKana);
    const std::vector<std::string_view> head = SoundsOf(givenKana);
    if (!tail.empty() && !head.empty()) {
        if (tail.back() == head.front()) {
            notes.push_back(Note("名字の終わりと名前の始めが同じ音（", head.front(), "）"));
        }
        // The longest run of sounds that ends the surname and begins the name.
        for (std::size_t count = std::min(tail.size(), head.size()); count >= 2; --count) {
            const std::string ending = Joined(tail, tail.size() - count, count);
            if (ending != Joined(head, 0, count)) continue;
            notes.push_back(Note("「", ending, "」が続けて二度"));
            break;
        }
        const std::string_view word = CommonWordReadAs(surnameKana + givenKana);
        if (!word.empty()) {
            notes.push_back(Note("姓名を続けて読むと『", word, "』と同じ音になります"));
        }
    }
    std::vector<std::string_view> shared;
    for (const std::string_view character : Cp932Characters(given)) {
        if (character.size() != 2 || IsKana(character) ||
            std::find(shared.begin(), shared.end(), character) != shared.end()) {
            continue;
        }
        for (const std::string_view other : Cp932Characters(surname)) {
            if (other == character) {
                shared.push_back(character);
                break;
            }
        }
    }
    for (const std::string_view character : shared) {
        notes.push_back(Note("「", character, "」が名字と名前の両方に"));
    }
    if (IsAbbreviationInitials(initials)) {
        notes.push_back(Note("頭文字 ", initials, " は略語としても読まれます"));
    }
    return notes;
}

}  // namespace soten
