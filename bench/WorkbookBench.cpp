// soten-cli --batch with workbooks: a 20,000-row xlsx sheet read and
// answered (target: under a second), and 1,000,000 records written as an
// xlsx workbook in constant-memory mode (target: under 100 MB, measured
// with /usr/bin/time -v on soten-cli, see the report of the change).
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "analysis/reading/Tables.h"
#include "cli/app/CliOptions.h"
#include "cli/batch/BatchFiles.h"
#include "cli/batch/WorkbookReader.h"
#include "cli/batch/WorkbookWriter.h"

namespace {

constexpr const char* Surnames[] = {"山田", "佐藤", "鈴木", "高橋", "渡辺"};
constexpr const char* Givens[] = {"太郎", "花子", "一郎", "美奈子", "健一"};

// A sheet as an HR export holds it: an ID kept as text, the names, a date
// and a note; shared strings, as Excel writes them.
const std::string& SheetOf20000Rows() {
    static const std::string path = [] {
        const std::string file = "/tmp/soten-bench-" + std::to_string(getpid()) + ".xlsx";
        lxw_workbook* book = workbook_new(file.c_str());
        lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
        lxw_format* date = workbook_add_format(book);
        format_set_num_format(date, "yyyy-mm-dd");
        const char* header[] = {"社員番号", "氏名", "入社日", "備考"};
        for (lxw_col_t c = 0; c < 4; ++c) worksheet_write_string(sheet, 0, c, header[c], nullptr);
        for (lxw_row_t r = 1; r <= 20000; ++r) {
            char id[16];
            std::snprintf(id, sizeof id, "%06u", r);
            const std::string name =
                std::string(Surnames[r % 5]) + "\xE3\x80\x80" + Givens[(r / 5) % 5];
            worksheet_write_string(sheet, r, 0, id, nullptr);
            worksheet_write_string(sheet, r, 1, name.c_str(), nullptr);
            worksheet_write_number(sheet, r, 2, 45000 + r % 400, date);
            worksheet_write_string(sheet, r, 3, r % 3 ? "東京都, 新宿区" : "メモ\n二行目", nullptr);
        }
        workbook_close(book);
        std::atexit([] { std::remove(SheetOf20000Rows().c_str()); });
        return file;
    }();
    return path;
}

void BM_ReadXlsx20000Rows(benchmark::State& bench) {
    const std::string& path = SheetOf20000Rows();
    long rows = 0;
    for (auto _ : bench) {
        soten::cli::WorkbookReader reader(path, soten::cli::WorkbookKind::Xlsx, "");
        soten::cli::WorkbookRow row;
        while (reader.Next(row)) ++rows;
    }
    bench.SetItemsProcessed(rows);
}
BENCHMARK(BM_ReadXlsx20000Rows)->Unit(benchmark::kMillisecond);

// The whole batch: the sheet read, every name answered, TSV records.
void BM_BatchOfXlsx20000Rows(benchmark::State& bench) {
    soten::cli::CliOptions options;
    options.mode = soten::cli::Mode::Batch;
    options.format = soten::Format::Tsv;
    options.report = false;
    options.keepColumns = true;
    options.input = soten::cli::InputFormat::Xlsx;
    options.inputGiven = true;
    options.inputPath = SheetOf20000Rows();
    std::istringstream in;
    for (auto _ : bench) {
        std::ostringstream out;
        std::ostringstream err;
        soten::cli::RunBatchFiles(options, in, out, err, soten::BuiltInTables(), 1);
        benchmark::DoNotOptimize(out.tellp());
    }
    bench.SetItemsProcessed(static_cast<int64_t>(bench.iterations()) * 20000);
}
BENCHMARK(BM_BatchOfXlsx20000Rows)->Unit(benchmark::kMillisecond);

// 1,000,000 TSV records as the rows of a workbook, constant memory.
void BM_WriteXlsx1000000Records(benchmark::State& bench) {
    const std::string file = "/tmp/soten-bench-out-" + std::to_string(getpid()) + ".xlsx";
    const std::string record =
        "000001\t山田　太郎\t2024-04-01\t2\t山田\t太郎\tshinji\t3 5\t4 9\t21\t8\t13\t16\t11\t"
        "吉\n";
    for (auto _ : bench) {
        soten::cli::WorkbookWriter sheet(
            file, {"line", "surname", "given", "style", "surname_strokes", "given_strokes", "total",
                   "heaven", "person", "earth", "outer", "score"});
        const std::string header =
            "社員番号\t氏名\t入社日\tline\tsurname\tgiven\tstyle\tsurname_strokes\t"
            "given_strokes\ttotal\theaven\tperson\tearth\touter\tscore\n";
        sheet.sputn(header.data(), static_cast<std::streamsize>(header.size()));
        for (int i = 0; i < 1'000'000; ++i) {
            sheet.sputn(record.data(), static_cast<std::streamsize>(record.size()));
        }
        if (!sheet.Close().empty()) bench.SkipWithError("the workbook was not written");
    }
    std::remove(file.c_str());
    bench.SetItemsProcessed(static_cast<int64_t>(bench.iterations()) * 1'000'000);
}
BENCHMARK(BM_WriteXlsx1000000Records)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
