#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <set>
#include <tuple>

#include "analysis/naming/NameLikeness.h"
#include "analysis/naming/NameSearch.h"
#include "analysis/reading/Fortunes.h"
#include "analysis/reading/Reading.h"
#include "analysis/text/KanaCollation.h"
#include "analysis/text/ShiftJis.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

// Everything a reading of `surname` + `given` shows, made the way the
// program makes it (the entry dialog's checks, the lookup, the fortunes):
// the reference every search result is held against.
struct Reference {
    bool accepted = false;
    std::string given;
    NameRecord record;
    std::array<int, FortuneCount> grades{};
    int score = 0;
    double likeness = 0;  // of the yomi shown
    GenderLean lean = GenderLean::Neither;
};

// `full`: the whole reading (report and all); otherwise only the steps that
// make the numbers, for the brute-force runs over many thousand names.
Reference ReadName(const std::string& surname, const std::string& given, StrokeStyle style,
                   bool full = false) {
    Reference reference;
    reference.given = given;
    if (full) {
        const auto outcome = MakeReading({surname, given}, style, BuiltInTables());
        if (!std::holds_alternative<Reading>(outcome)) return reference;
        reference.record = std::get<Reading>(outcome).Counted();
    } else {
        const auto counted = CountName({surname, given}, style, BuiltInTables());
        if (!std::holds_alternative<NameRecord>(counted)) return reference;
        reference.record = std::get<NameRecord>(counted);
    }
    reference.accepted = true;
    for (int kind = 0; kind < FortuneCount; ++kind) {
        const auto k = static_cast<std::size_t>(kind);
        reference.grades[k] = LookupKeyword(BuiltInTables(), reference.record.Fortunes[k]).grade;
    }
    for (const FortuneKind kind : {Person, Earth, Outer, Total}) {
        reference.score += 4 - reference.grades[kind];
    }
    return reference;
}

constexpr NameGender F = NameGender::Female;
constexpr NameGender M = NameGender::Male;
constexpr NameGender FM = NameGender::Both;
constexpr NameGender G = NameGender::Unspecified;

// The yomi the data lists for a kanji of its list.
std::vector<KanjiYomi> YomiOf(const NameSearchData& data, std::string_view kanji) {
    const auto& list = data.Kanji();
    const auto found = std::lower_bound(list.begin(), list.end(), kanji);
    EXPECT_TRUE(found != list.end() && *found == kanji) << Utf8(std::string(kanji));
    if (found == list.end() || *found != kanji) return {};
    return data.Yomi(static_cast<std::size_t>(found - list.begin()));
}

// ~40 name kanji spread over the real list with at most four readings each
// (so that every combination can be read out), and given names of all four
// tags, some with characters outside the kanji list.
const NameSearchData& FixtureData() {
    static const NameSearchData data = [] {
        const NameSearchData& real = BuiltInNameSearchData();
        std::vector<std::string> some;
        for (std::size_t i = 0; i < real.Kanji().size(); i += real.Kanji().size() / 30) {
            some.push_back(real.Kanji()[i]);
        }
        for (const char* extra :
             {"翔", "大", "子", "美", "結", "衣", "由", "唯", "優", "悪", "憂"}) {
            some.push_back(Sjis(extra));
        }
        std::vector<NameKanji> kanji;
        for (const std::string& k : some) {
            std::vector<KanjiYomi> readings = YomiOf(real, k);
            readings.resize(std::min<std::size_t>(readings.size(), 4));
            kanji.push_back({k, std::move(readings)});
        }
        std::vector<GivenNameEntry> names;
        for (const auto& [written, reading, gender] :
             std::vector<std::tuple<const char*, const char*, NameGender>>{
                 {"美咲", "みさき", F},   {"ミサキ", "みさき", F},
                 {"翔太", "しょうた", M}, {"大翔", "ひろと", M},
                 {"菜々子", "ななこ", F}, {"々子", "ここ", F},
                 {"あおい", "あおい", G}, {"葵", "あおい", G},
                 {"大", "だい", M},       {"彩", "あや", F},
                 {"優子", "ゆうこ", F},   {"一二三四五六七八九十", "かず", M},
                 {"千紘", "ちひろ", FM},  {"悠人", "ゆうと", FM},
                 {"悠人", "はると", G},   {"結衣", "ゆい", F},
                 {"唯", "ゆい", F},       {"ゆい", "ゆい", F},
                 {"唯斗", "ゆいと", M},   {"結", "ゆう", FM},
                 {"由美", "ゆみ", F},     {"嗟", "ああ", G},
                 {"唖々", "ああ", G},     {"有娜", "ゆな", F},
                 {"ユイ", "ゆい", FM},    {"優美子", "ゆみこ", F},
                 {"憂衣", "ゆい", F},     {"悪", "あく", M}}) {
            names.push_back({Sjis(written), Sjis(reading), gender});
        }
        // The three parts real names use most for each kanji, as rows of the
        // name-likeness table.
        std::string likeness;
        for (const std::string& k : some) {
            std::vector<LikenessPart> parts = real.Likeness().PartsOf(*real.KanjiIndex(k));
            std::stable_sort(parts.begin(), parts.end(),
                             [](const auto& a, const auto& b) { return a.Names() > b.Names(); });
            parts.resize(std::min<std::size_t>(parts.size(), 3));
            for (const LikenessPart& part : parts) {
                likeness += k + '\t' + part.kana + '\t' + "spc"[static_cast<int>(part.kind)];
                for (const std::uint32_t n : part.at) likeness += '\t' + std::to_string(n);
                likeness +=
                    '\t' + std::to_string(part.girls) + '\t' + std::to_string(part.boys) + '\n';
            }
        }
        return NameSearchData(std::move(names), std::move(kanji), likeness);
    }();
    return data;
}

// A reading part of a kanji and its weight at each position.
struct WeighedPart {
    std::string kana;
    int kind;
    std::array<double, 4> weight;
    std::uint64_t girls = 0;
    std::uint64_t boys = 0;
};

// The parts a composed name's kanji are read by: those real names give it
// (commonOnly), or its dictionary readings.
std::vector<WeighedPart> PartsOf(const NameSearchData& data, std::string_view kanji,
                                 bool commonOnly) {
    const NameLikeness& likeness = data.Likeness();
    const std::size_t index = *data.KanjiIndex(kanji);
    std::vector<WeighedPart> parts;
    auto weigh = [&](const LikenessPart* row) {
        std::array<double, 4> weight{};
        for (std::size_t p = 0; p < 4; ++p) {
            weight[p] = likeness.Weight(row, static_cast<NamePosition>(p));
        }
        return weight;
    };
    if (commonOnly) {
        for (const LikenessPart& part : likeness.PartsOf(index)) {
            parts.push_back({part.kana, 0, weigh(&part), part.girls, part.boys});
        }
    } else {
        for (const KanjiYomi& yomi : data.Yomi(index)) {
            const LikenessPart* row = likeness.Find(index, yomi.kana);
            parts.push_back({yomi.kana, static_cast<int>(yomi.kind), weigh(row),
                             row ? row->girls : 0u, row ? row->boys : 0u});
        }
    }
    return parts;
}

// Every reading of a name of kanji by brute force, with its name-likeness
// (the parts' weights summed from the first character on) and the sum of its
// kinds (名乗り 0, 訓 1, 音 2), in the order of the characters' own lists.
struct ComposedReading {
    double likeness = 0;
    int kinds = 0;
    std::string text;
    std::uint64_t girls = 0;
    std::uint64_t boys = 0;
};

std::vector<ComposedReading> EveryReading(const std::string& given, const NameSearchData& data,
                                          bool commonOnly) {
    std::vector<ComposedReading> readings = {{}};
    const std::size_t chars = given.size() / 2;
    for (std::size_t k = 1; k <= chars; ++k) {
        std::vector<ComposedReading> longer;
        const auto where = static_cast<std::size_t>(PositionIn(k - 1, chars));
        for (const ComposedReading& r : readings) {
            for (const WeighedPart& part : PartsOf(data, Unit(given, k), commonOnly)) {
                longer.push_back({r.likeness + part.weight[where], r.kinds + part.kind,
                                  r.text + part.kana, r.girls + part.girls, r.boys + part.boys});
            }
        }
        readings = std::move(longer);
    }
    return readings;
}

int Morae(const std::string& reading) {
    int morae = 0;
    for (std::size_t k = 1; k <= reading.size() / 2; ++k) {
        morae +=
            std::string("ゃゅょぁぃぅぇぉゎ").find(Utf8(Unit(reading, k))) == std::string::npos;
    }
    return morae;
}

bool ReadingPasses(const std::string& reading, const YomiFilters& f) {
    const std::string exact = ToHiragana(f.exact);
    const std::string prefix = ToHiragana(f.prefix);
    const std::string suffix = ToHiragana(f.suffix);
    const std::string contains = ToHiragana(f.contains);
    return (exact.empty() || reading == exact) && reading.starts_with(prefix) &&
           reading.ends_with(suffix) && reading.find(contains) != std::string::npos &&
           (f.length == 0 || static_cast<int>(reading.size() / 2) == f.length) &&
           (f.morae == 0 || Morae(reading) == f.morae);
}

// The readings a candidate is to show: the matching ones, the most
// name-like first, then fewest kinds first, each once, at most eight; and the
// best likeness of a matching reading and the lean of its parts.
std::vector<std::string> ShownReadings(const std::string& given, const NameSearchData& data,
                                       const YomiFilters& filters, bool commonOnly,
                                       double* likeness = nullptr, GenderLean* lean = nullptr) {
    auto all = EveryReading(given, data, commonOnly);
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
        if (a.likeness != b.likeness) return a.likeness > b.likeness;
        return a.kinds < b.kinds;
    });
    std::vector<std::string> shown;
    bool first = true;
    for (const ComposedReading& r : all) {
        if (!ReadingPasses(r.text, filters)) continue;
        if (first && likeness) *likeness = r.likeness;
        if (first && lean) *lean = LeanOf(r.girls, r.boys, data.Likeness().Balance());
        first = false;
        if (shown.size() < 8 && std::find(shown.begin(), shown.end(), r.text) == shown.end()) {
            shown.push_back(r.text);
        }
    }
    return shown;
}

// Whether a name holds a kanji of the avoid list, by reading the list.
bool HoldsAvoided(const std::string& given) {
    for (std::size_t k = 1; k <= given.size() / 2; ++k) {
        for (const AvoidedKanjiEntry& entry : BuiltInAvoidedKanji().Entries()) {
            if (Unit(given, k) == entry.kanji) return true;
        }
    }
    return false;
}

// The filters' meaning written out plainly, name by name (the reading is
// checked by the caller).
bool Passes(const Reference& r, const NameSearchFilters& filters) {
    if (!r.accepted) return false;
    const int chars = r.record.Lengths[GivenName];
    if (filters.chars != 0 && chars != filters.chars) return false;
    for (const FortuneKind kind : {Person, Earth, Outer, Total}) {
        if (r.grades[kind] > filters.worstGrade[kind]) return false;
    }
    if (r.score < filters.minScore) return false;
    if (ReadSansai(r.record).verdict > filters.worstSansai) return false;
    if (filters.inyoOk && ReadInyo(r.record).verdict == InyoVerdict::Bad) return false;
    for (const RequiredCharacter& required : filters.required) {
        bool found = false;
        for (int k = 1; k <= chars; ++k) {
            const bool here = required.position == 0 || required.position == k;
            found =
                found || (here && Unit(r.given, static_cast<std::size_t>(k)) == required.character);
        }
        if (!found) return false;
    }
    for (const std::string& excluded : filters.excluded) {
        for (int k = 1; k <= chars; ++k) {
            if (Unit(r.given, static_cast<std::size_t>(k)) == excluded) return false;
        }
    }
    return filters.includeAvoided || !HoldsAvoided(r.given);
}

// Where a name goes in a sort by a numeric key (lower first).
int SortValue(const Reference& r, const NameSearchFilters& filters) {
    int value = 0;
    switch (filters.sort) {
        case SortKey::Person:
            value = r.grades[Person] * 1000 + r.record.Fortunes[Person];
            break;
        case SortKey::Total:
            value = r.grades[Total] * 1000 + r.record.Fortunes[Total];
            break;
        case SortKey::Strokes:
            for (int k = 1; k <= r.record.Lengths[GivenName]; ++k) {
                value += r.record.Strokes[GivenName][k];
            }
            break;
        default:
            break;
    }
    return filters.reversed ? -value : value;
}

// Every result of a search, page after page.
std::vector<NameCandidate> AllPages(NameSearchFilters filters, const NameSearchData& data,
                                    std::uint64_t* count = nullptr, int limit = MaxSearchLimit) {
    filters.limit = limit;
    std::vector<NameCandidate> all;
    for (filters.page = 1;; ++filters.page) {
        NameSearchResult result = SearchNames(filters, BuiltInTables(), data);
        EXPECT_TRUE(result.problem.empty()) << Utf8(result.problem);
        if (count) *count = result.count;
        if (result.candidates.empty()) break;
        for (auto& candidate : result.candidates) all.push_back(std::move(candidate));
    }
    return all;
}

NameSearchFilters Filters(const char* surname, StrokeStyle style, SearchSpace space) {
    NameSearchFilters filters;
    filters.surname = Sjis(surname);
    filters.style = style;
    filters.space = space;
    return filters;
}

struct FilterCase {
    const char* label;
    const char* surname;
    StrokeStyle style;
    std::function<void(NameSearchFilters&)> set;
};

const std::vector<FilterCase>& FilterCases() {
    static const std::vector<FilterCase> cases = {
        {"none", "山田", StrokeStyle::Shinji, [](NameSearchFilters&) {}},
        {"no ×, 総運 ◎", "山田", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.worstGrade = {4, 3, 3, 3, 1};
         }},
        {"contains 翔, by 人運", "佐々木", StrokeStyle::Honji,
         [](NameSearchFilters& f) {
             f.required = {{Sjis("翔"), 0}};
             f.sort = SortKey::Person;
         }},
        {"大 first, 翔 anywhere, score 8", "林", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.required = {{Sjis("大"), 1}, {Sjis("翔"), 0}};
             f.minScore = 8;
         }},
        {"two characters, 子 second, 人運 ○, most strokes first", "渡辺", StrokeStyle::Honji,
         [](NameSearchFilters& f) {
             f.chars = 2;
             f.required = {{Sjis("子"), 2}};
             f.worstGrade[Person] = 2;
             f.sort = SortKey::Strokes;
             f.reversed = true;
         }},
        {"美 and 子 anywhere", "一", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.required = {{Sjis("美"), 0}, {Sjis("子"), 0}};
         }},
        {"三才 吉 or better", "山田", StrokeStyle::Shinji,
         [](NameSearchFilters& f) { f.worstSansai = SansaiVerdict::Good; }},
        {"三才 大吉, 陰陽 not 凶", "佐々木", StrokeStyle::Honji,
         [](NameSearchFilters& f) {
             f.worstSansai = SansaiVerdict::VeryGood;
             f.inyoOk = true;
         }},
        {"陰陽 not 凶, one-character surname", "林", StrokeStyle::Shinji,
         [](NameSearchFilters& f) { f.inyoOk = true; }},
        {"ten-character surname leaves two", "一二三四五六七八九十", StrokeStyle::Shinji,
         [](NameSearchFilters&) {}},
        {"read ゆい", "佐藤", StrokeStyle::Shinji,
         [](NameSearchFilters& f) { f.yomi.exact = Sjis("ゆい"); }},
        {"starts ユ (katakana), holds い, by 総運", "佐藤", StrokeStyle::Honji,
         [](NameSearchFilters& f) {
             f.yomi.prefix = Sjis("ユ");
             f.yomi.contains = Sjis("い");
             f.sort = SortKey::Total;
         }},
        {"ends こ, three kana, without 子, any reading", "山田", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.commonOnly = false;
             f.yomi.suffix = Sjis("こ");
             f.yomi.length = 3;
             f.excluded = {Sjis("子")};
         }},
        {"two morae, 美 anywhere", "山田", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.yomi.morae = 2;
             f.required = {{Sjis("美"), 0}};
         }},
        {"holds ょう, three morae, any reading", "林", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.commonOnly = false;
             f.yomi.contains = Sjis("ょう");
             f.yomi.morae = 3;
         }},
        {"avoided kanji too, two characters", "山田", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.includeAvoided = true;
             f.chars = 2;
         }},
        {"any reading, read ゆい", "佐藤", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.commonOnly = false;
             f.yomi.exact = Sjis("ゆい");
         }},
        {"any reading, 三才 吉 or better", "山田", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.commonOnly = false;
             f.worstSansai = SansaiVerdict::Good;
         }},
        {"most name-like first, two morae", "佐藤", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.sort = SortKey::Common;
             f.yomi.morae = 2;
         }},
        {"girls, two characters, two morae", "山田", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.gender = GenderFilter::Female;
             f.chars = 2;
             f.yomi.morae = 2;
         }},
        {"boys, two characters, by 総運", "佐藤", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.gender = GenderFilter::Male;
             f.chars = 2;
             f.sort = SortKey::Total;
         }},
    };
    return cases;
}

// Every combination of the fixture kanji, read out and evaluated one by one
// and sorted by the documented order, against the pattern search: the same
// set, count, order, readings and pages.
// One test per filter set, so that each has the whole time limit (the
// sanitizer build reads the combinations some twenty times slower).
class AllNamesSpace : public ::testing::TestWithParam<std::size_t> {};

TEST_P(AllNamesSpace, EqualsEvaluatingEveryCombination) {
    const NameSearchData& data = FixtureData();
    const auto& kanji = data.Kanji();
    {
        const FilterCase& c = FilterCases().at(GetParam());
        SCOPED_TRACE(c.label);
        NameSearchFilters filters = Filters(c.surname, c.style, SearchSpace::All);
        c.set(filters);
        const std::string& surname = filters.surname;
        std::vector<Reference> expected;
        std::function<void(std::string, int)> combine = [&](std::string given, int left) {
            // Names of another length cannot pass (Passes); not read out.
            const bool length =
                filters.chars == 0 || given.size() / 2 == static_cast<std::size_t>(filters.chars);
            if (!given.empty() && length) {
                double likeness = 0;
                GenderLean lean = GenderLean::Neither;
                const bool shown =
                    !ShownReadings(given, data, filters.yomi, filters.commonOnly, &likeness, &lean)
                         .empty();
                bool everyKanjiRead = true;
                for (std::size_t k = 1; k <= given.size() / 2; ++k) {
                    everyKanjiRead = everyKanjiRead &&
                                     !PartsOf(data, Unit(given, k), filters.commonOnly).empty();
                }
                const bool read =
                    filters.yomi.Active() ? shown : !filters.commonOnly || everyKanjiRead;
                // A gender leaves out the names that lean the other way.
                const bool otherWay =
                    (filters.gender == GenderFilter::Female && lean == GenderLean::Boys) ||
                    (filters.gender == GenderFilter::Male && lean == GenderLean::Girls);
                if (read && !otherWay) {
                    Reference r = ReadName(surname, given, c.style);
                    r.likeness = likeness;
                    r.lean = lean;
                    if (Passes(r, filters)) expected.push_back(std::move(r));
                }
            }
            if (left == 0) return;
            for (const std::string& k : kanji) combine(given + k, left - 1);
        };
        combine("", 3);
        auto key = [&](const Reference& r) {
            std::array<int, 3> strokes{};
            for (int k = 1; k <= r.record.Lengths[GivenName]; ++k) {
                strokes[static_cast<std::size_t>(k - 1)] = r.record.Strokes[GivenName][k];
            }
            const bool common = filters.sort == SortKey::Common;
            return std::make_tuple(common ? -r.likeness : 0.0, SortValue(r, filters), -r.score,
                                   r.grades[Total], ReadSansai(r.record).verdict,
                                   ReadInyo(r.record).verdict, -r.likeness,
                                   r.record.Lengths[GivenName], strokes, r.given);
        };
        std::sort(expected.begin(), expected.end(),
                  [&](const Reference& a, const Reference& b) { return key(a) < key(b); });

        EXPECT_FALSE(expected.empty());
        std::uint64_t count = 0;
        const auto found =
            AllPages(filters, data, &count, filters.yomi.Active() ? 7 : MaxSearchLimit);
        EXPECT_EQ(count, expected.size());
        ASSERT_EQ(found.size(), expected.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            ASSERT_EQ(Utf8(found[i].given), Utf8(expected[i].given)) << "at " << i;
            EXPECT_EQ(found[i].record.Fortunes, expected[i].record.Fortunes);
            EXPECT_EQ(found[i].score, expected[i].score);
            EXPECT_EQ(found[i].sansai.verdict, ReadSansai(expected[i].record).verdict);
            EXPECT_EQ(found[i].inyo.oddMask, ReadInyo(expected[i].record).oddMask);
            EXPECT_TRUE(found[i].registrable);
            EXPECT_EQ(found[i].avoided.empty(), !HoldsAvoided(found[i].given));
            EXPECT_EQ(found[i].gender, NameGender::None);
            EXPECT_EQ(found[i].lean, expected[i].lean) << Utf8(found[i].given);
            if (filters.yomi.Active() || i % 97 == 0) {
                const auto shown =
                    ShownReadings(found[i].given, data, filters.yomi, filters.commonOnly);
                EXPECT_EQ(found[i].yomis, shown) << Utf8(found[i].given);
                EXPECT_EQ(found[i].yomi, shown.empty() ? "" : shown.front());
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FilterSets, AllNamesSpace,
                         ::testing::Range(std::size_t{0}, FilterCases().size()));

// The gender a name is listed with: its tag, or for a name with no gender
// given the way its yomi's parts lean, if they do.
NameGender ListedGender(const GivenNameView& entry, const NameSearchData& data) {
    if (entry.gender != G) return entry.gender;
    const YomiCheck check = CheckYomi(entry.written, entry.yomi, data);
    switch (LeanOf(check.girls, check.boys, data.Likeness().Balance())) {
        case GenderLean::Girls:
            return F;
        case GenderLean::Boys:
            return M;
        case GenderLean::Neither:
            break;
    }
    return G;
}

// Whom a gender filter lists, written out: the names of that gender or
// both, and of the names with no gender given those listed with it, or all
// with includeUnspecified.
bool GenderPasses(NameGender tagged, NameGender listed, const NameSearchFilters& filters) {
    if (filters.gender == GenderFilter::Any) return true;
    const NameGender asked = filters.gender == GenderFilter::Female ? F : M;
    if (tagged == G) return listed == asked || filters.includeUnspecified;
    return tagged == asked || tagged == FM;
}

bool InFixtureList(const std::string& written, const NameSearchData& data) {
    for (std::size_t k = 1; k <= written.size() / 2; ++k) {
        const std::string unit(Unit(written, k));
        const bool kana = Utf8(unit) == "々" || Utf8(unit) == "ー" ||
                          (unit >= Sjis("ぁ") && unit <= Sjis("ん")) ||
                          (unit >= Sjis("ァ") && unit <= Sjis("ヶ"));
        if (!kana && !std::binary_search(data.Kanji().begin(), data.Kanji().end(), unit)) {
            return false;
        }
    }
    return true;
}

// The names space on the fixture names: the same set, count and order as
// reading every name (score, 総運's grade, reading, written form).
TEST(NameSearch, NamesSpaceEqualsReadingEveryName) {
    const NameSearchData& data = FixtureData();
    std::vector<FilterCase> cases = FilterCases();
    cases.push_back({"girls, by name", "山田", StrokeStyle::Shinji, [](NameSearchFilters& f) {
                         f.gender = GenderFilter::Female;
                         f.sort = SortKey::Name;
                     }});
    cases.push_back({"boys and unspecified, unregistrable, by reading backwards", "山田",
                     StrokeStyle::Shinji, [](NameSearchFilters& f) {
                         f.gender = GenderFilter::Male;
                         f.includeUnspecified = true;
                         f.includeUnregistrable = true;
                         f.sort = SortKey::Yomi;
                         f.reversed = true;
                     }});
    cases.push_back({"girls read ゆい", "佐藤", StrokeStyle::Shinji, [](NameSearchFilters& f) {
                         f.gender = GenderFilter::Female;
                         f.yomi.exact = Sjis("ゆい");
                     }});
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.label);
        NameSearchFilters filters = Filters(c.surname, c.style, SearchSpace::Names);
        c.set(filters);
        std::vector<std::pair<Reference, GivenNameView>> expected;
        for (std::size_t i = 0; i < data.NameCount(); ++i) {
            const GivenNameView entry = data.Name(i);
            const std::string written(entry.written);
            if (!GenderPasses(entry.gender, ListedGender(entry, data), filters)) continue;
            if (!filters.includeUnregistrable && !InFixtureList(written, data)) continue;
            if (!ReadingPasses(std::string(entry.yomi), filters.yomi)) continue;
            Reference r = ReadName(filters.surname, written, c.style);
            r.likeness = CheckYomi(entry.written, entry.yomi, data).likeness;
            if (Passes(r, filters)) expected.emplace_back(std::move(r), entry);
        }
        // By name: the written form, then the reading; by reading: the
        // reading, then the written form; most name-like: the likeness, then
        // the default; otherwise the key, then the default (score, 総運,
        // 三才, 陰陽, and the likeness only in the default order itself).
        auto key = [&](const std::pair<Reference, GivenNameView>& e) {
            const Reference& r = e.first;
            const bool byText = filters.sort == SortKey::Name || filters.sort == SortKey::Yomi;
            const bool common = filters.sort == SortKey::Common;
            const bool byDefault = filters.sort == SortKey::Score;
            std::string primary;
            if (filters.sort == SortKey::Name) primary = std::string(e.second.written);
            const int sansai = byText ? 0 : static_cast<int>(ReadSansai(r.record).verdict);
            const int inyo = byText ? 0 : static_cast<int>(ReadInyo(r.record).verdict);
            return std::make_tuple(
                primary, common ? -r.likeness : 0.0, byText ? 0 : SortValue(r, filters),
                byText ? 0 : -r.score, byText ? 0 : r.grades[Total], sansai, inyo,
                byDefault ? -r.likeness : 0.0, GojuonKey(e.second.yomi), e.second.written);
        };
        std::stable_sort(expected.begin(), expected.end(),
                         [&](const auto& a, const auto& b) { return key(a) < key(b); });
        if (filters.reversed && filters.sort == SortKey::Yomi) {
            std::reverse(expected.begin(), expected.end());
        }
        std::uint64_t count = 0;
        const auto found = AllPages(filters, data, &count, 3);
        EXPECT_EQ(count, expected.size());
        ASSERT_EQ(found.size(), expected.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            const auto& [r, entry] = expected[i];
            EXPECT_EQ(Utf8(found[i].given), Utf8(r.given)) << "at " << i;
            EXPECT_EQ(found[i].yomi, entry.yomi);
            EXPECT_EQ(found[i].yomis, std::vector<std::string>{found[i].yomi});
            EXPECT_EQ(found[i].gender, ListedGender(entry, data));
            EXPECT_EQ(found[i].genderInferred, found[i].gender != entry.gender);
            EXPECT_EQ(found[i].record.Fortunes, r.record.Fortunes);
            EXPECT_EQ(found[i].registrable, InFixtureList(r.given, data));
            EXPECT_EQ(found[i].unregistrable.empty(), found[i].registrable);
            EXPECT_EQ(found[i].avoided.empty(), !HoldsAvoided(r.given));
        }
    }
}

// On the real data every candidate of a large page is exactly its reading.
TEST(NameSearch, EveryCandidateOfARealSampleEqualsItsReading) {
    struct Sample {
        const char* surname;
        StrokeStyle style;
        SearchSpace space;
        std::uint64_t page;
    };
    for (const Sample& s : {Sample{"山田", StrokeStyle::Shinji, SearchSpace::Names, 1},
                            Sample{"佐々木", StrokeStyle::Honji, SearchSpace::Names, 37},
                            Sample{"渡辺", StrokeStyle::Honji, SearchSpace::All, 5000}}) {
        SCOPED_TRACE(s.surname);
        NameSearchFilters filters = Filters(s.surname, s.style, s.space);
        filters.limit = 1000;
        filters.page = s.page;
        const NameSearchResult result =
            SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
        ASSERT_EQ(result.candidates.size(), 1000u);
        for (const NameCandidate& candidate : result.candidates) {
            const Reference r = ReadName(filters.surname, candidate.given, s.style, true);
            ASSERT_TRUE(r.accepted) << Utf8(candidate.given);
            EXPECT_EQ(candidate.record.Strokes, r.record.Strokes) << Utf8(candidate.given);
            EXPECT_EQ(candidate.record.Fortunes, r.record.Fortunes) << Utf8(candidate.given);
            EXPECT_EQ(candidate.score, r.score);
            for (int kind = 0; kind < FortuneCount; ++kind) {
                const auto k = static_cast<std::size_t>(kind);
                EXPECT_EQ(candidate.keywords[k].word,
                          LookupKeyword(BuiltInTables(), r.record.Fortunes[k]).word);
            }
        }
    }
}

TEST(NameSearch, RealRowsKeepTheirFourGenderTags) {
    const NameSearchData& data = BuiltInNameSearchData();
    const std::vector<std::tuple<const char*, const char*, NameGender>> rows = {
        {"千紘", "ちひろ", FM},
        {"悠人", "ゆうと", FM},
        {"悠人", "はると", G},
        {"結衣", "ゆい", F},
        {"翔太", "しょうた", M}};
    for (const auto& [written, reading, gender] : rows) {
        bool found = false;
        for (std::size_t i = 0; i < data.NameCount() && !found; ++i) {
            const GivenNameView entry = data.Name(i);
            if (entry.written != Sjis(written) || entry.yomi != Sjis(reading)) continue;
            found = true;
            EXPECT_EQ(entry.gender, gender) << written;
        }
        EXPECT_TRUE(found) << written;
    }
}

// The list of data/name-kanji.txt and the kana and marks, read here on their own.
bool RegistrableByTheList(const std::string& given) {
    static const std::string list = [] {
        std::ifstream file(SOTEN_SOURCE_DIR "/data/name-kanji.txt");
        std::string line;
        std::getline(file, line);
        return Sjis(line +
                    "ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてで"
                    "とどなにぬねのはばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろゎ"
                    "わゐゑをんァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂ"
                    "ッツヅテデトドナニヌネノハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラ"
                    "リルレロヮワヰヱヲンヴヵヶー々ゝゞヽヾ");
    }();
    for (std::size_t k = 1; k <= given.size() / 2; ++k) {
        bool listed = false;
        for (std::size_t i = 0; i + 1 < list.size() && !listed; i += 2) {
            listed = list.compare(i, 2, Unit(given, k)) == 0;
        }
        if (!listed) return false;
    }
    return given.size() % 2 == 0;
}

TEST(NameSearch, CandidatesOfARandomSampleAreRegistrableByTheList) {
    std::mt19937 random(17);
    for (const SearchSpace space : {SearchSpace::Names, SearchSpace::All}) {
        NameSearchFilters filters = Filters("山田", StrokeStyle::Shinji, space);
        filters.limit = 500;
        const std::uint64_t count =
            SearchNames(filters, BuiltInTables(), BuiltInNameSearchData()).count;
        // Default: only registrable names; with the check box the others too.
        for (const bool include : {false, true}) {
            filters.includeUnregistrable = include;
            int refused = 0;
            for (int draw = 0; draw < 4; ++draw) {
                filters.page = 1 + random() % (count / 500);
                const auto result = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
                for (const NameCandidate& c : result.candidates) {
                    ASSERT_EQ(c.registrable, RegistrableByTheList(c.given)) << Utf8(c.given);
                    EXPECT_TRUE(include || c.registrable);
                    for (const std::string& u : c.unregistrable) {
                        EXPECT_FALSE(RegistrableByTheList(u));
                        EXPECT_NE(c.given.find(u), std::string::npos);
                    }
                    refused += c.registrable ? 0 : 1;
                }
            }
            if (include && space == SearchSpace::Names) {
                EXPECT_GT(refused, 0);
            }
        }
    }
}

// A parent types ゆい: the real girls' names, and every spelling composed.
TEST(NameSearch, YuiInBothSpacesListsRegistrableNamesReadYui) {
    NameSearchFilters filters = Filters("佐藤", StrokeStyle::Shinji, SearchSpace::Names);
    filters.yomi.exact = Sjis("ゆい");
    filters.gender = GenderFilter::Female;
    std::uint64_t count = 0;
    std::set<std::string> names;
    for (const NameCandidate& c : AllPages(filters, BuiltInNameSearchData(), &count)) {
        EXPECT_EQ(Utf8(c.yomi), "ゆい");
        EXPECT_TRUE(c.gender == F || c.gender == FM) << Utf8(c.given);
        names.insert(Utf8(c.given));
    }
    for (const char* name : {"結衣", "唯", "ゆい", "由衣", "優衣", "ユイ"}) {
        EXPECT_EQ(names.count(name), 1u) << name;
    }

    filters.space = SearchSpace::All;
    filters.gender = GenderFilter::Any;
    names.clear();
    const auto all = AllPages(filters, BuiltInNameSearchData(), &count);
    EXPECT_EQ(all.size(), count);
    EXPECT_GT(count, 100u);
    for (const NameCandidate& c : all) {
        EXPECT_EQ(Utf8(c.yomi), "ゆい");
        EXPECT_EQ(c.yomis, std::vector<std::string>{c.yomi});
        names.insert(Utf8(c.given));
    }
    for (const char* name : {"結衣", "由衣", "唯衣", "優衣", "唯", "結"}) {
        EXPECT_EQ(names.count(name), 1u) << name;
    }
}

TEST(NameSearch, NamesSpaceFiltersKeepOnlyWhatTheyAskFor) {
    struct Case {
        const char* label;
        std::function<void(NameSearchFilters&)> set;
        std::function<bool(const NameCandidate&)> holds;
    };
    const std::vector<Case> cases = {
        {"girls", [](NameSearchFilters& f) { f.gender = GenderFilter::Female; },
         [](const NameCandidate& c) {
             return c.gender == NameGender::Female || c.gender == NameGender::Both;
         }},
        {"boys", [](NameSearchFilters& f) { f.gender = GenderFilter::Male; },
         [](const NameCandidate& c) {
             return c.gender == NameGender::Male || c.gender == NameGender::Both;
         }},
        {"katakana prefix ミ", [](NameSearchFilters& f) { f.yomi.prefix = Sjis("ミ"); },
         [](const NameCandidate& c) { return c.yomi.starts_with(Sjis("み")); }},
        {"contains き, 3 kana",
         [](NameSearchFilters& f) {
             f.yomi.contains = Sjis("き");
             f.yomi.length = 3;
         },
         [](const NameCandidate& c) {
             return c.yomi.find(Sjis("き")) != std::string::npos && CountCharacters(c.yomi) == 3;
         }},
        {"one character", [](NameSearchFilters& f) { f.chars = 1; },
         [](const NameCandidate& c) { return c.record.Lengths[GivenName] == 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        NameSearchFilters filters = Filters("山田", StrokeStyle::Shinji, SearchSpace::Names);
        c.set(filters);
        filters.limit = 2000;
        const NameSearchResult result =
            SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
        EXPECT_GT(result.count, 100u);
        EXPECT_LT(result.count, BuiltInNameSearchData().NameCount());
        for (const NameCandidate& candidate : result.candidates) {
            EXPECT_TRUE(c.holds(candidate)) << Utf8(candidate.given);
        }
    }
}

TEST(NameSearch, PagesFollowEachOtherWithoutDuplicatesOrGaps) {
    for (const SearchSpace space : {SearchSpace::Names, SearchSpace::All}) {
        NameSearchFilters filters = Filters("山田", StrokeStyle::Shinji, space);
        filters.required = {{Sjis("美"), 0}};
        filters.limit = 300;
        const auto whole = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
        ASSERT_EQ(whole.candidates.size(), 300u);
        filters.limit = 7;
        std::vector<std::string> paged;
        for (filters.page = 1; paged.size() < 300; ++filters.page) {
            const auto page = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
            EXPECT_EQ(page.count, whole.count);
            for (const auto& candidate : page.candidates)
                paged.push_back(candidate.given + candidate.yomi);
        }
        paged.resize(300);
        for (std::size_t i = 0; i < 300; ++i) {
            EXPECT_EQ(paged[i], whole.candidates[i].given + whole.candidates[i].yomi);
        }
        EXPECT_EQ(std::set<std::string>(paged.begin(), paged.end()).size(), 300u);
    }
}

TEST(NameSearch, RefusesSurnamesWithTheProgramsMessage) {
    using Reason = Refusal::Reason;
    for (const auto& [surname, reason] : std::vector<std::pair<std::string, Reason>>{
             {"ab", Reason::UncountableCharacters},
             {Sjis("山田　"), Reason::UncountableCharacters},
             {Sjis("一二三四五六七八九十一"), Reason::TooManyCharacters}}) {
        NameSearchFilters filters;
        filters.surname = surname;
        const auto result = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
        ASSERT_TRUE(result.refusal.has_value()) << Utf8(surname);
        EXPECT_EQ(result.refusal->reason, reason);
        EXPECT_EQ(result.count, 0u);
    }
}

TEST(NameSearch, ContradictoryFiltersSayWhyAndFindNothing) {
    const std::vector<std::pair<const char*, std::function<void(NameSearchFilters&)>>> cases = {
        {"no surname", [](NameSearchFilters& f) { f.surname.clear(); }},
        {"gender over too many names in all names",
         [](NameSearchFilters& f) {
             f.space = SearchSpace::All;
             f.gender = GenderFilter::Female;
         }},
        {"four characters in all names",
         [](NameSearchFilters& f) {
             f.space = SearchSpace::All;
             f.chars = 4;
         }},
        {"kanji outside the list",
         [](NameSearchFilters& f) {
             f.space = SearchSpace::All;
             f.required = {{Sjis("嘘"), 0}};
         }},
        {"two characters at one position",
         [](NameSearchFilters& f) {
             f.required = {{Sjis("大"), 1}, {Sjis("翔"), 1}};
         }},
        {"position beyond the length",
         [](NameSearchFilters& f) {
             f.chars = 2;
             f.required = {{Sjis("大"), 3}};
         }},
        {"reading not kana", [](NameSearchFilters& f) { f.yomi.suffix = Sjis("大"); }},
        {"two kana that start with ゆうき",
         [](NameSearchFilters& f) {
             f.yomi.length = 2;
             f.yomi.prefix = Sjis("ゆうき");
         }},
        {"two morae read ゆうき",
         [](NameSearchFilters& f) {
             f.space = SearchSpace::All;
             f.yomi.morae = 2;
             f.yomi.exact = Sjis("ゆうき");
         }},
        {"read ゆい, starting with ま",
         [](NameSearchFilters& f) {
             f.yomi.exact = Sjis("ゆい");
             f.yomi.prefix = Sjis("ま");
         }},
        {"one character holding 大 and 翔",
         [](NameSearchFilters& f) {
             f.chars = 1;
             f.required = {{Sjis("大"), 0}, {Sjis("翔"), 0}};
         }},
        {"大 both asked for and left out",
         [](NameSearchFilters& f) {
             f.required = {{Sjis("大"), 0}};
             f.excluded = {Sjis("大")};
         }},
        {"an avoided kanji required, avoided names left out",
         [](NameSearchFilters& f) {
             f.space = SearchSpace::All;
             f.required = {{Sjis("悪"), 0}};
         }},
        {"score above 12", [](NameSearchFilters& f) { f.minScore = 13; }},
        {"too long with the surname",
         [](NameSearchFilters& f) {
             f.surname = Sjis("一二三四五六七八九十");
             f.chars = 3;
         }},
    };
    for (const auto& [label, set] : cases) {
        NameSearchFilters filters = Filters("山田", StrokeStyle::Shinji, SearchSpace::Names);
        set(filters);
        const auto result = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
        EXPECT_FALSE(result.problem.empty()) << label;
        EXPECT_EQ(result.count, 0u) << label;
        EXPECT_TRUE(result.candidates.empty()) << label;
    }
}

// Five kanji whose parts lean as the counts of girls' and boys' names say:
// 陽 ひ and 葵 まり to girls, 陽 はる and 翔 と to boys, 春 はる and 人 と to
// neither; and names read with them, one of them tagged.
const NameSearchData& LeaningData() {
    static const NameSearchData data = [] {
        std::vector<NameKanji> kanji;
        for (const auto& [character, yomi] : std::vector<std::pair<const char*, const char*>>{
                 {"人", "と"}, {"春", "はる"}, {"翔", "と"}, {"葵", "まり"}, {"陽", "ひ"}}) {
            kanji.push_back({Sjis(character), {{Sjis(yomi), YomiKind::Nanori}}});
        }
        kanji[4].yomi.push_back({Sjis("はる"), YomiKind::Nanori});
        std::sort(kanji.begin(), kanji.end(),
                  [](const NameKanji& a, const NameKanji& b) { return a.kanji < b.kanji; });
        const std::string likeness = Sjis(
            "陽\tひ\ts\t10\t0\t0\t0\t9\t1\n陽\tはる\ts\t10\t0\t0\t0\t2\t8\n"
            "葵\tまり\tc\t0\t0\t10\t0\t10\t0\n翔\tと\ts\t0\t0\t10\t0\t1\t9\n"
            "人\tと\ts\t0\t0\t10\t0\t3\t3\n春\tはる\ts\t10\t0\t0\t0\t5\t5\n");
        std::vector<GivenNameEntry> names;
        for (const auto& [written, yomi, gender] :
             std::vector<std::tuple<const char*, const char*, NameGender>>{{"陽翔", "はると", G},
                                                                           {"春人", "はると", G},
                                                                           {"春翔", "はると", M},
                                                                           {"陽葵", "ひまり", G}}) {
            names.push_back({Sjis(written), Sjis(yomi), gender});
        }
        return NameSearchData(std::move(names), std::move(kanji), likeness);
    }();
    return data;
}

// In the all-kanji space a gender leaves out the spellings whose yomi's
// parts lean the other way; those leaning to neither stay.
TEST(NameSearch, GenderInAllKanjiLeavesOutNamesLeaningTheOtherWay) {
    const struct {
        const char* yomi;
        GenderFilter gender;
        const char* given;
        bool listed;
    } cases[] = {
        {"ひまり", GenderFilter::Female, "陽葵", true},
        {"ひまり", GenderFilter::Male, "陽葵", false},
        {"はると", GenderFilter::Male, "陽翔", true},
        {"はると", GenderFilter::Female, "陽翔", false},
        {"はると", GenderFilter::Female, "春人", true},
        {"はると", GenderFilter::Male, "春人", true},
        {"はると", GenderFilter::Female, "春翔", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.yomi) + " " + c.given);
        NameSearchFilters filters = Filters("山田", StrokeStyle::Shinji, SearchSpace::All);
        filters.yomi.exact = Sjis(c.yomi);
        filters.gender = c.gender;
        const auto result = SearchNames(filters, BuiltInTables(), LeaningData());
        ASSERT_TRUE(result.problem.empty()) << Utf8(result.problem);
        EXPECT_EQ(result.count, result.candidates.size());
        bool found = false;
        for (const NameCandidate& candidate : result.candidates) {
            found = found || Utf8(candidate.given) == c.given;
        }
        EXPECT_EQ(found, c.listed);
    }
}

// A name with no gender given whose parts lean to boys comes with 男性,
// marked as inferred; one leaning to neither only with includeUnspecified.
TEST(NameSearch, UntaggedNamesLeaningToTheGenderAreListedAsInferred) {
    NameSearchFilters filters = Filters("山田", StrokeStyle::Shinji, SearchSpace::Names);
    filters.yomi.exact = Sjis("はると");
    filters.gender = GenderFilter::Male;
    auto listed = [&] {
        std::vector<std::string> shown;
        for (const NameCandidate& c :
             SearchNames(filters, BuiltInTables(), LeaningData()).candidates) {
            shown.push_back(Utf8(c.given) + " " + Utf8(CandidateGenderLabel(c)));
        }
        std::sort(shown.begin(), shown.end());
        return shown;
    };
    EXPECT_EQ(listed(), (std::vector<std::string>{"春翔 男性", "陽翔 男性（推定）"}));
    filters.includeUnspecified = true;
    EXPECT_EQ(listed(), (std::vector<std::string>{"春人 不明", "春翔 男性", "陽翔 男性（推定）"}));
    filters.gender = GenderFilter::Female;
    filters.includeUnspecified = false;
    EXPECT_TRUE(listed().empty());
}

TEST(NameSearch, CapsTheLimitAndAnswersPagesBeyondTheEnd) {
    NameSearchFilters filters = Filters("山田", StrokeStyle::Shinji, SearchSpace::All);
    filters.limit = 50000;
    auto result = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
    EXPECT_EQ(result.limit, MaxSearchLimit);
    EXPECT_EQ(result.candidates.size(), static_cast<std::size_t>(MaxSearchLimit));
    EXPECT_EQ(result.notes.size(), 1u);
    const std::uint64_t count = result.count;
    EXPECT_GT(count, 1'000'000'000u);  // billions of names, counted, never listed

    filters.limit = 100;
    filters.page = count / 100 + 2;
    result = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
    EXPECT_EQ(result.count, count);
    EXPECT_TRUE(result.candidates.empty());
    filters.page = std::numeric_limits<std::uint64_t>::max();
    EXPECT_TRUE(SearchNames(filters, BuiltInTables(), BuiltInNameSearchData()).candidates.empty());
    filters.page = count / 100 + 1;  // the last page holds the rest
    result = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
    EXPECT_EQ(result.candidates.size(), count % 100 == 0 ? 100u : count % 100);
}

TEST(NameSearch, ToHiraganaMapsKatakanaOnly) {
    EXPECT_EQ(Utf8(ToHiragana(Sjis("ミサキ・ヴァン大ーン"))), "みさき・ヴぁん大ーん");
}

}  // namespace
}  // namespace soten
