#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"
#include "data/include/EmbeddedTables.h"

namespace {

using soten::StrokeStyle;

// Names of different lengths and styles, so the benchmark is not one path.
const std::vector<std::pair<std::string, std::string>>& SampleNames() {
    static const std::vector<std::pair<std::string, std::string>> names = [] {
        std::vector<std::pair<std::string, std::string>> list;
        for (const auto& [surname, given] : std::vector<std::pair<const char*, const char*>>{
                 {"山田", "太郎"}, {"渡辺", "花子"}, {"佐々木", "健一"}, {"林", "一"}}) {
            list.emplace_back(soten::Cp932Text(surname), soten::Cp932Text(given));
        }
        return list;
    }();
    return names;
}

void BM_FullReading(benchmark::State& bench) {
    const auto& tables = soten::BuiltInTables();
    std::size_t i = 0;
    for (auto _ : bench) {
        const auto& [surname, given] = SampleNames()[i++ % SampleNames().size()];
        const StrokeStyle style = i % 2 ? StrokeStyle::Shinji : StrokeStyle::Honji;
        auto outcome = soten::MakeReading({surname, given}, style, tables);
        benchmark::DoNotOptimize(outcome);
    }
    bench.SetItemsProcessed(static_cast<int64_t>(bench.iterations()));
}
BENCHMARK(BM_FullReading);

// Every character of the dictionary's 新字式 lines, looked up one by one.
std::vector<std::string> DictionaryCharacters() {
    const auto& dictionary = soten::BuiltInTables().dictionary;
    std::vector<std::string> characters;
    for (int line = 0; line < soten::StrokeDictionary::LinesPerStyle; ++line) {
        const std::string& text = dictionary.Line(line);
        for (std::size_t i = 0; i + 1 < text.size(); i += 2)
            characters.push_back(text.substr(i, 2));
    }
    return characters;
}

void BM_LookupIndexed(benchmark::State& bench) {
    const auto& dictionary = soten::BuiltInTables().dictionary;
    const auto characters = DictionaryCharacters();
    std::size_t i = 0;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(
            dictionary.Find(StrokeStyle::Shinji, characters[i++ % characters.size()]));
    }
    bench.SetItemsProcessed(static_cast<int64_t>(bench.iterations()));
}
BENCHMARK(BM_LookupIndexed);

// The baseline: walking the lines as the lookup is defined.
void BM_LookupLineScan(benchmark::State& bench) {
    const auto& dictionary = soten::BuiltInTables().dictionary;
    const auto characters = DictionaryCharacters();
    std::size_t i = 0;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(
            dictionary.FindByScan(StrokeStyle::Shinji, characters[i++ % characters.size()]));
    }
    bench.SetItemsProcessed(static_cast<int64_t>(bench.iterations()));
}
BENCHMARK(BM_LookupLineScan);

}  // namespace

namespace {

// What start-up pays for the tables: converting the embedded text and
// building the dictionary index.
void BM_LoadTables(benchmark::State& bench) {
    for (auto _ : bench) {
        auto tables = soten::Tables::FromUtf8(soten::embedded::StrokeDictionaryText(),
                                              soten::embedded::KeywordTableText(),
                                              soten::embedded::ReadingTextTableText());
        benchmark::DoNotOptimize(tables.dictionary.Line(0).data());
    }
}
BENCHMARK(BM_LoadTables)->Unit(benchmark::kMillisecond);

}  // namespace
