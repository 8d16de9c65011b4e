// --batch on tables as people's files hold them: damaged rows, other
// encodings and line ends, headers, and an input that pauses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <ext/stdio_filebuf.h>
#include <sstream>
#include <thread>

#include "cli/app/CliOptions.h"
#include "cli/app/CliRunner.h"
#include "cli/batch/LineSource.h"
#include "cli/batch/NameText.h"
#include "tests/cli/BatchRunForTests.h"
#include "tests/cli/JsonForTests.h"
#include "tests/support/FixtureTables.h"

namespace soten::cli {
namespace {

using soten::test::BatchRun;
using soten::test::FixtureTables;
using soten::test::JsonAt;
using soten::test::KeysOf;
using soten::test::ParseJsonLines;
using soten::test::RunBatch;
using soten::test::StringAt;

// --batch with `args`, without the report these tests do not look at.
std::vector<std::string> BatchArgs(std::vector<std::string> args) {
    args.insert(args.begin(), {"--batch", "--no-report"});
    return args;
}

// Each record as "LINE/ROW CODE INPUT": CODE is "ok" for a reading, INPUT
// the kept cells.
std::vector<std::string> Records(const std::string& out) {
    std::vector<std::string> records;
    for (const auto& record : ParseJsonLines(out)) {
        std::string text = JsonAt(record, "/line") + "/" + JsonAt(record, "/row") + " ";
        text += KeysOf(record).count("code") ? StringAt(record, "/code") : "ok";
        if (KeysOf(record).count("input")) text += " " + JsonAt(record, "/input");
        records.push_back(text);
    }
    return records;
}

using Lines = std::vector<std::string>;

struct DamagedCase {
    const char* what;
    std::vector<std::string> args;
    std::string input;
    Lines records;
    int status;
};

const std::string Header = "ID,氏名,備考\n";

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::string ManyRows(int count) {
    std::string rows;
    for (int i = 2; i < count + 2; ++i) rows += std::to_string(i) + ",山田 太郎,ok\n";
    return rows;
}

class DamagedTables : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedTables, GiveOneRecordForEveryRow) {
    const BatchRun run = RunBatch(BatchArgs(GetParam().args), GetParam().input);
    const Lines records = Records(run.out);
    if (records.size() > 8) {
        // A long case: its ends and its count.
        ASSERT_EQ(records.size(), GetParam().records.size()) << run.err;
        EXPECT_EQ(records.front(), GetParam().records.front());
        EXPECT_EQ(records.back(), GetParam().records.back());
    } else {
        EXPECT_EQ(records, GetParam().records) << run.err;
    }
    EXPECT_EQ(run.status, GetParam().status) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedTables,
    ::testing::Values(
        DamagedCase{"a quote inside a cell is data",
                    {"--input", "csv"},
                    Header + "1,山田 太郎,5\"2\n2,山田 太郎,ok\n3,山田 太郎,身長5'2\"\n",
                    {R"(2/2 ok {"ID":"1","氏名":"山田 太郎","備考":"5\"2"})",
                     R"(3/3 ok {"ID":"2","氏名":"山田 太郎","備考":"ok"})",
                     R"(4/4 ok {"ID":"3","氏名":"山田 太郎","備考":"身長5'2\""})"},
                    ExitReadingMade},
        DamagedCase{"an unclosed quote costs its own row",
                    {"--input", "csv"},
                    Header + "1,山田 太郎,\"閉じ忘れ\n2,山田 太郎,ok\n",
                    {R"(2/2 malformed {"ID":"1","氏名":"山田 太郎","備考":"閉じ忘れ"})",
                     R"(3/3 ok {"ID":"2","氏名":"山田 太郎","備考":"ok"})"},
                    ExitMalformed},
        DamagedCase{"a quote still open after 100 lines",
                    {"--input", "csv"},
                    Header + "1,山田 太郎,\"x\n" + ManyRows(150),
                    [] {
                        Lines lines(151, "");
                        lines.front() = R"(2/2 malformed {"ID":"1","氏名":"山田 太郎","備考":"x"})";
                        lines.back() = R"(152/152 ok {"ID":"151","氏名":"山田 太郎","備考":"ok"})";
                        return lines;
                    }(),
                    ExitMalformed},
        DamagedCase{"a file cut inside a quote",
                    {"--input", "csv"},
                    Header + "1,山田 太郎,ok\n2,山田 太郎,\"cut",
                    {R"(2/2 ok {"ID":"1","氏名":"山田 太郎","備考":"ok"})",
                     R"(3/3 malformed {"ID":"2","氏名":"山田 太郎","備考":"cut"})"},
                    ExitMalformed},
        DamagedCase{"quoted line breaks, a blank row and a TSV stray quote",
                    {"--input", "tsv"},
                    "ID\t氏名\t備考\n1\t山田 太郎\t\"a\r\nb\"\n\n2\t山田 太郎\t5\"2\n",
                    {R"(2/2 ok {"ID":"1","氏名":"山田 太郎","備考":"a\r\nb"})",
                     R"(5/4 ok {"ID":"2","氏名":"山田 太郎","備考":"5\"2"})"},
                    ExitReadingMade},
        DamagedCase{
            "a long row is read whole, a long name is too long",
            {"--input", "csv"},
            Header + "1,山田 太郎," + std::string(5000, 'x') + "\n2,山田 " +
                std::string(5000, 'x') + ",ok\n",
            {R"(2/2 ok {"ID":"1","氏名":"山田 太郎","備考":")" + std::string(5000, 'x') + "\"}",
             R"(3/3 too-long {"ID":"2","氏名":"山田 )" + std::string(5000, 'x') +
                 R"(","備考":"ok"})"},
            ExitMalformed},
        DamagedCase{
            "a row over the limit costs only itself",
            {"--input", "csv", "--no-keep-columns"},
            Header + "1,山田 太郎," + std::string(MaxRowBytes + 1, 'x') + "\n2,山田 太郎,ok\n",
            {"2/2 too-long", "3/3 ok"},
            ExitMalformed},
        DamagedCase{"a NUL is data",
                    {"--input", "csv"},
                    Header + std::string("1,山田 太郎,a\0b\n", 20),
                    {R"(2/2 ok {"ID":"1","氏名":"山田 太郎","備考":"a\u0000b"})"},
                    ExitReadingMade},
        DamagedCase{"UTF-16 little-endian with CR LF",
                    {"--input", "csv", "--no-keep-columns"},
                    Utf16(u"ID,氏名\r\n1,山田 太郎\r\n2,林 一\r\n", false),
                    {"2/2 ok", "3/3 ok"},
                    ExitReadingMade},
        DamagedCase{"UTF-16 big-endian text lines",
                    {},
                    Utf16(u"山田 太郎\n林 一\n", true),
                    {"1/(missing) ok", "2/(missing) ok"},
                    ExitReadingMade},
        DamagedCase{"CR line ends and a UTF-8 byte-order mark",
                    {"--input", "csv", "--no-keep-columns"},
                    "\xEF\xBB\xBFID,氏名\r1,山田 太郎\r\r2,\"林\r一\"\r",
                    {"2/2 ok", "4/4 ok"},
                    ExitReadingMade}));

struct HeaderCase {
    std::vector<std::string> args;
    std::string input;
    std::string note;  // the note on stderr, or the usage error
    int status;
};

class Headers : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(Headers, ChooseTheNameColumnsAndSaySo) {
    std::vector<std::string> args = {"--input", "csv"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const BatchRun run = RunBatch(BatchArgs(args), GetParam().input);
    // The note on the columns, then the summary.
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), "soten-cli: " + GetParam().note + "\n");
    EXPECT_EQ(run.status, GetParam().status) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Names, Headers,
    ::testing::Values(
        HeaderCase{{},
                   "社員番号,名前,部署\n000001,山田　太郎,営業\n",
                   "1行目が見出し行。氏名: 2列目「名前」",
                   ExitReadingMade},
        HeaderCase{{},
                   "ID,氏　名\n1,山田 太郎\n",
                   "1行目が見出し行。氏名: 2列目「氏　名」",
                   ExitReadingMade},
        HeaderCase{{},
                   "ID,氏名（漢字）\n1,山田 太郎\n",
                   "1行目が見出し行。氏名: 2列目「氏名（漢字）」",
                   ExitReadingMade},
        HeaderCase{{},
                   "ＮＡＭＥ,x\n山田 太郎,1\n",
                   "1行目が見出し行。氏名: 1列目「ＮＡＭＥ」",
                   ExitReadingMade},
        HeaderCase{{},
                   "姓,名前\n山田,太郎\n",
                   "1行目が見出し行。姓: 1列目「姓」、名: 2列目「名前」",
                   ExitReadingMade},
        HeaderCase{{},
                   "ID,名\n1,太郎\n",
                   "見出し行に「名」（2列目）はありますが、姓の列がありません（--surname-column "
                   "で列を指定してください）",
                   ExitUsage},
        HeaderCase{{"--name-column", "漢字氏名"},
                   "ID,漢字氏名\n1,山田 太郎\n",
                   "1行目が見出し行。氏名: 2列目「漢字氏名」",
                   ExitReadingMade},
        HeaderCase{{"--skip-rows", "2"},
                   "社員名簿\n2026年度\nID,氏名\n1,山田 太郎\n",
                   "3行目が見出し行。氏名: 2列目「氏名」",
                   ExitReadingMade},
        HeaderCase{{}, "山田,太郎\n", "見出し行なし。姓: 1列目、名: 2列目", ExitReadingMade},
        HeaderCase{{"--surname-column", "nosuch"},
                   "\n\n姓,名\n山田,太郎\n",
                   "--surname-column nosuch: 見出しにその列がありません",
                   ExitUsage}));

// The input arrives in two writes with a pause between: the layout must
// come from the first row all the same.
TEST(BatchInput, APausedPipeIsReadAsTheWholeInput) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::thread writer([fd = fds[1]] {
        const std::string first(600, '\n');
        const std::string rest = "名,姓\n太郎,山田\n";
        EXPECT_EQ(write(fd, first.data(), first.size()), static_cast<ssize_t>(first.size()));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_EQ(write(fd, rest.data(), rest.size()), static_cast<ssize_t>(rest.size()));
        close(fd);
    });
    __gnu_cxx::stdio_filebuf<char> buffer(fds[0], std::ios::in);
    std::istream in(&buffer);
    const BatchRun run = RunBatch(BatchArgs({"--input", "csv", "--given-column", "名",
                                             "--surname-column", "姓", "--no-keep-columns"}),
                                  in);
    writer.join();
    const auto records = ParseJsonLines(run.out);
    ASSERT_EQ(records.size(), 1u) << run.out << run.err;
    EXPECT_EQ(StringAt(records[0], "/surname") + StringAt(records[0], "/given"), "山田太郎");
    EXPECT_EQ(JsonAt(records[0], "/row"), "602");
    EXPECT_EQ(run.status, ExitReadingMade);
}

struct NameCase {
    std::vector<std::string> args;
    std::string line;
    std::string record;  // "CODE" or "SURNAME GIVEN", then the notes
};

class NameCharacters : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameCharacters, AreReadAsTheNameMeant) {
    const BatchRun run = RunBatch(BatchArgs(GetParam().args), GetParam().line + "\n");
    const auto records = ParseJsonLines(run.out);
    ASSERT_EQ(records.size(), 1u) << run.out << run.err;
    std::string text = KeysOf(records[0]).count("code") ? StringAt(records[0], "/code")
                                                        : StringAt(records[0], "/surname") + " " +
                                                              StringAt(records[0], "/given");
    if (KeysOf(records[0]).count("notes")) text += " " + JsonAt(records[0], "/notes");
    EXPECT_EQ(text, GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(
    Cleaned, NameCharacters,
    ::testing::Values(
        NameCase{
            {}, "山\U000E0100田 太\uFE00郎", R"(山田 太郎 ["異体字セレクタを除いて読みました"])"},
        NameCase{{"--normalize"},
                 "山田 ﾀﾛｳﾞ",
                 R"(unknown-character ["半角カナを全角にして読みました"])"},
        NameCase{{}, "山田 ﾀﾛｳ", "unknown-character"},
        NameCase{{"--input", "csv", "--name-column", "1"}, "木村 拓 哉", "malformed"}));

TEST(NameText, WidensHalfWidthKanaAsNfkcDoes) {
    for (const auto& [half, full] : std::vector<std::pair<std::string, std::string>>{
             {"ｶﾅ", "カナ"},
             {"ｶﾞｯﾂﾎﾟｰｽﾞ", "ガッツポーズ"},
             {"ｳﾞｧ", "ヴァ"},
             {"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟﾊﾞ", "パピプペポバ"},
             {"ﾞｱﾟ", "゛ア゜"},  // nothing to join: spacing marks
             {"山田", "山田"}}) {
        std::string text = half;
        EXPECT_EQ(WidenHalfWidthKana(text), half != full) << half;
        EXPECT_EQ(text, full);
    }
}

TEST(NameText, LabelsACharacterThatShowsNothing) {
    EXPECT_EQ(CharacterLabel(U'𠮷'), "𠮷");
    EXPECT_EQ(CharacterLabel(0xE0100), "U+E0100");
    EXPECT_EQ(CharacterLabel(0x200B), "U+200B");
}

TEST(BatchInput, StrokesNameACharacterTheCodePageLacks) {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli({"--strokes", "山𠮷"}, in, out, err, FixtureTables()), ExitRefused);
    EXPECT_NE(out.str().find("\n𠮷\t"), std::string::npos) << out.str();
}

TEST(BatchInput, EncodingsGoByAnyOfTheirNames) {
    for (const auto& [name, encoding] :
         std::vector<std::pair<std::string, Encoding>>{{"SJIS", Encoding::Cp932},
                                                       {"shift_jis", Encoding::Cp932},
                                                       {"Shift-JIS", Encoding::Cp932},
                                                       {"CP932", Encoding::Cp932},
                                                       {"UTF8", Encoding::Utf8},
                                                       {"utf-16", Encoding::Utf16}}) {
        std::string error;
        const auto options = ParseCliOptions({"--batch", "--input-encoding", name}, error);
        ASSERT_TRUE(options) << name << ": " << error;
        EXPECT_EQ(options->inputEncoding, encoding) << name;
    }
}

}  // namespace
}  // namespace soten::cli
