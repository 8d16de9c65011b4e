#include <benchmark/benchmark.h>

#include <string>

#include "analysis/shortlist/Shortlist.h"
#include "analysis/text/ShiftJis.h"

namespace {

// As many names as the largest file the program reads holds when each is
// as short as it can be (4 MiB of {"given": "<number>"}).
constexpr int LargestListNames = 226599;

const std::string& LargestListText() {
    static const std::string text = [] {
        std::string json = "{\"version\": 1, \"entries\": [";
        for (int i = 0; i < LargestListNames; ++i) {
            if (i > 0) json += ',';
            json += "{\"given\":\"" + std::to_string(i) + "\"}";
        }
        return json + "]}";
    }();
    return text;
}

void BM_LoadLargestList(benchmark::State& bench) {
    for (auto _ : bench) {
        std::string error;
        auto list = soten::ShortlistFromJson(LargestListText(), error);
        if (!list || list->Size() != LargestListNames) bench.SkipWithError("the list was not read");
        benchmark::DoNotOptimize(list);
    }
    bench.SetItemsProcessed(static_cast<int64_t>(bench.iterations()) * LargestListNames);
}
BENCHMARK(BM_LoadLargestList)->Unit(benchmark::kMillisecond);

// One more name, and the same again (refused), at the end of the largest list.
void BM_AddToLargestList(benchmark::State& bench) {
    std::string error;
    auto list = soten::ShortlistFromJson(LargestListText(), error);
    if (!list) {
        bench.SkipWithError("the list was not read");
        return;
    }
    int next = LargestListNames;
    for (auto _ : bench) {
        soten::ShortlistEntry entry{soten::Cp932Text("山田"), std::to_string(next++), "",
                                    soten::StrokeStyle::Shinji, ""};
        benchmark::DoNotOptimize(list->Add(entry));
        benchmark::DoNotOptimize(list->Add(entry));
    }
    bench.SetItemsProcessed(static_cast<int64_t>(bench.iterations()));
}
BENCHMARK(BM_AddToLargestList);

}  // namespace
