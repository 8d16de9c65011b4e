#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

#include "LineSource.h"

namespace soten::cli {
namespace {

// Every line of `source` as "NUMBER:TEXT", "NUMBER:(too long)" for a line
// over the limit.
std::vector<std::string> ReadAll(LineSource& source) {
    std::vector<std::string> lines;
    LineBatch batch;
    long expected = 0;  // the first batch's number shows in the lines
    while (source.Next(batch)) {
        if (expected != 0) {
            EXPECT_EQ(batch.firstLine, expected);
        }
        for (std::size_t i = 0; i < batch.lines.size(); ++i) {
            lines.push_back(std::to_string(batch.firstLine + static_cast<long>(i)) + ":" +
                            (batch.lines[i].tooLong ? "(too long)" : std::string(batch.Line(i))));
        }
        expected = batch.firstLine + static_cast<long>(batch.lines.size());
    }
    return lines;
}

std::vector<std::string> ReadAll(const std::string& input) {
    std::istringstream in(input);
    LineSource source(in);
    const auto lines = ReadAll(source);
    EXPECT_FALSE(source.ReadFailed());
    return lines;
}

using Lines = std::vector<std::string>;

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

// Gives its text, then fails as a read(2) error does.
class FailingInput : public std::streambuf {
public:
    explicit FailingInput(std::string text) : text_(std::move(text)) {}

protected:
    int_type underflow() override {
        if (given_) {
            errno = EIO;
            throw std::ios_base::failure("read error");
        }
        given_ = true;
        setg(text_.data(), text_.data(), text_.data() + text_.size());
        return traits_type::to_int_type(text_[0]);
    }

private:
    std::string text_;
    bool given_ = false;
};

TEST(LineSource, ReportsAReadErrorAndDropsTheLineItCut) {
    FailingInput input("a\nb");
    std::istream in(&input);
    LineSource source(in);
    EXPECT_EQ(ReadAll(source), Lines{"1:a"});
    EXPECT_TRUE(source.ReadFailed());
    EXPECT_EQ(source.ReadError(), EIO);
}

}  // namespace
}  // namespace soten::cli
