#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <set>
#include <tuple>

#include "FixtureTables.h"
#include "Fortunes.h"
#include "HeadlessReading.h"
#include "KanaCollation.h"
#include "NameSearch.h"
#include "NewReading.h"
#include "ShiftJis.h"

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
};

// `full`: the whole reading (report and all); otherwise only the steps that
// make the numbers, for the brute-force runs over many thousand names.
Reference ReadName(const std::string& surname, const std::string& given, StrokeStyle style,
                   bool full = false) {
    ProgramState state;
    state.strokeStyle = style;
    Reference reference;
    reference.given = given;
    if (full) {
        if (ReadHeadless(state, BuiltInTables(), {surname, given})) return reference;
        reference.record = state.shown.record;
    } else {
        ReadNames(state.record, surname, given);
        if (CheckNames(state, BuiltInTables())) return reference;
        ComputeFortunes(state.record);
        reference.record = state.record;
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

// The filters' meaning written out plainly, name by name.
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
    return true;
}

// Every result of a search, page after page.
std::vector<NameCandidate> AllPages(NameSearchFilters filters, const NameSearchData& data,
                                    std::uint64_t* count = nullptr) {
    filters.limit = MaxSearchLimit;
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

// ~50 name kanji spread over the real list, and a handful of given names.
const NameSearchData& FixtureData() {
    static const NameSearchData data = [] {
        const auto& kanji = BuiltInNameSearchData().Kanji();
        std::vector<std::string> some;
        for (std::size_t i = 0; i < kanji.size(); i += kanji.size() / 50) some.push_back(kanji[i]);
        for (const char* extra : {"翔", "大", "子", "美"}) some.push_back(Sjis(extra));
        std::vector<GivenNameEntry> names;
        for (const auto& [written, reading, gender] :
             std::vector<std::tuple<const char*, const char*, char>>{
                 {"美咲", "みさき", 'f'},
                 {"ミサキ", "みさき", 'f'},
                 {"翔太", "しょうた", 'm'},
                 {"大翔", "ひろと", 'm'},
                 {"菜々子", "ななこ", 'f'},
                 {"々子", "ここ", 'f'},
                 {"あおい", "あおい", 'g'},
                 {"葵", "あおい", 'g'},
                 {"大", "だい", 'm'},
                 {"彩", "あや", 'f'},
                 {"優子", "ゆうこ", 'f'},
                 {"一二三四五六七八九十", "かず", 'm'}}) {
            names.push_back({Sjis(written), Sjis(reading), gender});
        }
        return NameSearchData(std::move(names), std::move(some));
    }();
    return data;
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
        {"contains 翔", "佐々木", StrokeStyle::Honji,
         [](NameSearchFilters& f) {
             f.required = {{Sjis("翔"), 0}};
         }},
        {"大 first, 翔 anywhere, score 8", "林", StrokeStyle::Shinji,
         [](NameSearchFilters& f) {
             f.required = {{Sjis("大"), 1}, {Sjis("翔"), 0}};
             f.minScore = 8;
         }},
        {"two characters, 子 second, 人運 ○", "渡辺", StrokeStyle::Honji,
         [](NameSearchFilters& f) {
             f.chars = 2;
             f.required = {{Sjis("子"), 2}};
             f.worstGrade[Person] = 2;
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
    };
    return cases;
}

// Every combination of the fixture kanji, evaluated one by one and sorted by
// the documented order, against the pattern search.
TEST(NameSearch, AllNamesSpaceEqualsEvaluatingEveryCombination) {
    const NameSearchData& data = FixtureData();
    const auto& kanji = data.Kanji();
    for (const FilterCase& c : FilterCases()) {
        SCOPED_TRACE(c.label);
        NameSearchFilters filters = Filters(c.surname, c.style, SearchSpace::All);
        c.set(filters);
        const std::string& surname = filters.surname;
        std::vector<Reference> expected;
        std::function<void(std::string, int)> combine = [&](std::string given, int left) {
            if (!given.empty()) {
                Reference r = ReadName(surname, given, c.style);
                if (Passes(r, filters)) expected.push_back(std::move(r));
            }
            if (left == 0) return;
            for (const std::string& k : kanji) combine(given + k, left - 1);
        };
        combine("", 3);
        auto key = [](const Reference& r) {
            std::array<int, 3> strokes{};
            for (int k = 1; k <= r.record.Lengths[GivenName]; ++k) {
                strokes[static_cast<std::size_t>(k - 1)] = r.record.Strokes[GivenName][k];
            }
            return std::make_tuple(-r.score, r.grades[Total], r.record.Lengths[GivenName], strokes,
                                   r.given);
        };
        std::sort(expected.begin(), expected.end(),
                  [&](const Reference& a, const Reference& b) { return key(a) < key(b); });

        EXPECT_FALSE(expected.empty());
        std::uint64_t count = 0;
        const auto found = AllPages(filters, data, &count);
        EXPECT_EQ(count, expected.size());
        ASSERT_EQ(found.size(), expected.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            ASSERT_EQ(Utf8(found[i].given), Utf8(expected[i].given)) << "at " << i;
            EXPECT_EQ(found[i].record.Fortunes, expected[i].record.Fortunes);
            EXPECT_EQ(found[i].score, expected[i].score);
            EXPECT_EQ(found[i].sansai.verdict, ReadSansai(expected[i].record).verdict);
            EXPECT_EQ(found[i].inyo.oddMask, ReadInyo(expected[i].record).oddMask);
        }
    }
}

// The names space on the fixture names: the same set, count and order as
// reading every name (score, 総運's grade, reading, written form).
TEST(NameSearch, NamesSpaceEqualsReadingEveryName) {
    const NameSearchData& data = FixtureData();
    for (const FilterCase& c : FilterCases()) {
        SCOPED_TRACE(c.label);
        NameSearchFilters filters = Filters(c.surname, c.style, SearchSpace::Names);
        c.set(filters);
        std::vector<std::pair<Reference, GivenNameView>> expected;
        for (std::size_t i = 0; i < data.NameCount(); ++i) {
            const GivenNameView entry = data.Name(i);
            Reference r = ReadName(filters.surname, std::string(entry.written), c.style);
            if (Passes(r, filters)) expected.emplace_back(std::move(r), entry);
        }
        std::stable_sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
            return std::make_tuple(-a.first.score, a.first.grades[Total],
                                   GojuonKey(a.second.reading), a.second.written) <
                   std::make_tuple(-b.first.score, b.first.grades[Total],
                                   GojuonKey(b.second.reading), b.second.written);
        });
        const auto found = AllPages(filters, data);
        ASSERT_EQ(found.size(), expected.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(Utf8(found[i].given), Utf8(expected[i].first.given));
            EXPECT_EQ(found[i].reading, expected[i].second.reading);
            EXPECT_EQ(found[i].record.Fortunes, expected[i].first.record.Fortunes);
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

TEST(NameSearch, NamesSpaceFiltersKeepOnlyWhatTheyAskFor) {
    struct Case {
        const char* label;
        std::function<void(NameSearchFilters&)> set;
        std::function<bool(const NameCandidate&)> holds;
    };
    const std::vector<Case> cases = {
        {"girls", [](NameSearchFilters& f) { f.gender = GenderFilter::Female; },
         [](const NameCandidate& c) { return c.gender == 'f'; }},
        {"boys", [](NameSearchFilters& f) { f.gender = GenderFilter::Male; },
         [](const NameCandidate& c) { return c.gender == 'm'; }},
        {"katakana prefix ミ", [](NameSearchFilters& f) { f.reading = Sjis("ミ"); },
         [](const NameCandidate& c) { return c.reading.starts_with(Sjis("み")); }},
        {"contains き, 3 kana",
         [](NameSearchFilters& f) {
             f.reading = Sjis("き");
             f.readingMatch = ReadingMatch::Contains;
             f.readingLength = 3;
         },
         [](const NameCandidate& c) {
             return c.reading.find(Sjis("き")) != std::string::npos &&
                    CountCharacters(c.reading) == 3;
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
                paged.push_back(candidate.given + candidate.reading);
        }
        paged.resize(300);
        for (std::size_t i = 0; i < 300; ++i) {
            EXPECT_EQ(paged[i], whole.candidates[i].given + whole.candidates[i].reading);
        }
        EXPECT_EQ(std::set<std::string>(paged.begin(), paged.end()).size(), 300u);
    }
}

TEST(NameSearch, RefusesSurnamesWithTheProgramsMessage) {
    for (const auto& [surname, message] : std::vector<std::pair<std::string, std::string>>{
             {"ab", InvalidCharacterMessage()},
             {Sjis("山田　"), InvalidCharacterMessage()},
             {Sjis("一二三四五六七八九十一"), TooManyCharactersMessage()}}) {
        NameSearchFilters filters;
        filters.surname = surname;
        const auto result = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
        ASSERT_TRUE(result.refusal.has_value()) << Utf8(surname);
        EXPECT_EQ(*result.refusal, message);
        EXPECT_EQ(result.count, 0u);
    }
}

TEST(NameSearch, ContradictoryFiltersSayWhyAndFindNothing) {
    const std::vector<std::pair<const char*, std::function<void(NameSearchFilters&)>>> cases = {
        {"no surname", [](NameSearchFilters& f) { f.surname.clear(); }},
        {"gender in all names",
         [](NameSearchFilters& f) {
             f.space = SearchSpace::All;
             f.gender = GenderFilter::Female;
         }},
        {"reading in all names",
         [](NameSearchFilters& f) {
             f.space = SearchSpace::All;
             f.reading = Sjis("あ");
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
        {"reading not kana", [](NameSearchFilters& f) { f.reading = Sjis("大"); }},
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
