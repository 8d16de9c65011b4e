#include <gtest/gtest.h>

#include "cli/app/CliOptions.h"

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
        ParseCase{{"--suggest", "山田", "--limit", "3", "太郎"}, "unexpected argument 太郎"},
        ParseCase{{"--input", "csv", "山田", "太郎"}, "--input needs --batch"},
        ParseCase{{"--suggest", "山田", "--format", "csv"}, "--suggest writes text, json or tsv"},
        ParseCase{{"--compare", "山田", "太郎:タロウ", "--format=csv", "--bom", "--pdf", "a.pdf"},
                  "",
                  Mode::Compare},
        ParseCase{{"--compare", "山田", "太郎", "--encoding", "cp932"},
                  "--encoding cannot be used with --compare"},
        ParseCase{{"--shortlist", "--format", "tsv", "--bom", "--pdf=a.pdf"}, "", Mode::Shortlist},
        // Table input.
        ParseCase{{"--batch", "--input", "xml"}, "--input must be text, tsv or csv"},
        ParseCase{{"--batch", "--input=csv", "--name-column", "氏名", "--given-column", "2"},
                  "--name-column cannot be combined"},
        ParseCase{{"--batch", "--surname-column", "1"}, "need --input tsv or csv"},
        ParseCase{{"--batch", "--input=tsv", "--input-encoding=cp932", "--header", "--bom",
                   "--format=csv", "--report"},
                  "",
                  Mode::Batch}));

TEST(CliOptions, TheUsageOfAModeIsItsPartOfTheHelp) {
    for (const auto& [args, mode] :
         {std::pair{std::vector<std::string>{"--bogus", "--batch"}, Mode::Batch},
          std::pair{std::vector<std::string>{"--strokes=山"}, Mode::Strokes},
          std::pair{std::vector<std::string>{"--suggest", "山田", "--x"}, Mode::Suggest},
          std::pair{std::vector<std::string>{"--compare", "山田"}, Mode::Compare},
          std::pair{std::vector<std::string>{"--shortlist", "--x"}, Mode::Shortlist},
          std::pair{std::vector<std::string>{"山田"}, Mode::Reading}}) {
        EXPECT_EQ(RequestedMode(args), mode) << args[0];
        EXPECT_NE(std::string(UsageText).find(std::string(ModeUsage(mode)).substr(6, 30)),
                  std::string::npos)
            << args[0];
    }
}

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
