#include <gtest/gtest.h>

#include <random>

#include "analysis/naming/NameSearch.h"
#include "analysis/naming/YomiFilter.h"
#include "analysis/text/ShiftJis.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

const std::string& TooComplex() {
    static const std::string message = Sjis("読みの指定の組み合わせが複雑すぎて数えられません");
    return message;
}

// The yomi filters written out plainly.
bool Passes(const std::string& yomi, const YomiFilters& f) {
    return yomi.starts_with(f.prefix) && yomi.ends_with(f.suffix) &&
           yomi.find(f.contains) != std::string::npos &&
           (f.length == 0 || static_cast<int>(yomi.size() / 2) == f.length) &&
           (f.morae == 0 || CountMorae(yomi) == f.morae);
}

// Random yomi filters of a few kana, some asking for long yomi.
class RandomYomi {
public:
    // The texts use the first `kinds` kana of the pool.
    explicit RandomYomi(unsigned seed, int kinds = 10) : random_(seed), kinds_(kinds) {}

    YomiFilters Next(int longest) {
        YomiFilters f;
        for (std::string* text : {&f.prefix, &f.suffix, &f.contains}) {
            if (Coin()) *text = Text(Pick(1, 3));
        }
        if (Coin()) f.length = Coin() ? Pick(1, 8) : Pick(1, longest);
        if (Coin()) f.morae = Coin() ? Pick(1, 8) : Pick(1, longest);
        return f;
    }
    int Pick(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }
    bool Coin() { return Pick(0, 1) == 1; }
    std::string Text(int kana) {
        static const std::vector<std::string> pool = [] {
            std::vector<std::string> units;
            for (const char* k : {"き", "ゆ", "う", "ょ", "あ", "こ", "ん", "し", "ゃ", "ー"}) {
                units.push_back(Sjis(k));
            }
            return units;
        }();
        std::string text;
        for (int k = 0; k < kana; ++k) {
            text += pool[static_cast<std::size_t>(Pick(0, kinds_ - 1))];
        }
        return text;
    }

private:
    std::mt19937 random_;
    int kinds_;
};

// Whether the text-level check agrees with trying every text of up to five
// kana: the filters' own five kana, and ゃ and こ for any other (the filters
// ask for at most five kana).
TEST(YomiBound, ContradictionsAreTheFiltersNoTextMeets) {
    RandomYomi random(7, 5);
    std::vector<std::string> texts = {""};
    for (int kana = 1; kana <= 5; ++kana) {
        const std::size_t shorter = texts.size();
        for (std::size_t i = 0; i < shorter; ++i) {
            if (texts[i].size() / 2 + 1 != static_cast<std::size_t>(kana)) continue;
            for (const char* k : {"き", "ゆ", "う", "ょ", "あ", "ゃ", "こ"}) {
                texts.push_back(texts[i] + Sjis(k));
            }
        }
    }
    int contradictions = 0;
    for (int run = 0; run < 400; ++run) {
        YomiFilters f = random.Next(5);
        for (std::string* text : {&f.prefix, &f.suffix, &f.contains}) {
            if (text->size() > 4) text->resize(4);
        }
        f.length = f.length == 0 ? random.Pick(1, 5) : std::min(f.length, 5);
        f.morae = std::min(f.morae, f.length);
        const bool some = std::any_of(texts.begin(), texts.end(),
                                      [&](const std::string& t) { return Passes(t, f); });
        EXPECT_EQ(YomiMatcher(f).Satisfiable(), some)
            << Utf8(f.prefix) << " " << Utf8(f.suffix) << " " << Utf8(f.contains) << " " << f.length
            << " " << f.morae;
        contradictions += some ? 0 : 1;
    }
    EXPECT_GT(contradictions, 20);
}

TEST(YomiBound, ContradictionsNameTheFilters) {
    const std::vector<std::tuple<const char*, const char*, const char*, int, int, const char*>>
        cases = {
            {"ゆう", "き", "", 2, 0, "読みの長さと読みの指定が合いません"},
            {"ゆう", "うき", "", 3, 0, ""},
            {"", "", "きき", 0, 1, "音の数と読みの指定が合いません"},
            {"き", "", "ゃ", 0, 1, ""},
            {"ゃ", "ゅ", "", 3, 1, ""},
            {"き", "ゅ", "", 2, 2, "音の数と読みの指定が合いません"},
        };
    for (const auto& [prefix, suffix, contains, length, morae, message] : cases) {
        NameSearchFilters filters;
        filters.surname = Sjis("山田");
        filters.yomi = {"", Sjis(prefix), Sjis(suffix), Sjis(contains), length, morae};
        const auto result = SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
        EXPECT_EQ(Utf8(result.problem), message) << prefix << " " << suffix << " " << contains;
    }
}

NameSearchResult Count(YomiFilters yomi, SearchSpace space, int chars) {
    NameSearchFilters filters;
    filters.surname = Sjis("山田");
    filters.space = space;
    filters.chars = chars;
    filters.yomi = std::move(yomi);
    filters.limit = 5;
    return SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
}

// Random yomi filters in both spaces: each answers within MaxYomiWork or is
// refused (a contradiction or too complex); what answers lists only names
// that pass, and all names count as many as the names of each length.
class YomiFilterSample : public ::testing::TestWithParam<unsigned> {};

TEST_P(YomiFilterSample, AnswersWithinTheWorkCapOrRefuses) {
    RandomYomi random(GetParam());
    int tooComplex = 0;
    constexpr int Runs = 25;
    for (int run = 0; run < Runs; ++run) {
        const YomiFilters yomi = random.Next(MaxYomiKana);
        const auto space = random.Coin() ? SearchSpace::All : SearchSpace::Names;
        const int chars = random.Pick(0, 3);
        SCOPED_TRACE(testing::Message()
                     << Utf8(yomi.prefix) << " " << Utf8(yomi.suffix) << " " << Utf8(yomi.contains)
                     << " " << yomi.length << " " << yomi.morae << " chars " << chars
                     << (space == SearchSpace::All ? " all" : " names"));
        const NameSearchResult result = Count(yomi, space, chars);
        EXPECT_LE(result.yomiWork, MaxYomiWork);
        if (!result.problem.empty()) {
            EXPECT_EQ(result.count, 0u);
            EXPECT_TRUE(result.candidates.empty());
            tooComplex += result.problem == TooComplex() ? 1 : 0;
            continue;
        }
        for (const NameCandidate& candidate : result.candidates) {
            EXPECT_TRUE(Passes(candidate.yomi, yomi)) << Utf8(candidate.yomi);
        }
        if (space == SearchSpace::All && chars == 0) {
            std::uint64_t byLength = 0;
            for (int c = 1; c <= MaxAllSpaceChars; ++c) byLength += Count(yomi, space, c).count;
            EXPECT_EQ(result.count, byLength);
        }
    }
    EXPECT_LE(tooComplex, Runs / 10);
}

INSTANTIATE_TEST_SUITE_P(Seeds, YomiFilterSample, ::testing::Range(1u, 13u));

// Filters that once built millions of sets: answered, and with nothing to
// find when no name of three kanji can be read so long.
TEST(YomiBound, LongYomiOfThreeKanjiAnswerQuickly) {
    YomiFilters forty{"", "", "", Sjis("き"), 40, 40};
    const auto none = Count(forty, SearchSpace::All, 0);
    EXPECT_EQ(Utf8(none.problem), "");
    EXPECT_EQ(none.count, 0u);
    for (const int length : {8, 12, 20, 40}) {
        YomiFilters yomi{"", "", "", Sjis("き"), length, 0};
        const auto result = Count(yomi, SearchSpace::All, 0);
        EXPECT_EQ(Utf8(result.problem), "") << length;
        EXPECT_EQ(result.count == 0, length >= 20) << length;
    }
}

}  // namespace
}  // namespace soten
