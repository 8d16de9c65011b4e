#include "NameSearchData.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "Cp932.h"
#include "DetailedReading.h"
#include "EmbeddedNameData.h"
#include "KanaCollation.h"
#include "ShiftJis.h"
#include "StrokeLookup.h"

namespace soten {
namespace {

std::vector<std::string> KanjiUnits(std::string_view line) {
    std::vector<std::string> kanji;
    for (std::size_t i = 0; i < line.size();) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte == '\n' || byte == '\r') {
            ++i;
            continue;
        }
        if (!IsLeadByte(byte) || i + 1 >= line.size()) {
            throw std::invalid_argument("name kanji must be double-byte characters");
        }
        kanji.emplace_back(line.substr(i, 2));
        i += 2;
    }
    return kanji;
}

}  // namespace

NameSearchData::NameSearchData(std::string owned, std::string_view external,
                               std::vector<std::string> kanji)
    : owned_(std::move(owned)), external_(external), kanji_(std::move(kanji)) {
    std::sort(kanji_.begin(), kanji_.end());
    kanji_.erase(std::unique(kanji_.begin(), kanji_.end()), kanji_.end());
    IndexRows();
}

NameSearchData::NameSearchData(const std::vector<GivenNameEntry>& names,
                               std::vector<std::string> kanji)
    : NameSearchData(
          [&] {
              std::string text;
              for (const GivenNameEntry& entry : names) {
                  text += entry.written + '\t' + entry.reading + '\t' + entry.gender + '\n';
              }
              return text;
          }(),
          {}, std::move(kanji)) {}

NameSearchData NameSearchData::FromUtf8(std::string_view givenNames, std::string_view nameKanji) {
    // One conversion for the whole text: the rows only split afterwards.
    auto names = Cp932::FromUtf8(givenNames);
    const auto kanjiLine = Cp932::FromUtf8(nameKanji);
    if (!names || !kanjiLine) {
        throw std::invalid_argument("name search data is not encodable in code page 932");
    }
    return NameSearchData(std::move(*names), {}, KanjiUnits(*kanjiLine));
}

NameSearchData NameSearchData::FromCp932(std::string_view givenNames, std::string_view nameKanji) {
    return NameSearchData({}, givenNames, KanjiUnits(nameKanji));
}

GivenNameView NameSearchData::Name(std::size_t index) const {
    const Row& row = rows_.at(index);
    const std::string_view text = Text();
    return {text.substr(row.offset, row.writtenSize),
            text.substr(row.offset + row.writtenSize + 1u, row.readingSize), row.gender};
}

void NameSearchData::IndexRows() {
    const std::string_view text = Text();
    if (text.size() > UINT32_MAX) throw std::invalid_argument("given-name text too large");
    rows_.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
        const bool wellFormed = tab2 != std::string_view::npos && line.size() == tab2 + 2 &&
                                tab1 > 0 && tab1 <= 255 && tab2 > tab1 + 1 &&
                                tab2 - tab1 - 1 <= 255;
        const char tag = wellFormed ? line[tab2 + 1] : 0;
        if (tag != 'f' && tag != 'm' && tag != 'g') {
            throw std::invalid_argument("malformed given-name row " + std::to_string(rows_.size()));
        }
        rows_.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint8_t>(tab1),
                         static_cast<std::uint8_t>(tab2 - tab1 - 1), tag});
        start = end + 1;
    }
    // Dictionary order of the readings, then the written form. The committed
    // data comes in this order already; other text is sorted.
    std::vector<std::pair<std::string, std::string_view>> keys;
    keys.reserve(rows_.size());
    for (const Row& row : rows_) {
        keys.emplace_back(
            GojuonKey(text.substr(row.offset + row.writtenSize + 1u, row.readingSize)),
            text.substr(row.offset, row.writtenSize));
    }
    if (!std::is_sorted(keys.begin(), keys.end())) {
        std::vector<std::size_t> order(rows_.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
        std::vector<Row> sorted;
        sorted.reserve(rows_.size());
        for (const std::size_t i : order) sorted.push_back(rows_[i]);
        rows_ = std::move(sorted);
    }
}

const std::vector<GivenStrokePattern>& NameSearchData::Patterns(
    StrokeStyle style, const StrokeDictionary& dictionary) const {
    const auto slot = static_cast<std::size_t>(style);
    std::call_once(patternsMade_[slot], [&] {
        std::vector<GivenStrokePattern> patterns(rows_.size());
        NameRecord record;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            const std::string_view written = Name(i).written;
            const int chars = CountCharacters(written);
            if (chars < 1 || chars > MaxPartChars) continue;
            // The surname is left empty: the lookup skips it, and the counts
            // of a given name (iteration marks included) never depend on it.
            record.Lengths[Surname] = 0;
            record.Names[GivenName].assign(written);
            record.Lengths[GivenName] = chars;
            LookupStrokes(record, style, dictionary);
            if (!record.LookupOk) continue;
            int sum = 0;
            for (int k = 1; k <= chars; ++k) sum += record.Strokes[GivenName][k];
            const int first = record.Strokes[GivenName][1];
            if (first > UINT8_MAX || sum > UINT16_MAX) continue;
            patterns[i] = {static_cast<std::uint8_t>(chars), static_cast<std::uint8_t>(first),
                           static_cast<std::uint16_t>(sum),
                           OddMask(record.Strokes[GivenName], chars)};
        }
        patterns_[slot] = std::move(patterns);
    });
    return patterns_[slot];
}

const NameSearchData& BuiltInNameSearchData() {
    static const NameSearchData data =
        NameSearchData::FromCp932(embedded::GivenNamesCp932(), embedded::NameKanjiCp932());
    return data;
}

}  // namespace soten
