#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

#include "cli/batch/LineSource.h"
#include "tests/cli/FailingInput.h"

namespace soten::cli {
namespace {

// Every row of `source` as "NUMBER:TEXT", "NUMBER:(too long)" for a row
// over the limit, "NUMBER:(unclosed)TEXT" for one whose quote does not close.
std::vector<std::string> ReadAll(LineSource& source) {
    std::vector<std::string> lines;
    LineBatch batch;
    while (source.Next(batch)) {
        EXPECT_EQ(batch.firstLine, batch.lines.front().number);
        for (std::size_t i = 0; i < batch.lines.size(); ++i) {
            const LineSpan& span = batch.lines[i];
            lines.push_back(std::to_string(span.number) + ":" +
                            (span.tooLong         ? "(too long)"
                             : span.unclosedQuote ? "(unclosed)" + std::string(batch.Line(i))
                                                  : std::string(batch.Line(i))));
        }
    }
    return lines;
}

std::vector<std::string> ReadAll(const std::string& input, char separator = 0) {
    std::istringstream in(input);
    LineSource source(in, separator);
    const auto lines = ReadAll(source);
    EXPECT_FALSE(source.ReadFailed());
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineSource, KeepsQuotedLineBreaksOfATableAndSkipsAByteOrderMark) {
    const std::string input =
        "\xEF\xBB\xBF"
        "a,\"x\ny\"\r\nb,\"\"\"\n\"\"\"\nc\n";
    EXPECT_EQ(ReadAll(input, ','), (Lines{"1:a,\"x\ny\"", "3:b,\"\"\"\n\"\"\"", "5:c"}));
    EXPECT_EQ(ReadAll(input), (Lines{"1:a,\"x", "2:y\"", "3:b,\"\"\"", "4:\"\"\"", "5:c"}));
}

TEST(LineSource, SplitsAndCountsLines) {
    const std::string limit(MaxRowBytes, 'x');
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"", {}},
        {"a\nb\n", {"1:a", "2:b"}},
        {"a\r\nb", {"1:a", "2:b"}},  // the last line needs no line end
        {"a\rb\r\rc\r\n", {"1:a", "2:b", "3:", "4:c"}},
        {"\n\n", {"1:", "2:"}},
        {limit + "\r\n", {"1:" + limit}},  // a CR LF end is not part of the length
        {limit + "x\nok\n", {"1:(too long)", "2:ok"}},
        {"ok\n" + limit + "xx", {"1:ok", "2:(too long)"}},
    };
    for (const auto& [input, lines] : cases) {
        EXPECT_EQ(ReadAll(input), lines) << input.substr(0, 20);
    }
}

TEST(LineSource, TakesAQuoteAsSpecialOnlyAtTheStartOfACell) {
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"a,5\"2\nb,x\n", {"1:a,5\"2", "2:b,x"}},
        {"a,\"x\"y\nb\n", {"1:a,\"x\"y", "2:b"}},  // text after the closing quote
        {"a,\"open\nb,x\nc\n", {"1:(unclosed)a,\"open", "2:b,x", "3:c"}},
        {"\"q\r\nr\",\"open\r\nb\n", {"1:(unclosed)\"q\r\nr\",\"open", "3:b"}},
        {"a,\"cut", {"1:(unclosed)a,\"cut"}},
        {"a\t\"x\ty\"\n", {"1:a\t\"x\ty\""}},
    };
    for (const auto& [input, lines] : cases) {
        const char separator = input.find('\t') == std::string::npos ? ',' : '\t';
        EXPECT_EQ(ReadAll(input, separator), lines) << input;
    }
}

TEST(LineSource, NumbersRowsAsASpreadsheetShowsThem) {
    std::istringstream in("h\n\n\"a\nb\"\nc\n");
    LineSource source(in, ',');
    LineBatch batch;
    ASSERT_TRUE(source.Next(batch));
    std::vector<std::pair<long, long>> numbers;
    for (const LineSpan& span : batch.lines) numbers.emplace_back(span.number, span.row);
    EXPECT_EQ(numbers, (std::vector<std::pair<long, long>>{{1, 1}, {2, 2}, {3, 3}, {5, 4}}));
}

TEST(LineSource, ReadsUtf16AsUtf8AcrossItsReads) {
    // The surrogate pair of 𠮷 straddles the first 64 KiB read.
    std::string input = "\xFF\xFE";
    for (int i = 0; i < 32766; ++i) input += std::string("a\0", 2);
    input +=
        std::string("\x42\xD8\xB7\xDF\r\0\n\0\x00\xD8\n\0", 12);  // 𠮷 CR LF, a lone surrogate LF
    std::istringstream in(input);
    LineSource source(in);
    const Lines lines = ReadAll(source);
    EXPECT_TRUE(source.Utf16());
    EXPECT_EQ(lines, (Lines{"1:" + std::string(32766, 'a') + "𠮷", "2:\xFF"}));
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
    const std::string next = std::to_string(LineSource::BatchLines + 1);
    EXPECT_EQ(rest.front(), next + ":" + next);
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
