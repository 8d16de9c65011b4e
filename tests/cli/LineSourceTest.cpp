#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

#include "cli/batch/LineSource.h"
#include "tests/cli/FailingInput.h"

namespace soten::cli {
namespace {

// Every line of `source` as "NUMBER:TEXT", "NUMBER:(too long)" for a line
// over the limit.
std::vector<std::string> ReadAll(LineSource& source) {
    std::vector<std::string> lines;
    LineBatch batch;
    while (source.Next(batch)) {
        EXPECT_EQ(batch.firstLine, batch.lines.front().number);
        for (std::size_t i = 0; i < batch.lines.size(); ++i) {
            lines.push_back(std::to_string(batch.lines[i].number) + ":" +
                            (batch.lines[i].tooLong ? "(too long)" : std::string(batch.Line(i))));
        }
    }
    return lines;
}

std::vector<std::string> ReadAll(const std::string& input, bool quotedBreaks = false) {
    std::istringstream in(input);
    LineSource source(in, quotedBreaks);
    const auto lines = ReadAll(source);
    EXPECT_FALSE(source.ReadFailed());
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineSource, KeepsQuotedLineBreaksOfATableAndSkipsAByteOrderMark) {
    const std::string input =
        "\xEF\xBB\xBF"
        "a,\"x\ny\"\r\nb,\"\"\"\n\"\"\"\nc\n";
    EXPECT_EQ(ReadAll(input, true), (Lines{"1:a,\"x\ny\"\r", "3:b,\"\"\"\n\"\"\"", "5:c"}));
    EXPECT_EQ(ReadAll(input), (Lines{"1:a,\"x", "2:y\"\r", "3:b,\"\"\"", "4:\"\"\"", "5:c"}));
}

TEST(LineSource, SplitsAndCountsLines) {
    const std::string limit(MaxBatchLineBytes, 'x');
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"", {}},
        {"a\nb\n", {"1:a", "2:b"}},
        {"a\r\nb", {"1:a\r", "2:b"}},  // the CR stays; the last line needs no "\n"
        {"\n\n", {"1:", "2:"}},
        {limit + "\r\n", {"1:" + limit + "\r"}},  // a CR LF end is not part of the length
        {limit + "x\nok\n", {"1:(too long)", "2:ok"}},
        {"ok\n" + limit + "xx", {"1:ok", "2:(too long)"}},
    };
    for (const auto& [input, lines] : cases) {
        EXPECT_EQ(ReadAll(input), lines) << input.substr(0, 20);
    }
}

TEST(LineSource, BoundsABatchAndNumbersOnAcrossBatches) {
    std::string input;
    for (int i = 1; i <= 1000; ++i) input += std::to_string(i) + "\n";
    std::istringstream in(input);
    LineSource source(in);
    LineBatch batch;
    ASSERT_TRUE(source.Next(batch));
    EXPECT_EQ(batch.lines.size(), LineSource::BatchLines);
    const Lines rest = ReadAll(source);
    ASSERT_EQ(rest.size(), 1000 - LineSource::BatchLines);
    EXPECT_EQ(rest.front(), "513:513");
    EXPECT_EQ(rest.back(), "1000:1000");
}

TEST(LineSource, ReportsAReadErrorAndDropsTheLineItCut) {
    soten::test::FailingInput input("a\nb");
    std::istream in(&input);
    LineSource source(in);
    EXPECT_EQ(ReadAll(source), Lines{"1:a"});
    EXPECT_TRUE(source.ReadFailed());
    EXPECT_EQ(source.ReadError(), EIO);
}

}  // namespace
}  // namespace soten::cli
