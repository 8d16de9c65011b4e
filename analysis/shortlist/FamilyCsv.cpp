#include "analysis/shortlist/FamilyCsv.h"

#include <array>
#include <string_view>

#include "analysis/naming/SurnameYomi.h"
#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/Fortunes.h"
#include "analysis/records/JudgedColumns.h"
#include "analysis/text/Cp932.h"

namespace soten {
namespace {

constexpr std::array<JudgedColumn, 19> Columns = {
    JudgedColumn::Surname,     JudgedColumn::Given,       JudgedColumn::Yomi,
    JudgedColumn::SurnameYomi, JudgedColumn::Romaji,      JudgedColumn::Style,
    JudgedColumn::Strokes,     JudgedColumn::Heaven,      JudgedColumn::Person,
    JudgedColumn::Earth,       JudgedColumn::Outer,       JudgedColumn::Total,
    JudgedColumn::Score,       JudgedColumn::Registrable, JudgedColumn::Sansai,
    JudgedColumn::Inyo,        JudgedColumn::Initials,    JudgedColumn::SoundNotes,
    JudgedColumn::Note};

void Field(std::string_view utf8, bool first, std::string& out) {
    if (!first) out += ',';
    if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(utf8);
        return;
    }
    out += '"';
    for (const char c : utf8) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string Cell(const ComparedName& name, JudgedColumn column) {
    const auto utf8 = [](std::string_view cp932) { return Cp932::ToUtf8Lossy(cp932); };
    const bool refused = !name.reading.has_value();
    switch (column) {
        case JudgedColumn::Surname:
            return name.entry.SurnameUtf8();
        case JudgedColumn::Given:
            return name.entry.GivenUtf8();
        case JudgedColumn::Yomi:
            return utf8(name.entry.reading);
        case JudgedColumn::SurnameYomi:
            // The reading the romaji was spelled from.
            return utf8(name.entry.surnameReading.empty() ? SurnameYomiOf(name.entry.surname)
                                                          : name.entry.surnameReading);
        case JudgedColumn::Romaji:
            return name.spoken.fullName.empty() ? name.spoken.romaji : name.spoken.fullName;
        case JudgedColumn::Initials:
            return name.spoken.initials;
        case JudgedColumn::SoundNotes: {
            std::string notes;
            for (const std::string& note : name.spoken.notes) {
                if (!notes.empty()) notes += "、";
                notes += note;
            }
            return notes;
        }
        case JudgedColumn::Style:
            return utf8(StrokeStyleName(name.entry.style));
        case JudgedColumn::Note:
            return utf8(name.entry.note);
        case JudgedColumn::Registrable:
            return RegistryText(name);
        default:
            break;
    }
    if (refused) return column == JudgedColumn::Strokes ? RefusalText(name) : std::string();
    const NameRecord& record = name.reading->Counted();
    switch (column) {
        case JudgedColumn::Strokes: {
            std::string text;
            for (int k = 1; k <= record.Lengths[GivenName]; ++k) {
                if (k > 1) text += '-';
                text += std::to_string(record.Strokes[GivenName][static_cast<std::size_t>(k)]);
            }
            return text;
        }
        case JudgedColumn::Score:
            return std::to_string(name.score);
        case JudgedColumn::Sansai:
            return utf8(VerdictName(name.sansai.verdict));
        case JudgedColumn::Inyo:
            return utf8(VerdictName(name.inyo.verdict));
        default: {
            const auto kind = static_cast<FortuneKind>(
                static_cast<std::size_t>(column) - static_cast<std::size_t>(JudgedColumn::Heaven));
            std::string text = std::to_string(record.Fortunes[kind]);
            text += utf8(GradeMark(name.keywords[kind].grade));
            return text;
        }
    }
}

}  // namespace

std::vector<std::vector<std::string>> FamilyTable(const std::vector<ComparedName>& names) {
    std::vector<std::vector<std::string>> table;
    std::vector<std::string>& headings = table.emplace_back();
    for (const JudgedColumn column : Columns) headings.emplace_back(TitleOf(column));
    for (const ComparedName& name : names) {
        std::vector<std::string>& row = table.emplace_back();
        for (const JudgedColumn column : Columns) row.push_back(Cell(name, column));
    }
    return table;
}

std::string FamilyCsv(const std::vector<ComparedName>& names) {
    std::string out = "\xEF\xBB\xBF";
    for (const std::vector<std::string>& row : FamilyTable(names)) {
        bool first = true;
        for (const std::string& cell : row) {
            Field(cell, first, out);
            first = false;
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace soten
