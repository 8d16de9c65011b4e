#include "analysis/reading/Reading.h"

#include <algorithm>
#include <array>

#include "analysis/reading/Report.h"
#include "analysis/reading/StrokeLookup.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

// The distinct characters of the names that cannot be counted, in order.
std::vector<std::string> UncountableOf(const NameRecord& counted, StrokeStyle style,
                                       const StrokeDictionary& dictionary) {
    std::vector<std::string> characters;
    for (const UncountableCharacter& found : UncountableCharacters(counted, style, dictionary)) {
        std::string character(found.character);
        if (std::find(characters.begin(), characters.end(), character) == characters.end()) {
            characters.push_back(std::move(character));
        }
    }
    return characters;
}

// The code points of a UTF-8 text, one string each.
std::vector<std::string_view> Utf8Characters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        while (i + length < text.size() &&
               (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) {
            ++length;
        }
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

}  // namespace

const std::string& MessageOf(Refusal::Reason reason) {
    static const std::string tooMany = Cp932Text("文字数が多すぎます");
    static const std::string uncountable = Cp932Text("不適切な文字があります");
    return reason == Refusal::Reason::TooManyCharacters ? tooMany : uncountable;
}

const std::string& Refusal::Message() const {
    return MessageOf(reason);
}

std::string LackedCharactersText(const std::vector<std::string>& characters, bool utf8) {
    if (characters.empty()) return {};
    static const std::string open = Cp932Text("「");
    static const std::string close = Cp932Text("」");
    static const std::string lacks = Cp932Text("は辞書にありません");
    std::string text;
    for (const std::string& character : characters) {
        text.append(utf8 ? "「" : open).append(character).append(utf8 ? "」" : close);
    }
    return text.append(utf8 ? "は辞書にありません" : lacks);
}

std::variant<NameRecord, Refusal> CountName(const EnteredNames& names, StrokeStyle style,
                                            const Tables& tables) {
    NameRecord counted;
    counted.Names[Surname] = names.surname;
    counted.Names[GivenName] = names.given;
    const int surname = counted.Lengths[Surname] = CountCharacters(names.surname);
    const int given = counted.Lengths[GivenName] = CountCharacters(names.given);
    if (surname > MaxPartChars || given > MaxPartChars || surname + given > MaxTotalChars) {
        return Refusal{Refusal::Reason::TooManyCharacters, {}};
    }
    if (surname == 0 || given == 0) return Refusal{Refusal::Reason::UncountableCharacters, {}};
    if (!LookupStrokes(counted, style, tables.dictionary)) {
        return Refusal{Refusal::Reason::UncountableCharacters,
                       UncountableOf(counted, style, tables.dictionary)};
    }
    ComputeFortunes(counted);
    return counted;
}

const ReadingLines& Reading::Lines() const {
    static const ReadingLines none;
    return lines_ ? *lines_ : none;
}

std::variant<Reading, Refusal> MakeReading(const EnteredNames& names, StrokeStyle style,
                                           const Tables& tables, ReadingDetail detail) {
    auto counted = CountName(names, style, tables);
    if (auto* refusal = std::get_if<Refusal>(&counted)) return std::move(*refusal);
    Reading reading;
    reading.counted_ = std::move(std::get<NameRecord>(counted));
    const NameRecord& name = reading.counted_;
    for (std::size_t kind = 0; kind < FortuneCount; ++kind) {
        reading.keywords_[kind] = LookupKeyword(tables, name.Fortunes[kind]);
    }
    if (detail != ReadingDetail::Numbers) reading.report_ = ComposeReport(name, tables);
    if (detail == ReadingDetail::Whole) {
        reading.lines_ = std::make_shared<const ReadingLines>(
            WrapReading(ComposeReadingText(name, tables).Paragraphs()));
    }
    reading.givenYomi_ = names.givenYomi;
    reading.style_ = style;
    return reading;
}

std::vector<std::string> UnknownCharacters(const EnteredNames& names, StrokeStyle style,
                                           const Tables& tables, std::string_view surnameUtf8,
                                           std::string_view givenUtf8) {
    NameRecord record;
    record.Names[Surname] = names.surname;
    record.Names[GivenName] = names.given;
    const std::array<std::vector<std::string_view>, 2> typed = {Utf8Characters(surnameUtf8),
                                                                Utf8Characters(givenUtf8)};
    std::vector<std::string> characters;
    for (const UncountableCharacter& found :
         UncountableCharacters(record, style, tables.dictionary)) {
        const auto& characterList = typed[found.part == Surname ? 0 : 1];
        // Each character typed is one character of the name (one that code
        // page 932 lacks became SUB), so the typed one is named: SUB would
        // not say which. Should the counts differ, the converted one is.
        const auto index = static_cast<std::size_t>(found.position - 1);
        std::string character =
            characterList.size() ==
                    static_cast<std::size_t>(CountCharacters(record.Names[found.part]))
                ? std::string(characterList[index])
                : Cp932::ToUtf8Lossy(found.character);
        if (std::find(characters.begin(), characters.end(), character) == characters.end()) {
            characters.push_back(std::move(character));
        }
    }
    return characters;
}

}  // namespace soten
