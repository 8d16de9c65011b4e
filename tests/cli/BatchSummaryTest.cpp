#include <gtest/gtest.h>

#include "cli/app/CliRunner.h"
#include "tests/cli/BatchRunForTests.h"
#include "tests/cli/JsonForTests.h"
#include "tests/support/FixtureTables.h"

namespace soten::cli {
namespace {

using soten::test::BatchRun;
using soten::test::JsonAt;
using soten::test::ParseJsonLines;
using soten::test::RunBatch;
using soten::test::Sjis;

struct SummaryCase {
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string counts;  // the whole first line; empty: not checked
    std::string hint;    // a part of the second line; empty: no second line
};

class Summary : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(Summary, CountsTheRowsAndNamesTheLikelyCause) {
    const SummaryCase& c = GetParam();
    const BatchRun run = RunBatch(c.args, c.input);
    EXPECT_EQ(run.status, c.status);
    const std::size_t end = run.err.find('\n');
    ASSERT_NE(end, std::string::npos) << run.err;
    if (!c.counts.empty()) {
        EXPECT_EQ(run.err.substr(0, end + 1), c.counts);
    }
    const std::string rest = run.err.substr(end + 1);
    if (c.hint.empty()) {
        EXPECT_EQ(rest, "");
    } else {
        EXPECT_NE(rest.find(c.hint), std::string::npos) << rest;
    }
}

// UTF-16LE without a byte-order mark, as some exports write it.
const std::string Utf16Names = std::string("q\x5c\x30\x75 \0\x2a\x59\xce\x90\n\0", 12) +
                               std::string("q\x5c\x30\x75 \0\x2a\x59\xce\x90\n\0", 12);

INSTANTIATE_TEST_SUITE_P(
    Inputs, Summary,
    ::testing::Values(
        SummaryCase{{"--batch"},
                    "山田 太郎\n\n  \n",
                    ExitReadingMade,
                    "soten-cli: 1 行: 鑑定 1、拒否 0、不正 0\n",
                    ""},
        SummaryCase{
            {"--batch"}, "", ExitReadingMade, "soten-cli: 0 行: 鑑定 0、拒否 0、不正 0\n", ""},
        // Refused names alone need no hint: the records say which characters.
        SummaryCase{{"--batch"},
                    "山田 太a\n山田 太b\n",
                    ExitRefused,
                    "soten-cli: 2 行: 鑑定 0、拒否 2、不正 0（unknown-character 2）\n",
                    ""},
        SummaryCase{{"--batch", "--jobs", "2"},
                    "山田 太郎\n山田\n山田 太a\n山田 " + std::string(5000, 'x') + "\n",
                    ExitMalformed,
                    "soten-cli: 4 行: 鑑定 1、拒否 1、不正 2（unknown-character 1、malformed 1、"
                    "too-long 1）\n",
                    ""},
        SummaryCase{{"--batch", "--input", "csv"},
                    Sjis("姓,名\n山田,太郎\n佐藤,花子\n"),
                    ExitMalformed,
                    "soten-cli: 3 行: 鑑定 0、拒否 0、不正 3（invalid-encoding 3）\n",
                    "--input-encoding cp932 を試してください"},
        SummaryCase{{"--batch", "--input-encoding", "cp932"},
                    "山田 太郎\n佐藤 花子\n",
                    ExitMalformed,
                    "soten-cli: 2 行: 鑑定 0、拒否 0、不正 2（invalid-encoding 2）\n",
                    "--input-encoding utf-8 を試してください"},
        SummaryCase{{"--batch"},
                    std::string("PK\x03\x04\x14\0\x06\0\nx\x01y\n", 13),
                    ExitMalformed,
                    "soten-cli: 2 行: 鑑定 0、拒否 0、不正 2（malformed 2）\n",
                    "xlsx か ods"},
        SummaryCase{{"--batch"}, Utf16Names, ExitMalformed, "", "UTF-16"},
        SummaryCase{{"--batch"},
                    "山田,太郎\n佐藤,花子\n",
                    ExitMalformed,
                    "soten-cli: 2 行: 鑑定 0、拒否 0、不正 2（malformed 2）\n",
                    "--input csv"},
        SummaryCase{{"--batch"},
                    "山田\t太郎\n渡辺\t花子\n",
                    ExitReadingMade,
                    "soten-cli: 2 行: 鑑定 2、拒否 0、不正 0\n",
                    ""}));

// Every input column keeps a key of its own, in JSON and in the TSV header.
TEST(BatchColumns, GetUniqueKeys) {
    const std::string input = "氏名,備考,備考,,code,備考_2\n山田 太郎,a,b,c,d,e\n";
    const std::string keys = "氏名\t備考\t備考_3\t列4\tinput.code\t備考_2\tline\trow\tsurname";
    const BatchRun tsv = RunBatch({"--batch", "--input", "csv", "--format", "tsv"}, input);
    EXPECT_EQ(tsv.out.substr(0, keys.size()), keys);
    const BatchRun json = RunBatch({"--batch", "--input", "csv", "--no-report"}, input);
    ASSERT_EQ(json.status, ExitReadingMade) << json.err;
    const auto records = ParseJsonLines(json.out);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(
        JsonAt(records[0], "/input"),
        R"({"氏名":"山田 太郎","備考":"a","備考_3":"b","列4":"c","input.code":"d","備考_2":"e"})");
}

// cp932 records are the UTF-8 ones converted; a character cp932 lacks
// becomes "?" and is counted, so the row is still there.
TEST(BatchColumns, Cp932OutputKeepsEveryRow) {
    const std::string input = "氏名,店\n山田 太郎,𠮷野家\n渡辺 花子,松屋\n";
    for (const char* format : {"tsv", "csv"}) {
        const std::vector<std::string> args = {"--batch", "--input", "csv", "--format", format};
        std::vector<std::string> cp932 = args;
        cp932.insert(cp932.end(), {"--output-encoding", "cp932"});
        std::string utf8 = RunBatch(args, input).out;
        utf8.replace(utf8.find("𠮷"), std::string("𠮷").size(), "?");
        const BatchRun run = RunBatch(cp932, input);
        EXPECT_EQ(run.status, ExitReadingMade);
        EXPECT_EQ(run.out, Sjis(utf8)) << format;
        EXPECT_NE(run.err.find("cp932 にない文字 1 個を ? と書きました"), std::string::npos)
            << run.err;
    }
}

}  // namespace
}  // namespace soten::cli
