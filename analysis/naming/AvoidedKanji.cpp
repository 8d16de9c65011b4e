#include "analysis/naming/AvoidedKanji.h"

#include <algorithm>
#include <stdexcept>

#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"
#include "analysis/text/TextLines.h"
#include "data/include/EmbeddedTables.h"

namespace soten {

const std::vector<std::string_view>& AvoidedKanjiCategories() {
    static const std::vector<std::string_view> categories = {"死",     "病",   "悪・魔", "苦・悲",
                                                             "罪・罰", "暴力", "不浄",   "闇・不運",
                                                             "貧・衰", "賭博", "卑俗",   "否定"};
    return categories;
}

AvoidedKanji AvoidedKanji::FromUtf8(std::string_view text) {
    AvoidedKanji list;
    const auto fail = [](std::string_view row) {
        throw std::invalid_argument("avoided kanji: malformed row: " + std::string(row));
    };
    for (const std::string_view row : LinesOf(text)) {
        const std::size_t tab1 = row.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : row.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos || row.find('\t', tab2 + 1) != std::string_view::npos) {
            fail(row);
        }
        const std::string_view category = row.substr(tab1 + 1, tab2 - tab1 - 1);
        const auto& categories = AvoidedKanjiCategories();
        if (std::find(categories.begin(), categories.end(), category) == categories.end())
            fail(row);
        auto kanji = Cp932::FromUtf8(row.substr(0, tab1));
        auto reason = Cp932::FromUtf8(row.substr(tab2 + 1));
        if (!kanji || !reason || reason->empty() || kanji->size() != 2 ||
            !IsLeadByte(static_cast<unsigned char>((*kanji)[0]))) {
            fail(row);
        }
        const std::uint16_t code = Code(*kanji);
        if (list.listed_.test(code)) fail(row);
        list.listed_.set(code);
        list.entries_.push_back({std::move(*kanji), Cp932Text(category), std::move(*reason)});
    }
    return list;
}

std::uint16_t AvoidedKanji::Code(std::string_view character) {
    if (character.size() != 2) return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(character[0]) << 8 |
                                      static_cast<unsigned char>(character[1]));
}

const AvoidedKanjiEntry* AvoidedKanji::Find(std::string_view character) const {
    if (character.size() != 2 || !listed_.test(Code(character))) return nullptr;
    const auto found =
        std::find_if(entries_.begin(), entries_.end(),
                     [&](const AvoidedKanjiEntry& e) { return e.kanji == character; });
    return found == entries_.end() ? nullptr : &*found;
}

bool AvoidedKanji::Holds(std::string_view name) const {
    for (const std::string_view character : Cp932Characters(name)) {
        if (character.size() == 2 && listed_.test(Code(character))) return true;
    }
    return false;
}

std::vector<AvoidedKanjiEntry> AvoidedKanji::In(std::string_view name) const {
    std::vector<AvoidedKanjiEntry> found;
    for (const std::string_view character : Cp932Characters(name)) {
        const AvoidedKanjiEntry* entry = Find(character);
        if (entry && std::find(found.begin(), found.end(), *entry) == found.end()) {
            found.push_back(*entry);
        }
    }
    return found;
}

const AvoidedKanji& BuiltInAvoidedKanji() {
    static const AvoidedKanji list = AvoidedKanji::FromUtf8(embedded::AvoidedKanjiText());
    return list;
}

std::string AvoidedKanjiNote(const std::vector<AvoidedKanjiEntry>& entries) {
    std::string note;
    for (const AvoidedKanjiEntry& entry : entries) {
        if (!note.empty()) note += Cp932Text("、");
        note += entry.kanji;
        note += Cp932Text("：");
        note += entry.reason;
    }
    return note;
}

std::string AvoidedKanjiLine(const std::vector<AvoidedKanjiEntry>& entries) {
    if (entries.empty()) return {};
    return Cp932Text("避けたい字　") + AvoidedKanjiNote(entries);
}

}  // namespace soten
