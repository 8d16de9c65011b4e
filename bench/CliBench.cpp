// soten-cli --batch, one line at a time on one thread: parsing the line,
// the reading, and the record in each output format.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "analysis/reading/Tables.h"
#include "cli/app/CliOptions.h"
#include "cli/batch/BatchLine.h"

namespace {

using soten::Format;
using soten::cli::CliOptions;

const std::vector<std::string>& SampleLines() {
    static const std::vector<std::string> lines = {"山田 太郎", "渡辺 花子 honji", "佐々木 健一",
                                                   "林 一", "高橋 美奈子"};
    return lines;
}

// The same names as rows of a spreadsheet's CSV export: an ID, the names in
// one cell, a quoted note.
const std::vector<std::string>& SampleRows() {
    static const std::vector<std::string> rows = {"1001,山田　太郎,\"東京都, 新宿区\"\r",
                                                  "1002,渡辺 花子,", "1003,佐々木　健一,x\r",
                                                  "1004,林 一,\"\"\"y\"\"\"", "1005,高橋　美奈子,"};
    return rows;
}

void BatchLines(benchmark::State& bench, const CliOptions& options,
                const soten::cli::BatchInput& input = {}) {
    soten::cli::BatchLine answerer(soten::BuiltInTables(), options, input);
    const auto& lines = input.layout ? SampleRows() : SampleLines();
    std::string out;
    std::size_t bytes = 0;
    long line = 0;
    for (auto _ : bench) {
        out.clear();
        const std::string& text = lines[static_cast<std::size_t>(line++) % lines.size()];
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

// --input csv --name-column 2 --format csv: the columns kept, no report.
void BM_BatchLineCsvTable(benchmark::State& bench) {
    CliOptions options;
    options.format = Format::Csv;
    options.report = false;
    options.keepColumns = true;
    soten::cli::TableLayout layout;
    layout.columnNames = {"ID", "氏名", "備考"};
    layout.header = true;
    layout.name = 1;
    BatchLines(bench, options,
               {soten::cli::InputFormat::Csv, soten::cli::Encoding::Utf8, &layout, 0});
}
BENCHMARK(BM_BatchLineCsvTable);

}  // namespace
