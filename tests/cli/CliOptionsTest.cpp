#include <gtest/gtest.h>

#include "CliOptions.h"

namespace soten::cli {
namespace {

struct ParseCase {
    std::vector<std::string> args;
    std::string error;  // a part of the message; empty: the arguments are accepted
    Mode mode = Mode::Reading;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    for (const std::string& arg : c.args) *os << arg << " ";
}

class ModesAndOptions : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ModesAndOptions, ChooseTheModeOrRefuse) {
    std::string error;
    const auto options = ParseCliOptions(GetParam().args, error);
    if (GetParam().error.empty()) {
        ASSERT_TRUE(options) << error;
        EXPECT_EQ(options->mode, GetParam().mode);
    } else {
        EXPECT_FALSE(options);
        EXPECT_NE(error.find(GetParam().error), std::string::npos) << error;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ModesAndOptions,
    ::testing::Values(
        // Values are never modes: one starting with "-" is joined with "=".
        ParseCase{{"山田", "太郎", "--pdf", "--suggest"}, "--pdf needs a value"},
        ParseCase{{"山田", "太郎", "--pdf=./-x.pdf"}, ""},
        ParseCase{{"--suggest", "山田", "--page", "-1"}, "written --page=VALUE"},
        ParseCase{{"--", "--suggest", "山田"}, ""},
        ParseCase{{"--style", "honji", "--batch"}, "", Mode::Batch},
        ParseCase{{"--suggest=山田", "--limit=5", "--format=json"}, "", Mode::Suggest},
        ParseCase{{"--strokes=-"}, "", Mode::Strokes},
        ParseCase{{"--batch=yes"}, "--batch takes no value"},
        ParseCase{{"--batch", "--suggest", "山田"}, "--batch and --suggest cannot be combined"},
        ParseCase{{"--batch", "--help"}, "", Mode::Help},
        // Each mode refuses the options of the others.
        ParseCase{{"--batch", "--encoding", "cp932"}, "--encoding cannot be used with --batch"},
        ParseCase{{"--batch", "--pdf", "x.pdf"}, "--pdf cannot be used with --batch"},
        ParseCase{{"--jobs", "2", "山田", "太郎"}, "--jobs needs --batch"},
        ParseCase{{"--space", "all", "山田", "太郎"}, "--space needs --suggest"},
        ParseCase{{"--strokes", "山", "--no-report"}, "--no-report cannot be used with --strokes"},
        ParseCase{{"--suggest", "山田", "--lines"}, "--lines cannot be used with --suggest"},
        ParseCase{{"--suggest", "山田", "--limit", "3", "太郎"}, "unexpected argument 太郎"}));

TEST(CliOptions, AJoinedValueIsTakenWhole) {
    std::string error;
    const auto options = ParseCliOptions({"山田", "太郎", "--pdf=./-x.pdf"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->pdfPath, "./-x.pdf");
    EXPECT_EQ(options->surname, "山田");
}

TEST(CliOptions, SuggestFiltersAndStyleGoToTheSearch) {
    std::string error;
    const auto options = ParseCliOptions(
        {"--style", "honji", "--suggest", "山田", "--limit", "7", "--contains", "大:2"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->search.style, StrokeStyle::Honji);
    EXPECT_EQ(options->search.limit, 7);
    ASSERT_EQ(options->search.required.size(), 1u);
    EXPECT_EQ(options->search.required[0].position, 2);
    EXPECT_FALSE(options->search.surname.empty());
}

}  // namespace
}  // namespace soten::cli
