#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <set>
#include <sstream>
#include <thread>

#include "SotenIdentity.h"
#include "analysis/text/Cp932.h"
#include "cli/app/CliOptions.h"
#include "cli/app/CliRunner.h"
#include "cli/compare/ComparisonCommand.h"
#include "cli/pdf/PdfHelper.h"
#include "tests/cli/FailingInput.h"
#include "tests/cli/JsonForTests.h"
#include "tests/support/FixtureTables.h"

namespace soten::cli {
namespace {

using soten::test::FixtureReadingRow;
using soten::test::FixtureTables;
using soten::test::IntAt;
using soten::test::JsonAt;
using soten::test::KeysOf;
using soten::test::ParseJson;
using soten::test::ParseJsonLines;
using soten::test::SizeAt;
using soten::test::Sjis;
using soten::test::StringAt;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun RunWith(const std::vector<std::string>& args, const std::string& input = {},
               const CliServices& services = {}) {
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    CliRun result;
    result.status = RunCli(args, in, out, err, FixtureTables(), services);
    result.out = out.str();
    result.err = err.str();
    return result;
}

TEST(Cli, PrintsTheReportInUtf8WithCrLf) {
    const CliRun run = RunWith({"山田", "太郎"});
    EXPECT_EQ(run.status, ExitReadingMade);
    EXPECT_EQ(run.out.rfind("山　田　太　郎\r\n 3　 5　 4　 9\r\n\r\n総運＝21：大成数\r\n", 0), 0u);
    EXPECT_NE(run.out.find(FixtureReadingRow(20) + "\r\n"), std::string::npos);
    EXPECT_TRUE(run.err.empty());
}

TEST(Cli, WritesTheExactCodePage932Bytes) {
    const CliRun utf8 = RunWith({"山田", "太郎"});
    const CliRun cp932 = RunWith({"--encoding", "cp932", "山田", "太郎"});
    EXPECT_EQ(cp932.status, ExitReadingMade);
    EXPECT_EQ(cp932.out, Sjis(utf8.out));
}

TEST(Cli, StyleChangesTheCounts) {
    const CliRun run = RunWith({"--style", "honji", "山田", "太郎"});
    EXPECT_EQ(run.out.substr(run.out.find("\r\n") + 2, 19), " 3　 5　 4　14\r\n");
}

TEST(Cli, JsonHoldsTheWholeReading) {
    const CliRun run = RunWith({"--format", "json", "山田", "太郎"});
    ASSERT_EQ(run.status, ExitReadingMade);
    const auto json = ParseJson(run.out);
    EXPECT_EQ(StringAt(json, "/surname"), "山田");
    EXPECT_EQ(StringAt(json, "/given"), "太郎");
    EXPECT_EQ(StringAt(json, "/style"), "shinji");
    EXPECT_EQ(JsonAt(json, "/strokes"), R"({"surname":[3,5],"given":[4,9]})");
    EXPECT_EQ(JsonAt(json, "/fortunes"),
              R"({"total":21,"heaven":8,"person":9,"earth":13,"outer":12})");
    EXPECT_EQ(JsonAt(json, "/grades"), R"({"total":2,"heaven":2,"person":4,"earth":1,"outer":4})");
    EXPECT_EQ(JsonAt(json, "/marks"),
              R"({"total":"○","heaven":"○","person":"×","earth":"◎","outer":"×"})");
    EXPECT_EQ(IntAt(json, "/score"), 2 + 0 + 3 + 0);  // 総運 ○, 人運 ×, 地運 ◎, 外運 ×
    EXPECT_EQ(StringAt(json, "/keywords/total"), "大成");
    EXPECT_EQ(StringAt(json, "/keywords/outer"), "薄弱");
    EXPECT_EQ(SizeAt(json, "/screenLines"), IntAt(json, "/screenLineIndex") + 1u);
    EXPECT_EQ(SizeAt(json, "/printLines"), IntAt(json, "/printLineIndex") + 1u);
    EXPECT_EQ(StringAt(json, "/printLines/0"),
              "　まず，山田太郎さんの生涯の総合的な運勢ですが，あなたの総運は21です。");
    EXPECT_EQ(StringAt(json, "/report"), RunWith({"山田", "太郎"}).out);
    EXPECT_EQ(JsonAt(json, "/sansai"),
              R"({"heaven":"金","person":"水","earth":"火","relations":["相生","相剋"],)"
              R"("verdict":"凶"})");
    EXPECT_EQ(JsonAt(json, "/inyo"), R"({"pattern":"○○●○","verdict":"吉"})");
    const auto honji =
        ParseJson(RunWith({"--format", "json", "--style", "honji", "山田", "太郎"}).out);
    EXPECT_EQ(StringAt(honji, "/sansai/verdict"), "大吉");
    EXPECT_EQ(JsonAt(honji, "/inyo"), R"({"pattern":"○○●●","verdict":"凶"})");
}

// A named pipe, like <(...), is read whole: nothing is taken from it to
// see whether it is a workbook.
TEST(Cli, BatchReadsAPipeNamedAsItsFileWhole) {
    std::string folder = (std::filesystem::temp_directory_path() / "soten-fifo-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string fifo = folder + "/names";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto run = std::async(std::launch::async, [&fifo] {
        return RunWith({"--batch", "--no-report", "--format", "tsv", fifo});
    });
    // Written once the run opens the pipe, then closed; a run that opens it
    // again later is ended by an empty writer instead of waiting for ever.
    const auto writeOnce = [&fifo](std::string_view text) {
        for (int tries = 0; tries < 1000; ++tries) {
            const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
                close(fd);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    };
    writeOnce("山田 太郎\n林 太郎\n");
    while (run.wait_for(std::chrono::milliseconds(200)) != std::future_status::ready) writeOnce("");
    const CliRun result = run.get();
    std::filesystem::remove_all(folder);
    EXPECT_EQ(result.status, ExitReadingMade) << result.err;
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 3) << result.out;
}

// A batch puts each report together from pieces it converts once and then
// copies: every record's report is still its name's own, byte for byte,
// one-character parts and three-digit numbers among them.
TEST(Cli, BatchReportsStayEachNamesOwnWhereTheirTextsRecur) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"山田", "太郎"}, {"木村", "花子"}, {"山田", "太郎"},
        {"渡辺", "奈子"}, {"林", "太郎"},   {"驫驫驫驫驫驫驫驫驫驫", "子子"},
        {"一", "一"}};
    std::string input;
    for (const auto& [surname, given] : names) input += surname + " " + given + "\n";
    const CliRun run = RunWith({"--batch", "--jobs", "1"}, input);
    std::istringstream records(run.out);
    std::string record;
    for (const auto& [surname, given] : names) {
        ASSERT_TRUE(std::getline(records, record)) << surname << given;
        EXPECT_EQ(StringAt(ParseJson(record), "/report"), RunWith({surname, given}).out)
            << surname << given;
    }
}

// --detail adds the supplement after the report, which stays byte for byte.
TEST(Cli, DetailFollowsTheUnchangedReport) {
    const std::string report = RunWith({"山田", "太郎"}).out;
    const CliRun run = RunWith({"--detail", "山田", "太郎"});
    ASSERT_EQ(run.status, ExitReadingMade) << run.err;
    ASSERT_EQ(run.out.substr(0, report.size()), report);
    const std::string detail = run.out.substr(report.size());
    EXPECT_EQ(detail.rfind("\r\n【詳しい鑑定】", 0), 0u) << detail;
    for (const char* expected : {"山田 太郎（新字式）\r\n", "配列　○○●○　判定　吉\r\n",
                                 "　天運→人運　金→水　相生\r\n", "　判定　凶\r\n"}) {
        EXPECT_NE(detail.find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(RunWith({"--detail", "--encoding", "cp932", "山田", "太郎"}).out, Sjis(run.out));
}

struct RefusalCase {
    std::vector<std::string> args;
    int status;
    std::string message;
};

class Refusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusals, ExplainAndSetTheExitStatus) {
    const CliRun run = RunWith(GetParam().args);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    if (GetParam().status != ExitReadingMade) {
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

const std::string TooMany = "文字数が多すぎます";
const std::string Invalid = "不適切な文字があります";

INSTANTIATE_TEST_SUITE_P(
    Inputs, Refusals,
    ::testing::Values(
        RefusalCase{{"山田", "太a"}, ExitRefused, Invalid + "\n「a」は辞書にありません\n"},
        RefusalCase{{"山田", "𠮷子"}, ExitRefused, Invalid + "\n「𠮷」は辞書にありません\n"},
        RefusalCase{{"山 田", "太郎"}, ExitRefused, Invalid},
        RefusalCase{{"山田", "ﾀﾛｳ"}, ExitRefused, Invalid},
        RefusalCase{{"山　田", "太郎"}, ExitRefused, Invalid},
        RefusalCase{{"山、", "太郎"}, ExitRefused, Invalid},
        RefusalCase{{"山，", "太郎"}, ExitRefused, Invalid},
        RefusalCase{{"々田", "太郎"}, ExitRefused, Invalid},
        RefusalCase{{"山田", "ゝ郎"}, ExitRefused, Invalid},
        RefusalCase{{"山田", "太\xF0\x9F\x98\x80"}, ExitRefused, Invalid},
        RefusalCase{{"山田", "太\x01"}, ExitRefused, Invalid},
        RefusalCase{{"山山山山山山山山山山山", "子"}, ExitRefused, TooMany},
        RefusalCase{{"山山山山山山山", "子子子子子子"}, ExitRefused, TooMany},
        RefusalCase{{std::string(10000, 'a'), "子"}, ExitRefused, TooMany},
        RefusalCase{{std::string(30000, '\x01'), "子"}, ExitRefused, TooMany},
        RefusalCase{{"山田", "太\xFF"}, ExitUsage, "UTF-8"},
        RefusalCase{{"山田", "太\xE0\x80\x80"}, ExitUsage, "UTF-8"},      // overlong
        RefusalCase{{"山田", "太\xED\xA0\x80"}, ExitUsage, "UTF-8"},      // surrogate
        RefusalCase{{"山田", "太\xF4\x90\x80\x80"}, ExitUsage, "UTF-8"},  // above U+10FFFF
        RefusalCase{{"--jobs", "0", "山田", "太郎"}, ExitUsage, "--jobs"},
        RefusalCase{{"--lines", "山田", "太郎"}, ExitUsage, "--lines"},
        RefusalCase{{"--batch", "--format", "tsv", "--lines"}, ExitUsage, "--lines"},
        RefusalCase{{"--no-report", "山田", "太郎"}, ExitUsage, "--no-report"},
        RefusalCase{{"--detail", "--format", "json", "山田", "太郎"}, ExitUsage, "--detail"},
        RefusalCase{{"--detail", "--format", "tsv", "山田", "太郎"}, ExitUsage, "--detail"},
        RefusalCase{{"--batch", "--detail"}, ExitUsage, "--detail"},
        RefusalCase{{"--suggest", "山田", "--min-sansai", "凶"}, ExitUsage, "--min-sansai"},
        RefusalCase{{"--min-sansai", "吉", "山田", "太郎"}, ExitUsage, "--min-sansai"},
        RefusalCase{{"山田", ""}, ExitUsage, "空にできません"},
        RefusalCase{{"山田"}, ExitUsage, "名字と名前が必要です"},
        RefusalCase{{"山田", "太郎", "花子"}, ExitUsage, "引数が多すぎます"},
        RefusalCase{{"--style"}, ExitUsage, "には値が必要です"},
        RefusalCase{{"--style", "kanji", "山田", "太郎"}, ExitUsage, "shinji か honji"},
        RefusalCase{{"--format", "xml", "山田", "太郎"}, ExitUsage, "tsv、csv のどれか"},
        RefusalCase{{"--bom", "山田", "太郎"}, ExitUsage, "--bom には"},
        RefusalCase{{"--batch", "--header"}, ExitUsage, "には --input tsv か csv が必要です"},
        RefusalCase{{"--bogus", "山田", "太郎"}, ExitUsage, "オプション --bogus はありません"},
        RefusalCase{{"--pdf", "/tmp/x.pdf", "山田", "太郎"}, ExitUsage, "印刷の機能がありません"},
        RefusalCase{{"--compare"}, ExitUsage, "--compare には名字と一つ以上の名前が必要です"},
        RefusalCase{
            {"--compare", "山田"}, ExitUsage, "--compare には名字と一つ以上の名前が必要です"},
        RefusalCase{{"--compare", "山田", "太郎", "--batch"}, ExitUsage, "は一緒に使えません"},
        RefusalCase{{"--compare", "山田", "太郎:taro"}, ExitUsage, "ひらがなかカタカナ"},
        RefusalCase{{"--compare", "山田", "太郎:太郎"}, ExitUsage, "ひらがなかカタカナ"},
        RefusalCase{{"--compare", "山田", ":たろう"}, ExitUsage, "空にできません"},
        RefusalCase{{"--compare", "山田", "太\xFF"}, ExitUsage, "UTF-8"},
        RefusalCase{{"--compare", "山田", "太郎", "--report"}, ExitUsage, "--report"},
        RefusalCase{
            {"--compare", "山田", "太郎", "--pdf", "x.pdf"}, ExitUsage, "印刷の機能がありません"},
        RefusalCase{{"--shortlist", "山田"}, ExitUsage, "余分な引数"},
        RefusalCase{{"--shortlist", "--style", "honji"},
                    ExitUsage,
                    "--style は --shortlist と一緒に使えません"},
        RefusalCase{{"--shortlist"}, ExitUsage, "候補リストを読めません"},
        RefusalCase{{"--batch", "--format", "xlsx"},
                    ExitUsage,
                    "--format xlsx には -o FILE が必要です（ブックは標準出力には書きません）"},
        RefusalCase{{"--batch", "/nonexistent-folder/名簿.txt"},
                    ExitIo,
                    "soten-cli: ファイル \"/nonexistent-folder/名簿.txt\" が見つかりません\n"},
        RefusalCase{{"--batch", "--input", "xlsx", "/nonexistent-folder/名簿.xlsx"},
                    ExitIo,
                    "soten-cli: ブック \"/nonexistent-folder/名簿.xlsx\" "
                    "を読めません。ファイルが見つかりません\n"}));

TEST(Cli, BatchAnswersEveryLineInOrderAndGoesOn) {
    const CliRun run = RunWith({"--batch"},
                               "山田 太郎\n"
                               "山田 太a\n"
                               "\n"
                               "渡辺 花子 honji\n"
                               "only-one-field\n"
                               "山田 " +
                                   std::string(5000, 'x') +
                                   "\n"
                                   "山田 \xE0\x80\x80\n"
                                   "林 一 shinji\r\n"
                                   "  \t \r\n"
                                   "山田 太郎");
    const auto results = ParseJsonLines(run.out);
    ASSERT_EQ(results.size(), 8u);
    EXPECT_EQ(IntAt(results[0], "/fortunes/total"), 21);
    EXPECT_EQ(JsonAt(results[1]), R"({"line":2,"surname":"山田","given":"太a",)"
                                  R"("code":"unknown-character","error":")" +
                                      Invalid + R"(","characters":["a"]})");
    EXPECT_EQ(StringAt(results[2], "/style"), "honji");
    EXPECT_EQ(JsonAt(results[2], "/strokes/surname"), "[13,22]");
    const std::vector<int> lineNumbers = {1, 2, 4, 5, 6, 7, 8, 10};
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(IntAt(results[i], "/line"), lineNumbers[i]) << i;
    }
    for (std::size_t i : {3u, 4u, 5u}) {
        EXPECT_EQ(KeysOf(results[i]), (std::set<std::string>{"line", "code", "error"})) << i;
    }
    EXPECT_NE(StringAt(results[4], "/error").find("4096"), std::string::npos);
    EXPECT_NE(StringAt(results[5], "/error").find("UTF-8"), std::string::npos);
    EXPECT_EQ(StringAt(results[6], "/surname"), "林");
    EXPECT_EQ(IntAt(results[6], "/fortunes/outer"), 2);
    EXPECT_EQ(StringAt(results[7], "/given"), "太郎");
    EXPECT_EQ(run.status, ExitMalformed);
}

struct RecordKeysCase {
    std::vector<std::string> args;
    std::set<std::string> keys;
};

class RecordKeys : public ::testing::TestWithParam<RecordKeysCase> {};

TEST_P(RecordKeys, FollowTheOptions) {
    const CliRun run = RunWith(GetParam().args, "山田 太郎\n");
    ASSERT_EQ(run.status, ExitReadingMade) << run.err;
    EXPECT_EQ(KeysOf(ParseJson(run.out)), GetParam().keys);
}

const std::set<std::string> ReadingKeys = {
    "surname", "given",    "registrable", "unregistrableCharacters",
    "style",   "strokes",  "fortunes",    "grades",
    "marks",   "keywords", "score",       "sansai",
    "inyo"};
std::set<std::string> With(std::set<std::string> keys, std::initializer_list<const char*> more) {
    keys.insert(more.begin(), more.end());
    return keys;
}
const std::initializer_list<const char*> LineKeys = {"screenLines", "printLines", "screenLineIndex",
                                                     "printLineIndex"};

INSTANTIATE_TEST_SUITE_P(
    Options, RecordKeys,
    ::testing::Values(RecordKeysCase{{"--batch"}, With(ReadingKeys, {"line", "report"})},
                      RecordKeysCase{{"--batch", "--no-report"}, With(ReadingKeys, {"line"})},
                      RecordKeysCase{{"--batch", "--lines"},
                                     With(With(ReadingKeys, {"line", "report"}), LineKeys)},
                      RecordKeysCase{{"--format", "json", "山田", "太郎"},
                                     With(With(ReadingKeys, {"report"}), LineKeys)},
                      RecordKeysCase{{"--format", "json", "--no-report", "山田", "太郎"},
                                     With(ReadingKeys, LineKeys)}));

// The given name only: a registry office takes 太郎 but not 嗟 or 唖 (in
// a single reading, a batch record and a TSV row alike).
TEST(Cli, ReadingsTellWhetherTheGivenNameIsRegistrable) {
    auto run = [](const std::vector<std::string>& args, const std::string& input) {
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunCli(args, in, out, err, BuiltInTables()), ExitReadingMade) << err.str();
        return out.str();
    };
    for (const auto& [given, refused] :
         std::vector<std::pair<std::string, std::string>>{{"太郎", "[]"},
                                                          {"ゆい々", "[]"},
                                                          {"嗟", R"(["嗟"])"},
                                                          {"唖唖太嗟", R"(["唖","嗟"])"}}) {
        const auto single = ParseJson(run({"--format", "json", "嗟峨", given}, ""));
        EXPECT_EQ(JsonAt(single, "/registrable"), refused == "[]" ? "true" : "false") << given;
        EXPECT_EQ(JsonAt(single, "/unregistrableCharacters"), refused) << given;
        const auto batch = ParseJson(run({"--batch"}, "嗟峨 " + given + "\n"));
        EXPECT_EQ(JsonAt(batch, "/unregistrableCharacters"), refused) << given;
        const std::string tsv =
            run({"--batch", "--format", "tsv", "--no-report"}, "山田 " + given + "\n");
        // The registrable cell, found by its column's name.
        const auto cells = [](std::string_view row) {
            std::vector<std::string> fields;
            for (std::size_t at = 0;;) {
                const std::size_t tab = row.find_first_of("\t\n", at);
                fields.emplace_back(row.substr(at, tab - at));
                if (tab == std::string_view::npos || row[tab] == '\n') return fields;
                at = tab + 1;
            }
        };
        const std::vector<std::string> header = cells(tsv);
        const std::vector<std::string> row =
            cells(std::string_view(tsv).substr(tsv.find('\n') + 1));
        const auto column = std::find(header.begin(), header.end(), "registrable") - header.begin();
        ASSERT_LT(static_cast<std::size_t>(column), row.size()) << tsv;
        EXPECT_EQ(row[static_cast<std::size_t>(column)], refused == "[]" ? "true" : "false") << tsv;
    }
}

// Every kind of line, so that chunks of any size cut through all of them;
// `records` counts the lines that are not blank.
std::string MixedLines(std::size_t count, std::size_t* records = nullptr) {
    const std::vector<std::string> kinds = {"山田 太郎\n",
                                            "佐々木 健一 honji\n",
                                            "山田 太a\n",
                                            "\n",
                                            "渡辺 花子\r\n",
                                            "ひとつ\n",
                                            "山田 \xED\xA0\x80\n",
                                            "  \n",
                                            "林 一 kanji\n",
                                            "山山山山山山山山山山山 子\n",
                                            std::string(4097, 'a') + "\n",
                                            "高橋　一郎 shinji\n"};
    std::string text;
    if (records) *records = 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& line = kinds[(i * 7 + i / 13) % kinds.size()];
        text += line;
        if (records && line.find_first_not_of(" \r\n") != std::string::npos) ++*records;
    }
    text += "斎藤 花";  // no final newline
    return text;
}

TEST(Cli, ParallelBatchIsByteForByteTheSerialOne) {
    std::size_t records = 0;
    const std::string input = MixedLines(100000, &records);
    for (const std::vector<std::string>& format :
         {std::vector<std::string>{}, std::vector<std::string>{"--format", "tsv", "--no-report"}}) {
        std::vector<std::string> serial = {"--batch", "--jobs", "1"};
        std::vector<std::string> parallel = {"--batch", "--jobs", "3"};
        serial.insert(serial.end(), format.begin(), format.end());
        parallel.insert(parallel.end(), format.begin(), format.end());
        const CliRun one = RunWith(serial, input);
        const CliRun three = RunWith(parallel, input);
        EXPECT_EQ(one.status, ExitMalformed);
        EXPECT_EQ(three.status, one.status);
        EXPECT_TRUE(one.out == three.out) << "outputs differ";
        EXPECT_EQ(three.err, one.err);  // the same summary
        if (format.empty()) {
            EXPECT_EQ(std::count(one.out.begin(), one.out.end(), '\n'),
                      static_cast<std::ptrdiff_t>(records));
            EXPECT_EQ(one.out.substr(one.out.rfind("{\"line\":"), 18), "{\"line\":100001,\"su");
        }
    }
}

struct ErrorCodeCase {
    std::vector<std::string> args;
    std::string line;
    std::string code;
    std::string characters;  // the JSON array, for unknown-character
};

class ErrorCodes : public ::testing::TestWithParam<ErrorCodeCase> {};

TEST_P(ErrorCodes, NameWhatWentWrong) {
    std::vector<std::string> args = {"--batch"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const CliRun run = RunWith(args, GetParam().line + "\n");
    const auto records = ParseJsonLines(run.out);
    ASSERT_EQ(records.size(), 1u) << run.out << run.err;
    EXPECT_EQ(StringAt(records[0], "/code"), GetParam().code);
    EXPECT_FALSE(StringAt(records[0], "/error").empty());
    if (!GetParam().characters.empty()) {
        EXPECT_EQ(JsonAt(records[0], "/characters"), GetParam().characters);
    }
    const bool refused =
        GetParam().code == "unknown-character" || GetParam().code == "refused-length";
    EXPECT_EQ(run.status, refused ? ExitRefused : ExitMalformed);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCode, ErrorCodes,
    ::testing::Values(
        ErrorCodeCase{{}, "山田 𠮷子", "unknown-character", R"(["𠮷"])"},
        ErrorCodeCase{{}, "ab 々子", "unknown-character", R"(["a","b","々"])"},
        ErrorCodeCase{{"--style", "honji"}, "々田 太郎", "unknown-character", R"(["々"])"},
        ErrorCodeCase{{}, "山山山山山山山山山山山 子", "refused-length", ""},
        ErrorCodeCase{{}, "ひとつ", "malformed", ""},
        ErrorCodeCase{{}, "山田 太郎 kanji", "malformed", ""},
        ErrorCodeCase{{"--input", "csv", "--name-column", "1"}, "山田太郎", "malformed", ""},
        ErrorCodeCase{{"--input", "csv"}, "山田,", "malformed", ""},
        ErrorCodeCase{{}, "山田 " + std::string(4096, 'x'), "too-long", ""},
        ErrorCodeCase{{}, "山田 \x91\xBE\x98\x59", "invalid-encoding", ""},
        ErrorCodeCase{{"--input-encoding", "cp932"}, "山田 \x81", "invalid-encoding", ""}));

struct TableCase {
    std::vector<std::string> args;
    std::string input;
    std::string names;       // "surname given" of each record; "-" for an error
    std::string firstInput;  // the first record's "input" object
};

class TableInputs : public ::testing::TestWithParam<TableCase> {};

TEST_P(TableInputs, ChooseTheColumnsAndKeepThem) {
    std::vector<std::string> args = {"--batch", "--no-report"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const CliRun run = RunWith(args, GetParam().input);
    std::string names;
    const auto records = ParseJsonLines(run.out);
    for (const auto& record : records) {
        names += names.empty() ? "" : ",";
        names += KeysOf(record).count("code")
                     ? "-"
                     : StringAt(record, "/surname") + " " + StringAt(record, "/given");
    }
    EXPECT_EQ(names, GetParam().names) << run.out << run.err;
    ASSERT_FALSE(records.empty());
    if (GetParam().firstInput.empty()) {
        EXPECT_EQ(KeysOf(records[0]).count("input"), 0u);
    } else {
        EXPECT_EQ(JsonAt(records[0], "/input"), GetParam().firstInput);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TableInputs,
    ::testing::Values(
        // A header is recognised by its names, wherever the columns are.
        TableCase{{"--input", "csv"},
                  "ID,名,姓\n7,太郎,山田\n",
                  "山田 太郎",
                  R"({"ID":"7","名":"太郎","姓":"山田"})"},
        TableCase{{"--input", "tsv"},
                  "id\tname\n7\t山田　太郎\n8\t\"林 一\"\n",
                  "山田 太郎,林 一",
                  R"({"id":"7","name":"山田　太郎"})"},
        // Without one, the first two columns, keyed by number.
        TableCase{{"--input", "csv"},
                  "\xEF\xBB\xBF山田,太郎,x\r\n",
                  "山田 太郎",
                  R"({"1":"山田","2":"太郎","3":"x"})"},
        TableCase{{"--input", "csv", "--no-header", "--no-keep-columns"},
                  "姓,名\n山田,太郎\n",
                  "-,山田 太郎",
                  ""},
        TableCase{{"--input", "csv", "--header", "--surname-column", "b", "--given-column", "3",
                   "--style-column", "s"},
                  "a,b,c,s\n1,\"山田\",\"太郎\",honji\n",
                  "山田 太郎",
                  R"({"a":"1","b":"山田","c":"太郎","s":"honji"})"},
        TableCase{{"--input", "csv"}, "姓,名\n山田,太郎,x\n", "-", R"({"姓":"山田","名":"太郎"})"},
        // Text lines: U+3000 separates, a byte-order mark is skipped.
        TableCase{{}, "\xEF\xBB\xBF山田　太郎\n", "山田 太郎", ""}));

TEST(Cli, CsvAndTsvLeaveTheReportOutUnlessAskedFor) {
    for (const char* format : {"csv", "tsv"}) {
        const CliRun plain = RunWith({"--batch", "--format", format}, "山田 太郎\n");
        const CliRun report = RunWith({"--batch", "--format", format, "--report"}, "山田 太郎\n");
        EXPECT_EQ(plain.out.find("report"), std::string::npos) << format;
        EXPECT_NE(report.out.find("report"), std::string::npos) << format;
        EXPECT_NE(report.out.find("総運＝21"), std::string::npos) << format;
    }
    EXPECT_EQ(RunWith({"--batch", "--format", "csv", "--bom"}, "山田 太郎\n")
                  .out.rfind("\xEF\xBB\xBFline,row,surname,", 0),
              0u);
}

// The one-pass conversion of the long texts reads back, through a JSON
// parser, as the plain lossy conversion: every single byte, escapes, a cut
// pair, invalid bytes, half-width kana.
TEST(Cp932Json, ReadsBackAsTheLossyConversion) {
    std::vector<std::string> texts = {Sjis("山田\r\n\"太郎\"\\表"), "\x81", "\x80\xA0\xFD\xB1",
                                      "\x82\x20", std::string("a\0b", 3)};
    for (int byte = 0; byte < 256; ++byte) texts.emplace_back(1, static_cast<char>(byte));
    for (const std::string& text : texts) {
        std::string json(Cp932::MaxJsonUtf8Size(text.size()) + 8, '\0');
        json.resize(Cp932::WriteJsonUtf8Lossy(text, json.data()));
        EXPECT_EQ(StringAt(ParseJson("{\"s\":\"" + json + "\"}"), "/s"), Cp932::ToUtf8Lossy(text))
            << json;
    }
}

TEST(Cli, BatchOfGoodNamesSucceeds) {
    const CliRun run = RunWith({"--batch", "--style", "honji"}, "山田 太郎\n");
    EXPECT_EQ(run.status, ExitReadingMade);
    EXPECT_EQ(JsonAt(ParseJson(run.out), "/strokes/given"), "[4,14]");
}

TEST(Cli, StrokesListsEachCharacter) {
    CliRun run = RunWith({"--strokes", "佐々木"});
    EXPECT_EQ(run.status, ExitReadingMade);
    EXPECT_EQ(run.out, "佐\t7\n々\t3\n木\t4\n");

    run = RunWith({"--strokes", "佐々木", "--style", "honji"});
    EXPECT_EQ(run.out, "佐\t7\n々\t7\n木\t4\n");

    run = RunWith({"--strokes", "山a、"});
    EXPECT_EQ(run.status, ExitRefused);
    EXPECT_EQ(run.out, "山\t3\na\t" + Invalid + "\n、\t" + Invalid + "\n");
}

TEST(Cli, PdfGoesThroughTheInjectedPrinter) {
    std::string written;
    CliServices services;
    services.writePdf = [&](const Reading& reading, const std::string& path) {
        written = path + ":" + std::to_string(reading.Fortune(Total));
        return std::string();
    };
    CliRun run = RunWith({"--pdf", "out.pdf", "山田", "太郎"}, {}, services);
    EXPECT_EQ(run.status, ExitReadingMade);
    EXPECT_EQ(written, "out.pdf:21");

    services.writePdf = [](const Reading&, const std::string&) {
        return std::string("cannot write out.pdf");
    };
    run = RunWith({"--pdf", "out.pdf", "山田", "太郎"}, {}, services);
    EXPECT_EQ(run.status, ExitIo);
    EXPECT_NE(run.err.find("cannot write out.pdf"), std::string::npos);
}

TEST(Cli, AFailedWriteEndsTheRunWithOneMessage) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"山田", "太郎"}, {"--batch"}, {"--batch", "--jobs", "2"}, {"--help"}}) {
        std::istringstream in(MixedLines(5000));
        std::ostream closed(nullptr);  // every write fails
        std::ostringstream err;
        EXPECT_EQ(RunCli(args, in, closed, err, FixtureTables()), ExitIo) << args[0];
        const std::string messages = err.str();
        EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 1) << messages;
    }
}

TEST(Cli, AnUnreadableInputEndsTheBatchAsAnInputFailure) {
    for (const char* jobs : {"1", "2"}) {
        soten::test::FailingInput input("山田 太郎\n林 一\n");
        std::istream in(&input);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunCli({"--batch", "--jobs", jobs}, in, out, err, FixtureTables()), ExitIo);
        EXPECT_EQ(ParseJsonLines(out.str()).size(), 2u) << jobs;
        EXPECT_NE(err.str().find("入力を読めません"), std::string::npos) << err.str();
    }
}

// Each name of a comparison is the record of its single reading, with its
// reading third (and, when given, its registry check); katakana is kept as
// hiragana.
TEST(Compare, EachNameIsItsSingleReadingWithItsReading) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"太郎", ""}, {"花子", "はなこ"}, {"一", "いち"}};
    const CliRun run = RunWith({"--compare", "--style", "honji", "山田", "太郎", "花子:ハナコ",
                                "一:いち", "--format", "json"});
    ASSERT_EQ(run.status, ExitReadingMade) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
    auto json = ParseJson(run.out);
    EXPECT_EQ(KeysOf(json), (std::set<std::string>{"surname", "style", "names"}));
    EXPECT_EQ(StringAt(json, "/surname"), "山田");
    EXPECT_EQ(StringAt(json, "/style"), "honji");
    ASSERT_EQ(SizeAt(json, "/names"), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        rapidjson::Value& record = json["names"][static_cast<rapidjson::SizeType>(i)];
        ASSERT_GE(record.MemberCount(), 3u);
        EXPECT_STREQ((record.MemberBegin() + 2)->name.GetString(), "reading");
        EXPECT_EQ(StringAt(record, "/reading"), names[i].second);
        record.EraseMember("reading");
        EXPECT_EQ(record.HasMember("readingCheck"), !names[i].second.empty());
        record.EraseMember("readingCheck");
        record.EraseMember("readingParts");
        // What a comparison adds for a name with a reading: its romaji.
        EXPECT_EQ(record.HasMember("romaji"), !names[i].second.empty()) << names[i].first;
        for (const char* key :
             {"romaji", "romajiAlternatives", "romajiFullName", "initials", "soundNotes"}) {
            record.EraseMember(key);
        }
        const CliRun single =
            RunWith({"--style", "honji", "--format", "json", "山田", names[i].first});
        EXPECT_EQ(JsonAt(record), JsonAt(ParseJson(single.out))) << names[i].first;
    }
}

TEST(Compare, ARefusedNameIsListedAndSetsTheStatus) {
    const CliRun json =
        RunWith({"--compare", "山田", "太a", "太郎", "子子子子子子子子子子子", "--format", "json"});
    EXPECT_EQ(json.status, ExitRefused);
    const auto document = ParseJson(json.out);
    EXPECT_EQ(JsonAt(document, "/names/0"), R"({"surname":"山田","given":"太a","reading":"",)"
                                            R"("code":"unknown-character","error":")" +
                                                Invalid + R"(","characters":["a"]})");
    EXPECT_EQ(IntAt(document, "/names/1/fortunes/total"), 21);
    EXPECT_EQ(StringAt(document, "/names/2/code"), "refused-length");

    const CliRun text =
        RunWith({"--compare", "--style", "honji", "山田", "太郎", "花子:はなこ", "太a"});
    EXPECT_EQ(text.status, ExitRefused);
    EXPECT_EQ(text.out,
              "山田（本字式）\n"
              "名前  読み    画数  天運  人運  地運  外運  総運  評点  戸籍  三才  陰陽  ローマ字\n"
              "太郎          4-14   8○   9×  18◎  17○  26△     6  可    大吉  凶\n"
              "花子  はなこ  10-3   8○  15◎  13◎   6○  21○    10  可    大吉  吉    YAMADA HANAKO\n"
              "太a           " +
                  Invalid + "　「a」は辞書にありません\n");
}

// The rows of a batch of the same names, with the reading after the given
// name and no line number (nor the batch's row and notes).
TEST(Compare, TablesAreTheBatchTablesWithTheReading) {
    for (const std::string format : {"tsv", "csv"}) {
        const std::string separator = format == "tsv" ? "\t" : ",";
        const std::string end = format == "tsv" ? "\n" : "\r\n";
        const CliRun batch = RunWith({"--batch", "--format", format}, "山田 太郎\n山田 花子\n");
        const CliRun run =
            RunWith({"--compare", "山田", "太郎", "花子:はなこ", "--format", format, "--bom"});
        ASSERT_EQ(run.status, ExitReadingMade) << run.err;
        std::string expected = "\xEF\xBB\xBF";
        std::istringstream rows(batch.out);
        const std::vector<std::string> readings = {"reading", "", "はなこ"};
        for (std::size_t row = 0; row < readings.size(); ++row) {
            std::string line;
            ASSERT_TRUE(std::getline(rows, line));
            if (format == "csv") line.pop_back();  // its CR
            // Without the batch's row and notes columns.
            const std::size_t afterLine = line.find(separator);
            line.erase(afterLine, line.find(separator, afterLine + 1) - afterLine);
            line.erase(line.rfind(separator));
            std::size_t afterGiven = 0;  // the third separator: line, surname, given
            for (int k = 0; k < 3; ++k) afterGiven = line.find(separator, afterGiven + (k > 0));
            line.insert(afterGiven, separator + readings[row]);
            if (row > 0) line.erase(0, line.find(separator));  // no line number
            expected += line + end;
        }
        EXPECT_EQ(run.out, expected) << format;
    }
}

ShortlistEntry Kept(const char* surname, const char* given, const char* reading, StrokeStyle style,
                    const char* note) {
    return {Sjis(surname), Sjis(given), Sjis(reading), style, Sjis(note)};
}

// A kept name as the file holds it, with characters code page 932 lacks.
ShortlistEntry Typed(const char* surname, const char* given) {
    ShortlistEntry entry;
    EXPECT_TRUE(entry.SetNames(surname, given));
    return entry;
}

struct ShortlistCase {
    std::vector<ShortlistEntry> entries;
    std::string problem;
    std::string format;
    int status;
    // Exact, or the start of the output when it ends in "..."; TSV and CSV
    // after the header, which is the batch header with "reading" and "note".
    std::string out;
};

class ShortlistListing : public ::testing::TestWithParam<ShortlistCase> {};

TEST_P(ShortlistListing, ListsEveryKeptNameWithItsOwnSurnameAndStyle) {
    CliServices services;
    services.loadShortlist = [] {
        SavedShortlist saved;
        for (const ShortlistEntry& entry : GetParam().entries) saved.list.Add(entry);
        saved.problem = GetParam().problem;
        return saved;
    };
    const CliRun run = RunWith({"--shortlist", "--format", GetParam().format}, {}, services);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    std::string out = run.out;
    if (GetParam().format == "tsv" || GetParam().format == "csv") {
        std::string header = RunWith({"--batch", "--format", GetParam().format}).out;
        const char separator = GetParam().format == "tsv" ? '\t' : ',';
        header.erase(header.find("row"), 4);  // the batch's own columns
        header.erase(header.find(separator + std::string("notes")), 6);
        header.insert(header.find("given") + 5, separator + std::string("reading"));
        header.insert(header.find_first_of("\r\n"), separator + std::string("note"));
        EXPECT_EQ(out.substr(0, header.size()), header);
        out.erase(0, header.size());
    }
    if (GetParam().out.ends_with("...")) {
        const std::string start = GetParam().out.substr(0, GetParam().out.size() - 3);
        EXPECT_EQ(out.substr(0, start.size()), start);
    } else {
        EXPECT_EQ(out, GetParam().out);
    }
    EXPECT_EQ(run.err, GetParam().problem.empty() ? "" : "soten-cli: " + GetParam().problem + "\n");
    if (GetParam().format != "json" || GetParam().entries.empty()) return;
    const auto json = ParseJson(run.out);
    EXPECT_EQ(KeysOf(json), std::set<std::string>{"names"});
    for (std::size_t i = 0; i < GetParam().entries.size(); ++i) {
        const ShortlistEntry& entry = GetParam().entries[i];
        const rapidjson::Value& record = json["names"][static_cast<rapidjson::SizeType>(i)];
        EXPECT_EQ(StringAt(record, "/surname"), entry.SurnameUtf8());
        EXPECT_EQ(StringAt(record, "/given"), entry.GivenUtf8());
        EXPECT_EQ(StringAt(record, "/style"), StyleName(entry.style));
        EXPECT_EQ(StringAt(record, "/reading"), Cp932::ToUtf8Lossy(entry.reading));
        ASSERT_GE(record.MemberCount(), 1u);
        EXPECT_STREQ((record.MemberEnd() - 1)->name.GetString(), "note");
        EXPECT_EQ(StringAt(record, "/note"), Cp932::ToUtf8Lossy(entry.note));
    }
}

const std::vector<ShortlistEntry> KeptNames = {
    Kept("山田", "花子", "はなこ", StrokeStyle::Honji, "祖母の名から"),
    Kept("林", "奈々", "", StrokeStyle::Shinji, ""),
    Kept("渡辺", "太a", "", StrokeStyle::Honji, "\"候補\"")};

INSTANTIATE_TEST_SUITE_P(
    Lists, ShortlistListing,
    ::testing::Values(
        ShortlistCase{KeptNames, "", "json", ExitRefused, R"({"names":[{"surname":"山田",...)"},
        ShortlistCase{KeptNames, "", "text", ExitRefused,
                      "名前       読み    画数式  画数  天運  人運  地運  外運  総運  評点  戸籍  "
                      "三才  陰陽  ローマ字       メモ\n"
                      "山田 花子  はなこ  本字式  10-3   8○  15◎  13◎   6○  21○    10  可    "
                      "大吉  吉    YAMADA HANAKO  祖母の名から\n"
                      "林 奈々            新字式  8-3    9×  16○  11◎   4×  19×     5  可    "
                      "大凶  吉\n"
                      "渡辺 太a           本字式  " +
                          Invalid +
                          "　「a」は辞書にありません                            \"候補\"\n"},
        ShortlistCase{{KeptNames[2]},
                      "",
                      "csv",
                      ExitRefused,
                      ",渡辺,太a,,honji,,,,,,,,,,,,,,,,,,,,,,,,,,,,,unknown-character," + Invalid +
                          ",a,\"\"\"候補\"\"\"\r\n"},
        ShortlistCase{{Typed("𠮷田", "一")},
                      "",
                      "csv",
                      ExitRefused,
                      ",𠮷田,一,,shinji,,,,,,,,,,,,,,,,,,,,,,,,,,,,,unknown-character," + Invalid +
                          ",𠮷,\r\n"},
        ShortlistCase{{Typed("山田", "太😀")}, "", "json", ExitRefused, "{\"names\":[{..."},
        ShortlistCase{{Typed("山田", "太😀")},
                      "",
                      "text",
                      ExitRefused,
                      "名前       読み  画数式  画数  天運  人運  地運  外運  総運  評点  戸籍  "
                      "三才  陰陽  ローマ字  メモ\n"
                      "山田 太😀        新字式  " +
                          Invalid + "　「😀」は辞書にありません\n"},
        ShortlistCase{{}, "", "json", ExitReadingMade, "{\"names\":[]}\n"},
        ShortlistCase{{}, "壊れていたので移しました", "tsv", ExitReadingMade, ""}));

TEST(Compare, PdfGoesThroughTheInjectedPrinter) {
    std::vector<ShortlistEntry> printed;
    CliServices services;
    services.writeComparisonPdf = [&](const std::vector<ShortlistEntry>& names,
                                      const std::string& path) {
        printed = names;
        return path == "bad.pdf" ? std::string("cannot write bad.pdf") : std::string();
    };
    CliRun run =
        RunWith({"--compare", "--style", "honji", "山田", "太郎", "太a:タア", "--pdf", "out.pdf"},
                {}, services);
    EXPECT_EQ(run.status, ExitRefused);  // the refused name is printed too
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_TRUE(printed[1].SameName(Kept("山田", "太a", "たあ", StrokeStyle::Honji, "")));

    run = RunWith({"--compare", "山田", "太郎", "--pdf", "bad.pdf"}, {}, services);
    EXPECT_EQ(run.status, ExitIo);
    EXPECT_EQ(run.err, "soten-cli: cannot write bad.pdf\n");

    services.loadShortlist = [] { return SavedShortlist{}; };
    run = RunWith({"--shortlist", "--pdf", "out.pdf"}, {}, services);
    EXPECT_EQ(run.status, ExitIo);
    EXPECT_EQ(run.err, "soten-cli: out.pdf に書き込めません。候補リストが空です\n");
}

TEST(Compare, TheHelperGetsFiveFieldsANameOnItsInput) {
    const std::string request =
        ComparisonPdfRequest({Kept("山田", "花子", "はなこ", StrokeStyle::Honji, "メモ,1:2"),
                              Kept("林", "一", "", StrokeStyle::Shinji, "")});
    // In UTF-8, as the list keeps the names.
    EXPECT_EQ(request.substr(0, 17), "5:honji,6:山田,");
    EXPECT_EQ(PdfRequestFields(request),
              (std::vector<std::string>{"honji", "山田", "花子", "はなこ", "メモ,1:2", "shinji",
                                        "林", "一", "", ""}));
}

TEST(Compare, TheHelperRefusesWhatIsNoRequest) {
    EXPECT_EQ(PdfRequestFields(""), std::vector<std::string>{});
    for (const std::string request : {"5:abc,", "3:abc", "3:abc;", "3abc,", ":abc,", "x:abc,",
                                      "-1:,", "3:abc,2", "99999999999999999999999:a,"}) {
        EXPECT_EQ(PdfRequestFields(request), std::nullopt) << request;
    }
}

TEST(Compare, FullWidthCharactersTakeTwoColumns) {
    for (const auto& [text, width] : std::vector<std::pair<std::string, std::size_t>>{
             {"", 0}, {"ab", 2}, {"山田", 4}, {"ﾀﾛｳ", 3}, {"○◎", 4}, {"𠮷a", 3}, {"ｦﾟ｡", 3}}) {
        EXPECT_EQ(DisplayWidth(text), width) << text;
    }
}

TEST(CliOptions, HelpAndVersion) {
    EXPECT_EQ(RunWith({"--help"}).status, ExitReadingMade);
    EXPECT_NE(RunWith({"--help"}).out.find("Usage"), std::string::npos);
    EXPECT_EQ(RunWith({"--version"}).out, "soten-cli " SOTEN_VERSION "\n");
}

}  // namespace
}  // namespace soten::cli
