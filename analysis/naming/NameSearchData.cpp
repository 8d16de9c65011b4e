#include "analysis/naming/NameSearchData.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/StrokeLookup.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/KanaCollation.h"
#include "analysis/text/ShiftJis.h"
#include "data/include/EmbeddedNameData.h"

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

// "KANJI<TAB>名乗り<TAB>訓<TAB>音" lines, the readings of a kind separated by
// spaces, in code page 932.
std::vector<NameKanji> KanjiWithReadings(std::string_view nameKanji, std::string_view readings) {
    std::vector<NameKanji> kanji;
    for (std::string& unit : KanjiUnits(nameKanji)) kanji.push_back({std::move(unit), {}});
    std::sort(kanji.begin(), kanji.end(),
              [](const NameKanji& a, const NameKanji& b) { return a.kanji < b.kanji; });
    for (std::size_t start = 0; start < readings.size();) {
        const std::size_t end = std::min(readings.find('\n', start), readings.size());
        std::string_view line = readings.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) throw std::invalid_argument("malformed kanji reading");
        const std::string_view literal = line.substr(0, tab);
        const auto found = std::lower_bound(
            kanji.begin(), kanji.end(), literal,
            [](const NameKanji& k, std::string_view text) { return k.kanji < text; });
        if (found == kanji.end() || found->kanji != literal) continue;
        std::size_t kind = 0;
        std::string reading;
        for (std::size_t i = tab + 1; i <= line.size(); ++i) {
            const char c = i < line.size() ? line[i] : '\t';
            if (c == ' ' || c == '\t') {
                if (!reading.empty()) {
                    found->yomi.push_back({std::move(reading), static_cast<YomiKind>(kind)});
                    reading.clear();
                }
                if (c == '\t' && ++kind > 2 && i < line.size()) {
                    throw std::invalid_argument("malformed kanji reading");
                }
            } else {
                reading += c;
            }
        }
    }
    return kanji;
}

// Which double-byte codes a registered name may hold besides the name kanji.
bool IsRegistrableKana(unsigned code) {
    const bool hiragana = code >= 0x829F && code <= 0x82F1;                    // ぁ..ん
    const bool katakana = code >= 0x8340 && code <= 0x8396 && code != 0x837F;  // ァ..ヶ
    const bool mark = code == 0x815B || code == 0x8158 || (code >= 0x8152 && code <= 0x8155);
    return hiragana || katakana || mark;  // ー, 々, ヽ ヾ ゝ ゞ
}

// The double-byte codes a registry office takes in a given name: kana and
// marks, and `kanji`.
std::vector<bool> RegistrableCodes(const std::vector<std::string>& kanji) {
    std::vector<bool> allowed(0x10000);
    for (unsigned code = 0x8140; code < 0x8400; ++code) allowed[code] = IsRegistrableKana(code);
    for (const std::string& unit : kanji) allowed[UnitCode(unit)] = true;
    return allowed;
}

// Whether every character of `written` is a double-byte one of `allowed`.
bool AllRegistrable(std::string_view written, const std::vector<bool>& allowed) {
    for (std::size_t i = 0; i + 1 < written.size(); i += 2) {
        if (!IsLeadByte(static_cast<unsigned char>(written[i])) ||
            !allowed[UnitCode(written.substr(i, 2))])
            return false;
    }
    return written.size() % 2 == 0;
}

}  // namespace

namespace {

// Each gender's tag in the name dictionary and its label in the program's
// language (UTF-8).
struct GenderWords {
    NameGender gender;
    std::string_view tag;
    std::string_view label;
};
constexpr std::array<GenderWords, 4> Genders = {{{NameGender::Female, "f", "女性"},
                                                 {NameGender::Male, "m", "男性"},
                                                 {NameGender::Both, "fm", "男女"},
                                                 {NameGender::Unspecified, "g", "不明"}}};

}  // namespace

std::string_view GenderTag(NameGender gender) {
    for (const GenderWords& words : Genders) {
        if (words.gender == gender) return words.tag;
    }
    return {};
}

const std::string& GenderLabel(NameGender gender) {
    static const std::array<std::string, Genders.size()> labels = [] {
        std::array<std::string, Genders.size()> made;
        for (std::size_t i = 0; i < Genders.size(); ++i) made[i] = Cp932Text(Genders[i].label);
        return made;
    }();
    static const std::string none;
    for (std::size_t i = 0; i < Genders.size(); ++i) {
        if (Genders[i].gender == gender) return labels[i];
    }
    return none;
}

NameGender GenderOfTag(std::string_view tag) {
    for (const GenderWords& words : Genders) {
        if (words.tag == tag) return words.gender;
    }
    return NameGender::None;
}

namespace {

// The characters of `given` that `allowed` refuses, each once, in order.
template <typename Allowed>
std::vector<std::string> RefusedCharacters(std::string_view given, const Allowed& allowed) {
    std::vector<std::string> refused;
    for (const std::string_view character : Cp932Characters(given)) {
        if (character.size() == 2 && allowed(character)) continue;
        if (std::find(refused.begin(), refused.end(), character) == refused.end()) {
            refused.emplace_back(character);
        }
    }
    return refused;
}

const std::vector<bool>& BuiltInRegistrableCodes() {
    // 常用漢字 and 人名用漢字.
    static const std::vector<bool> allowed =
        RegistrableCodes(KanjiUnits(embedded::NameKanjiCp932()));
    return allowed;
}

}  // namespace

std::vector<std::string> UnregistrableCharacters(std::string_view given,
                                                 const std::vector<std::string>& nameKanji) {
    return RefusedCharacters(given, [&nameKanji](std::string_view pair) {
        return IsRegistrableKana(UnitCode(pair)) ||
               std::binary_search(nameKanji.begin(), nameKanji.end(), pair);
    });
}

std::vector<std::string> UnregistrableCharacters(std::string_view given) {
    const std::vector<bool>& allowed = BuiltInRegistrableCodes();
    return RefusedCharacters(given, [&allowed](std::string_view pair) {
        return static_cast<bool>(allowed[UnitCode(pair)]);
    });
}

bool IsRegistrable(std::string_view given) {
    return AllRegistrable(given, BuiltInRegistrableCodes());
}

NameSearchData::NameSearchData(std::string owned, std::string_view external,
                               std::vector<NameKanji> kanji, std::string_view likeness,
                               std::string_view folds, std::string_view traits)
    : owned_(std::move(owned)), external_(external), traitsText_(traits) {
    std::sort(kanji.begin(), kanji.end(),
              [](const NameKanji& a, const NameKanji& b) { return a.kanji < b.kanji; });
    for (NameKanji& k : kanji) {
        if (!kanji_.empty() && kanji_.back() == k.kanji) continue;
        kanji_.push_back(std::move(k.kanji));
        yomi_.push_back(std::move(k.yomi));
    }
    for (std::size_t i = 0; i < kanji_.size(); ++i) folded_.push_back(i);
    SetLikeness(likeness);
    SetFolds(folds);
    // The text compiled into the program is indexed when the names are
    // first needed (a search of composed names never needs them) and comes
    // in order (a test holds it to that); other text is checked at once.
    if (external_.empty()) Rows();
}

NameSearchData::NameSearchData(const std::vector<GivenNameEntry>& names,
                               std::vector<NameKanji> kanji, std::string_view likeness)
    : NameSearchData(
          [&] {
              std::string text;
              for (const GivenNameEntry& entry : names) {
                  text += entry.written + '\t' + entry.yomi + '\t' +
                          std::string(GenderTag(entry.gender)) + '\n';
              }
              return text;
          }(),
          {}, std::move(kanji), likeness) {}

NameSearchData NameSearchData::FromUtf8(std::string_view givenNames, std::string_view nameKanji,
                                        std::string_view kanjiReadings,
                                        std::string_view nameLikeness,
                                        std::string_view kanjiFolds) {
    // One conversion for the whole text: the rows only split afterwards.
    auto names = Cp932::FromUtf8(givenNames);
    const auto kanjiLine = Cp932::FromUtf8(nameKanji);
    const auto readings = Cp932::FromUtf8(kanjiReadings);
    const auto likeness = Cp932::FromUtf8(nameLikeness);
    const auto folds = Cp932::FromUtf8(kanjiFolds);
    if (!names || !kanjiLine || !readings || !likeness || !folds) {
        throw std::invalid_argument("name search data is not encodable in code page 932");
    }
    return NameSearchData(std::move(*names), {}, KanjiWithReadings(*kanjiLine, *readings),
                          *likeness, *folds);
}

NameSearchData NameSearchData::FromCp932(std::string_view givenNames, std::string_view nameKanji,
                                         std::string_view kanjiReadings,
                                         std::string_view nameLikeness, std::string_view kanjiFolds,
                                         std::string_view nameTraits) {
    return NameSearchData({}, givenNames, KanjiWithReadings(nameKanji, kanjiReadings), nameLikeness,
                          kanjiFolds, nameTraits);
}

std::optional<std::size_t> NameSearchData::KanjiIndex(std::string_view character) const {
    const auto found = std::lower_bound(kanji_.begin(), kanji_.end(), character);
    if (found == kanji_.end() || *found != character) return std::nullopt;
    return static_cast<std::size_t>(found - kanji_.begin());
}

void NameSearchData::SetFolds(std::string_view cp932) {
    for (std::size_t start = 0; start < cp932.size();) {
        const std::size_t end = std::min(cp932.find('\n', start), cp932.size());
        std::string_view line = cp932.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) throw std::invalid_argument("malformed kanji fold");
        const auto compat = KanjiIndex(line.substr(0, tab));
        const auto unified = KanjiIndex(line.substr(tab + 1));
        if (compat && unified) folded_[*compat] = *unified;
    }
}

GivenNameView NameSearchData::Name(std::size_t index) const {
    const Row& row = Rows().at(index);
    const std::string_view text = Text();
    return {text.substr(row.offset, row.writtenSize),
            text.substr(row.offset + row.writtenSize + 1u, row.yomiSize), row.gender,
            row.registrable};
}

const std::vector<NameSearchData::Row>& NameSearchData::Rows() const {
    std::call_once(rowsMade_, [&] { IndexRows(); });
    return rows_;
}

void NameSearchData::IndexRows() const {
    const std::string_view text = Text();
    if (text.size() > UINT32_MAX) throw std::invalid_argument("given-name text too large");
    // The lines counted with memchr(), which skips many bytes at a time
    // (std::count looks at each of the megabytes).
    std::size_t lines = 1;
    const char* const textEnd = text.data() + text.size();
    for (const char* at = text.data(); at != textEnd; ++at) {
        at =
            static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(textEnd - at)));
        if (!at) break;
        ++lines;
    }
    rows_.reserve(lines);
    // A table of the allowed codes: the rows are checked without a search.
    const std::vector<bool> allowed = RegistrableCodes(kanji_);
    auto Registrable = [&](std::string_view written) { return AllRegistrable(written, allowed); };
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
        const bool wellFormed = tab2 != std::string_view::npos && tab1 > 0 && tab1 <= 255 &&
                                tab2 > tab1 + 1 && tab2 - tab1 - 1 <= 255;
        const NameGender gender =
            wellFormed ? GenderOfTag(line.substr(tab2 + 1)) : NameGender::None;
        if (gender == NameGender::None) {
            throw std::invalid_argument("malformed given-name row " + std::to_string(rows_.size()));
        }
        const bool registrable = Registrable(line.substr(0, tab1));
        rows_.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint8_t>(tab1),
                         static_cast<std::uint8_t>(tab2 - tab1 - 1), gender, registrable});
        start = end + 1;
    }
    if (rows_.size() > MaxGivenNames) throw std::invalid_argument("too many given names");
    // Dictionary order of the yomi, then the written form. The committed
    // data comes in this order already; other text is sorted.
    if (!external_.empty()) return;
    std::vector<std::pair<std::string, std::string_view>> keys;
    keys.reserve(rows_.size());
    for (const Row& row : rows_) {
        keys.emplace_back(GojuonKey(text.substr(row.offset + row.writtenSize + 1u, row.yomiSize)),
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
        const std::vector<Row>& rows = Rows();
        const std::string_view text = Text();
        std::vector<GivenStrokePattern> patterns(rows.size());
        // Each unit but the iteration marks counts the same in every name:
        // it is counted once, not once a name.
        constexpr int Unknown = std::numeric_limits<int>::min();
        std::vector<int> counted(std::size_t{1} << 16, Unknown);
        StrokeCounts strokes{};
        for (std::size_t i = 0; i < patterns.size(); ++i) {
            const std::string_view written = text.substr(rows[i].offset, rows[i].writtenSize);
            const int chars = CountCharacters(written);
            if (chars < 1 || chars > MaxPartChars) continue;
            // As LookupStrokes() counts a given name alone: the counts of a
            // given name (iteration marks included) never depend on the
            // surname.
            bool countable = true;
            for (int k = 1; k <= chars && countable; ++k) {
                const std::string_view unit = Unit(written, static_cast<std::size_t>(k));
                int count = 0;
                if (unit.size() == 2 && !CountDependsOnPlace(unit)) {
                    int& known = counted[UnitCode(unit)];
                    if (known == Unknown) known = CountUnit(unit, k, 0, style, dictionary);
                    count = known;
                } else {
                    count = CountUnit(unit, k, k > 1 ? strokes[k - 1] : 0, style, dictionary);
                }
                if (count != RefusedUnit) strokes[k] = count;
                countable = count > 0;
            }
            if (!countable) continue;
            int sum = 0;
            for (int k = 1; k <= chars; ++k) sum += strokes[k];
            const int first = strokes[1];
            if (first > UINT8_MAX || sum > UINT16_MAX) continue;
            patterns[i] = {static_cast<std::uint8_t>(chars), static_cast<std::uint8_t>(first),
                           static_cast<std::uint16_t>(sum), OddMask(strokes, chars)};
        }
        patterns_[slot] = std::move(patterns);
    });
    return patterns_[slot];
}

const GivenNameTraitsTable* NameSearchData::PrecomputedTraits() const {
    std::call_once(traitsFound_, [&] {
        GivenNameTraitsTable traits(traitsText_, Rows().size());
        if (!traits.Empty()) traits_ = traits;
    });
    return traits_ ? &*traits_ : nullptr;
}

const std::vector<std::uint32_t>& NameSearchData::WrittenOrder() const {
    std::call_once(writtenOrderMade_, [&] {
        std::vector<std::uint32_t> order(Rows().size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
        std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            return Name(a).written < Name(b).written;
        });
        writtenOrder_.assign(rows_.size(), 0);
        for (std::size_t rank = 0; rank < order.size(); ++rank) {
            writtenOrder_[order[rank]] = static_cast<std::uint32_t>(rank);
        }
    });
    return writtenOrder_;
}

const NameSearchData& BuiltInNameSearchData() {
    static const NameSearchData data =
        NameSearchData::FromCp932(embedded::GivenNamesCp932(), embedded::NameKanjiCp932(),
                                  embedded::KanjiReadingsCp932(), embedded::NameLikenessCp932(),
                                  embedded::KanjiFoldsCp932(), embedded::GivenNameTraitsCp932());
    return data;
}

}  // namespace soten
