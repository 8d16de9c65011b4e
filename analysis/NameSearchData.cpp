#include "NameSearchData.h"

#include <algorithm>
#include <stdexcept>

#include "Cp932.h"
#include "EmbeddedNameData.h"
#include "ShiftJis.h"
#include "StrokeLookup.h"

namespace soten {
namespace {

bool ByReadingThenName(const GivenNameEntry& a, const GivenNameEntry& b) {
    if (a.reading != b.reading) return a.reading < b.reading;
    return a.written < b.written;
}

std::vector<GivenNameEntry> ParseNames(std::string_view cp932) {
    std::vector<GivenNameEntry> names;
    names.reserve(static_cast<std::size_t>(std::count(cp932.begin(), cp932.end(), '\n')));
    while (!cp932.empty()) {
        const std::size_t end = cp932.find('\n');
        std::string_view line = cp932.substr(0, end);
        cp932.remove_prefix(end == std::string_view::npos ? cp932.size() : end + 1);
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos || line.size() != tab2 + 2 || tab1 == 0 ||
            tab2 == tab1 + 1) {
            throw std::invalid_argument("malformed given-name row " + std::to_string(names.size()));
        }
        const char tag = line[tab2 + 1];
        if (tag != 'f' && tag != 'm' && tag != 'g') {
            throw std::invalid_argument("unknown gender tag in given-name row " +
                                        std::to_string(names.size()));
        }
        names.push_back({std::string(line.substr(0, tab1)),
                         std::string(line.substr(tab1 + 1, tab2 - tab1 - 1)), tag});
    }
    return names;
}

}  // namespace

NameSearchData::NameSearchData(std::vector<GivenNameEntry> names, std::vector<std::string> kanji)
    : names_(std::move(names)), kanji_(std::move(kanji)) {
    if (!std::is_sorted(names_.begin(), names_.end(), ByReadingThenName)) {
        std::stable_sort(names_.begin(), names_.end(), ByReadingThenName);
    }
    std::sort(kanji_.begin(), kanji_.end());
    kanji_.erase(std::unique(kanji_.begin(), kanji_.end()), kanji_.end());
}

NameSearchData NameSearchData::FromUtf8(std::string_view givenNames, std::string_view nameKanji) {
    // One conversion for the whole text: the rows only split afterwards.
    const auto names = Cp932::FromUtf8(givenNames);
    const auto kanjiLine = Cp932::FromUtf8(nameKanji);
    if (!names || !kanjiLine) {
        throw std::invalid_argument("name search data is not encodable in code page 932");
    }
    std::vector<std::string> kanji;
    for (std::size_t i = 0; i < kanjiLine->size();) {
        const auto byte = static_cast<unsigned char>((*kanjiLine)[i]);
        if (byte == '\n' || byte == '\r') {
            ++i;
            continue;
        }
        if (!IsLeadByte(byte) || i + 1 >= kanjiLine->size()) {
            throw std::invalid_argument("name kanji must be double-byte characters");
        }
        kanji.push_back(kanjiLine->substr(i, 2));
        i += 2;
    }
    return NameSearchData(ParseNames(*names), std::move(kanji));
}

const std::vector<GivenStrokePattern>& NameSearchData::Patterns(
    StrokeStyle style, const StrokeDictionary& dictionary) const {
    const auto slot = static_cast<std::size_t>(style);
    std::call_once(patternsMade_[slot], [&] {
        std::vector<GivenStrokePattern> patterns;
        patterns.reserve(names_.size());
        NameRecord record;
        for (const GivenNameEntry& entry : names_) {
            // The surname is left empty: the lookup skips it, and the counts
            // of a given name (iteration marks included) never depend on it.
            record.Lengths[Surname] = 0;
            record.Names[GivenName] = entry.written;
            const int chars = CountCharacters(entry.written);
            GivenStrokePattern pattern;
            pattern.chars = static_cast<std::uint8_t>(std::min(chars, 255));
            if (chars >= 1 && chars <= MaxPartChars) {
                record.Lengths[GivenName] = chars;
                LookupStrokes(record, style, dictionary);
                pattern.ok = record.LookupOk;
                if (pattern.ok) {
                    pattern.first = record.Strokes[GivenName][1];
                    for (int k = 1; k <= chars; ++k) pattern.sum += record.Strokes[GivenName][k];
                }
            }
            patterns.push_back(pattern);
        }
        patterns_[slot] = std::move(patterns);
    });
    return patterns_[slot];
}

const NameSearchData& BuiltInNameSearchData() {
    static const NameSearchData data =
        NameSearchData::FromUtf8(embedded::GivenNamesText(), embedded::NameKanjiText());
    return data;
}

}  // namespace soten
