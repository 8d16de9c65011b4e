#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "analysis/reading/NameRecord.h"

namespace soten {

// One name a parent keeps to compare: the surname may differ from entry to
// entry (a couple compares both surnames), and so may the style. Text is
// code page 932.
struct ShortlistEntry {
    std::string surname;
    std::string given;
    std::string reading;  // of the given name, in hiragana; empty when unknown
    StrokeStyle style = StrokeStyle::Shinji;
    std::string note;
    // The names as typed or read (UTF-8), kept only when code page 932 lacks
    // one of their characters: `surname` and `given` then hold SUB for it, so
    // the reading refuses the name, and this text is what is saved and shown.
    std::string typedSurname = {};
    std::string typedGiven = {};
    // Of the surname, in hiragana; empty when unknown. Like the note, not
    // part of the name: the same name with another surname reading is the
    // same entry.
    std::string surnameReading = {};

    // Sets both names from UTF-8, keeping the typed text where code page 932
    // cannot hold it; false (and nothing changed) for invalid UTF-8.
    bool SetNames(std::string_view surnameUtf8, std::string_view givenUtf8);
    // The names as the user knows them (UTF-8).
    std::string SurnameUtf8() const;
    std::string GivenUtf8() const;

    // The same name: everything but the note and the surname's reading.
    bool SameName(const ShortlistEntry& other) const {
        return surname == other.surname && given == other.given && reading == other.reading &&
               style == other.style && typedSurname == other.typedSurname &&
               typedGiven == other.typedGiven;
    }
};

// A hash of what SameName compares.
std::size_t NameHash(const ShortlistEntry& entry);

// The kept names in the order the user gave them. A name is on the list at
// most once.
class Shortlist {
public:
    const std::vector<ShortlistEntry>& Entries() const { return entries_; }
    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }

    // Where the name is, whatever the entry's note.
    std::optional<std::size_t> Find(const ShortlistEntry& name) const;
    // Adds the name at the end; false when it is there already.
    bool Add(ShortlistEntry entry);
    void Remove(std::size_t index);
    // Moves one entry so that it ends up at `to`.
    void Move(std::size_t from, std::size_t to);
    void SetNote(std::size_t index, std::string note);
    // Puts the entries in the order given: order[i] is the index of the entry
    // that becomes entry i. `order` must be a permutation.
    void Reorder(const std::vector<std::size_t>& order);

private:
    // Where each name is, by its NameHash, so that adding and finding do
    // not walk the list.
    void IndexAll();

    std::vector<ShortlistEntry> entries_;
    std::unordered_multimap<std::size_t, std::size_t> positions_;
};

// The list as its file holds it, UTF-8 JSON:
//   {"version": 1, "entries": [{"surname", "given", "reading", "style", "note"}]}
// with "style" "shinji" or "honji", indented for people who read the file;
// an entry that knows its surname's reading has "surnameReading" after
// "reading" (a file without it reads as before).
std::string ShortlistToJson(const Shortlist& list);

// The deepest nesting a list file is read with: the list itself is three
// levels deep, and a later version may nest its members a little. A deeper
// file is taken as damaged rather than walked.
inline constexpr int MaxShortlistDepth = 32;

// Reads the file's JSON. A file that is not this one JSON document (only
// white space may follow it), nests deeper than MaxShortlistDepth, holds a
// version other than 1, or text other than a name that code page 932
// cannot hold gives nothing, and `error` says why in Japanese (code page
// 932). Unknown members are ignored, so a later version may add some.
std::optional<Shortlist> ShortlistFromJson(std::string_view utf8, std::string& error);

}  // namespace soten
