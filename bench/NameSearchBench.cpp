#include <benchmark/benchmark.h>

#include "analysis/naming/NameSearch.h"
#include "analysis/text/ShiftJis.h"
#include "data/include/EmbeddedNameData.h"

namespace {

using soten::NameSearchFilters;

NameSearchFilters Yamada(soten::SearchSpace space) {
    NameSearchFilters filters;
    filters.surname = soten::Cp932Text("山田");
    filters.space = space;
    return filters;
}

void Run(benchmark::State& state, const NameSearchFilters& filters) {
    const auto& tables = soten::BuiltInTables();
    const auto& data = soten::BuiltInNameSearchData();
    soten::SearchNames(filters, tables, data);  // the data and its stroke patterns, once
    for (auto _ : state) {
        auto result = soten::SearchNames(filters, tables, data);
        benchmark::DoNotOptimize(result);
    }
}

// The first use: the embedded text converted and the given names counted.
void BM_LoadNameData(benchmark::State& state) {
    for (auto _ : state) {
        auto data = soten::NameSearchData::FromCp932(soten::embedded::GivenNamesCp932(),
                                                     soten::embedded::NameKanjiCp932(),
                                                     soten::embedded::KanjiReadingsCp932());
        benchmark::DoNotOptimize(
            data.Patterns(soten::StrokeStyle::Shinji, soten::BuiltInTables().dictionary));
    }
}
BENCHMARK(BM_LoadNameData)->Unit(benchmark::kMillisecond);

void BM_NamesSpaceWhole(benchmark::State& state) {
    Run(state, Yamada(soten::SearchSpace::Names));
}
BENCHMARK(BM_NamesSpaceWhole)->Unit(benchmark::kMillisecond);

void BM_NamesSpaceGirlsNoCross(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::Names);
    filters.gender = soten::GenderFilter::Female;
    filters.worstGrade = {4, 3, 3, 3, 3};
    Run(state, filters);
}
BENCHMARK(BM_NamesSpaceGirlsNoCross)->Unit(benchmark::kMillisecond);

// The first page for a gender: names with no gender given are listed by
// the lean of their yomi parts.
void BM_NamesSpaceGender(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::Names);
    filters.gender = state.range(0) == 0 ? soten::GenderFilter::Female : soten::GenderFilter::Male;
    Run(state, filters);
}
BENCHMARK(BM_NamesSpaceGender)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// よく使われる順: every name that passes is ordered by its name-likeness,
// for any gender, then for girls (each page of the names space, whatever
// the filters and order, should take at most 50 ms).
void BM_NamesSpaceByLikeness(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::Names);
    filters.sort = soten::SortKey::Common;
    if (state.range(0) == 1) filters.gender = soten::GenderFilter::Female;
    Run(state, filters);
}
BENCHMARK(BM_NamesSpaceByLikeness)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same for girls as a soten-cli process makes it: the data taken from
// the embedded text first, the names' stroke patterns counted with it.
void BM_NamesSpaceGirlsByLikenessFromFreshData(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::Names);
    filters.sort = soten::SortKey::Common;
    filters.gender = soten::GenderFilter::Female;
    const auto& tables = soten::BuiltInTables();
    for (auto _ : state) {
        const auto data = soten::NameSearchData::FromCp932(
            soten::embedded::GivenNamesCp932(), soten::embedded::NameKanjiCp932(),
            soten::embedded::KanjiReadingsCp932(), soten::embedded::NameLikenessCp932(),
            soten::embedded::KanjiFoldsCp932(), soten::embedded::GivenNameTraitsCp932());
        auto result = soten::SearchNames(filters, tables, data);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_NamesSpaceGirlsByLikenessFromFreshData)->Unit(benchmark::kMillisecond);

void BM_NamesSpaceReadYui(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::Names);
    filters.yomi.exact = soten::Cp932Text("ゆい");
    Run(state, filters);
}
BENCHMARK(BM_NamesSpaceReadYui)->Unit(benchmark::kMillisecond);

void BM_NamesSpaceReadingAndCharacter(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::Names);
    filters.yomi.prefix = soten::Cp932Text("ゆ");
    filters.required = {{soten::Cp932Text("美"), 0}};
    Run(state, filters);
}
BENCHMARK(BM_NamesSpaceReadingAndCharacter)->Unit(benchmark::kMillisecond);

// A filter of the numbers that keeps about as many names as the 三才配置 one
// below: what any filter costs over BM_NamesSpaceWhole.
void BM_NamesSpaceTotalGrade(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::Names);
    filters.worstGrade[soten::Total] = 2;
    Run(state, filters);
}
BENCHMARK(BM_NamesSpaceTotalGrade)->Unit(benchmark::kMillisecond);

// With the 三才配置 filter, then also the 陰陽配列 one: as fast as
// BM_NamesSpaceTotalGrade.
void BM_NamesSpaceSansai(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::Names);
    filters.worstSansai = soten::SansaiVerdict::Good;
    Run(state, filters);
}
BENCHMARK(BM_NamesSpaceSansai)->Unit(benchmark::kMillisecond);

void BM_NamesSpaceSansaiAndInyo(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::Names);
    filters.worstSansai = soten::SansaiVerdict::Good;
    filters.inyoOk = true;
    Run(state, filters);
}
BENCHMARK(BM_NamesSpaceSansaiAndInyo)->Unit(benchmark::kMillisecond);
// Every filter at once, and the whole result sorted by a column.
void BM_NamesSpaceEveryFilterSorted(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::Names);
    filters.gender = soten::GenderFilter::Female;
    filters.includeUnspecified = true;
    filters.includeUnregistrable = true;
    filters.yomi.prefix = soten::Cp932Text("ゆ");
    filters.yomi.contains = soten::Cp932Text("い");
    filters.yomi.suffix = soten::Cp932Text("い");
    filters.yomi.morae = 2;
    filters.excluded = {soten::Cp932Text("死")};
    filters.sort = soten::SortKey::Earth;
    Run(state, filters);
}
BENCHMARK(BM_NamesSpaceEveryFilterSorted)->Unit(benchmark::kMillisecond);

// The largest sort: every name by its written form.
void BM_NamesSpaceWholeByName(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::Names);
    filters.sort = soten::SortKey::Name;
    filters.page = 500;
    Run(state, filters);
}
BENCHMARK(BM_NamesSpaceWholeByName)->Unit(benchmark::kMillisecond);

// A parent's first try: 佐藤, every spelling read ゆい; the exact count and the
// first page, from a search made afresh.
void BM_AllNamesReadYui(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.surname = soten::Cp932Text("佐藤");
    filters.yomi.exact = soten::Cp932Text("ゆい");
    Run(state, filters);
}
BENCHMARK(BM_AllNamesReadYui)->Unit(benchmark::kMillisecond);

// 佐藤 + はると, two kanji, the most name-like first: every spelling of the
// parts real names use is weighed and sorted (the whole process should stay
// within 100 ms; this is the search alone).
void BM_AllNamesHarutoByLikeness(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.surname = soten::Cp932Text("佐藤");
    filters.yomi.exact = soten::Cp932Text("はると");
    filters.chars = 2;
    filters.sort = soten::SortKey::Common;
    Run(state, filters);
}
BENCHMARK(BM_AllNamesHarutoByLikeness)->Unit(benchmark::kMillisecond);

// The same search as a soten-cli process makes it: the data taken from the
// embedded text first, the likeness table with it (the target is 100 ms for
// the whole process).
void BM_AllNamesHarutoByLikenessFromFreshData(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.surname = soten::Cp932Text("佐藤");
    filters.yomi.exact = soten::Cp932Text("はると");
    filters.chars = 2;
    filters.sort = soten::SortKey::Common;
    const auto& tables = soten::BuiltInTables();
    for (auto _ : state) {
        const auto data = soten::NameSearchData::FromCp932(
            soten::embedded::GivenNamesCp932(), soten::embedded::NameKanjiCp932(),
            soten::embedded::KanjiReadingsCp932(), soten::embedded::NameLikenessCp932(),
            soten::embedded::KanjiFoldsCp932());
        auto result = soten::SearchNames(filters, tables, data);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_AllNamesHarutoByLikenessFromFreshData)->Unit(benchmark::kMillisecond);

// 山田 + ひまり for a girl: every one of the some 270,000 spellings is weighed
// for the lean of its parts (the search should stay within about a second).
void BM_AllNamesHimariForAGirl(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.yomi.exact = soten::Cp932Text("ひまり");
    filters.gender = soten::GenderFilter::Female;
    Run(state, filters);
}
BENCHMARK(BM_AllNamesHimariForAGirl)->Unit(benchmark::kMillisecond);

// The name-likeness table read from the embedded text; table_bytes is the
// memory of its part rows (the dictionary's and the recent names' counts
// must stay within 10 MB; they take well under one).
void BM_LoadNameLikeness(benchmark::State& state) {
    const auto& data = soten::BuiltInNameSearchData();
    std::size_t bytes = 0;
    for (auto _ : state) {
        soten::NameLikeness likeness(soten::embedded::NameLikenessCp932(), data.Kanji());
        benchmark::DoNotOptimize(likeness);
        bytes = 0;
        for (std::size_t i = 0; i < data.Kanji().size(); ++i) {
            const auto& parts = likeness.PartsOf(i);
            bytes += sizeof(parts) + parts.capacity() * sizeof(soten::LikenessPart);
            for (const auto& part : parts) {
                if (part.kana.capacity() > std::string().capacity()) bytes += part.kana.capacity();
            }
        }
    }
    state.counters["table_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_LoadNameLikeness)->Unit(benchmark::kMillisecond);

// The same as a soten-cli process does it: the data taken from the embedded
// text first (the names themselves are not indexed for composed names).
void BM_AllNamesReadYuiFromFreshData(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.surname = soten::Cp932Text("佐藤");
    filters.yomi.exact = soten::Cp932Text("ゆい");
    const auto& tables = soten::BuiltInTables();
    for (auto _ : state) {
        const auto data = soten::NameSearchData::FromCp932(soten::embedded::GivenNamesCp932(),
                                                           soten::embedded::NameKanjiCp932(),
                                                           soten::embedded::KanjiReadingsCp932());
        auto result = soten::SearchNames(filters, tables, data);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_AllNamesReadYuiFromFreshData)->Unit(benchmark::kMillisecond);

void BM_AllNamesReadYuuki(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.yomi.exact = soten::Cp932Text("ゆうき");
    Run(state, filters);
}
BENCHMARK(BM_AllNamesReadYuuki)->Unit(benchmark::kMillisecond);

// Filters that let almost every character through: the widest automaton.
void BM_AllNamesStartsWithYuThreeMorae(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.yomi.prefix = soten::Cp932Text("ゆ");
    filters.yomi.morae = 3;
    Run(state, filters);
}
BENCHMARK(BM_AllNamesStartsWithYuThreeMorae)->Unit(benchmark::kMillisecond);

void BM_AllNamesHoldingMi(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.yomi.contains = soten::Cp932Text("み");
    Run(state, filters);
}
BENCHMARK(BM_AllNamesHoldingMi)->Unit(benchmark::kMillisecond);

void BM_AllNamesFirstPage(benchmark::State& state) {
    Run(state, Yamada(soten::SearchSpace::All));
}
BENCHMARK(BM_AllNamesFirstPage)->Unit(benchmark::kMillisecond);

void BM_AllNamesFirstPageHonji(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.style = soten::StrokeStyle::Honji;
    Run(state, filters);
}
BENCHMARK(BM_AllNamesFirstPageHonji)->Unit(benchmark::kMillisecond);

// With the 三才配置 and 陰陽配列 filters: as fast as BM_AllNamesFirstPage.
void BM_AllNamesSansaiAndInyo(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.worstSansai = soten::SansaiVerdict::VeryGood;
    filters.inyoOk = true;
    Run(state, filters);
}
BENCHMARK(BM_AllNamesSansaiAndInyo)->Unit(benchmark::kMillisecond);

void BM_AllNamesWithCharacter(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.required = {{soten::Cp932Text("翔"), 0}};
    Run(state, filters);
}
BENCHMARK(BM_AllNamesWithCharacter)->Unit(benchmark::kMillisecond);

void BM_AllNamesFirstCharacterPinned(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.required = {{soten::Cp932Text("大"), 1}};
    Run(state, filters);
}
BENCHMARK(BM_AllNamesFirstCharacterPinned)->Unit(benchmark::kMillisecond);

// Yomi filters whose sets grow with the length asked for: each must stay
// under a second (the search refuses what would take longer). The last asks
// for more kana than three kanji can be read with.
void BM_AllNamesYomiContainsAndLength(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.yomi.contains = soten::Cp932Text(state.range(1) == 0 ? "き" : "う");
    filters.yomi.length = static_cast<int>(state.range(0));
    Run(state, filters);
}
BENCHMARK(BM_AllNamesYomiContainsAndLength)
    ->Args({5, 0})
    ->Args({8, 0})
    ->Args({12, 0})
    ->Args({7, 1})
    ->Args({40, 0})
    ->Unit(benchmark::kMillisecond);

void BM_AllNamesYomiFortyMorae(benchmark::State& state) {
    NameSearchFilters filters = Yamada(soten::SearchSpace::All);
    filters.yomi.contains = soten::Cp932Text("き");
    filters.yomi.length = 40;
    filters.yomi.morae = 40;
    Run(state, filters);
}
BENCHMARK(BM_AllNamesYomiFortyMorae)->Unit(benchmark::kMillisecond);

}  // namespace
