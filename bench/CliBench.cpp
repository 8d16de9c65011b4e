// soten-cli --batch, one line at a time on one thread: parsing the line,
// the reading, and the record in each output format.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BatchLine.h"
#include "CliOptions.h"
#include "Tables.h"

namespace {

using soten::cli::CliOptions;
using soten::cli::Format;

const std::vector<std::string>& SampleLines() {
    static const std::vector<std::string> lines = {"山田 太郎", "渡辺 花子 honji", "佐々木 健一",
                                                   "林 一", "高橋 美奈子"};
    return lines;
}

void BatchLines(benchmark::State& bench, const CliOptions& options) {
    soten::cli::BatchLine answerer(soten::BuiltInTables(), options, {});
    std::string out;
    std::size_t bytes = 0;
    long line = 0;
    for (auto _ : bench) {
        out.clear();
        const std::string& text =
            SampleLines()[static_cast<std::size_t>(line++) % SampleLines().size()];
        answerer.Answer(text, line, out);
        bytes += out.size();
        benchmark::DoNotOptimize(out.data());
    }
    bench.SetItemsProcessed(static_cast<int64_t>(bench.iterations()));
    bench.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void BM_BatchLineJson(benchmark::State& bench) {
    CliOptions options;
    options.format = Format::Json;
    BatchLines(bench, options);
}
BENCHMARK(BM_BatchLineJson);

void BM_BatchLineJsonWithLines(benchmark::State& bench) {
    CliOptions options;
    options.format = Format::Json;
    options.lines = true;
    BatchLines(bench, options);
}
BENCHMARK(BM_BatchLineJsonWithLines);

void BM_BatchLineTsvNoReport(benchmark::State& bench) {
    CliOptions options;
    options.format = Format::Tsv;
    options.report = false;
    BatchLines(bench, options);
}
BENCHMARK(BM_BatchLineTsvNoReport);

}  // namespace
