#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string_view>

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
        ParseCase{{"山田", "太郎", "--pdf", "--suggest"}, "--pdf には値が必要です"},
        ParseCase{{"山田", "太郎", "--pdf=./-x.pdf"}, ""},
        ParseCase{{"--suggest", "山田", "--page", "-1"}, "--page=値 と書きます"},
        ParseCase{{"--", "--suggest", "山田"}, ""},
        ParseCase{{"--style", "honji", "--batch"}, "", Mode::Batch},
        ParseCase{{"--suggest=山田", "--limit=5", "--format=json"}, "", Mode::Suggest},
        ParseCase{{"--strokes=-"}, "", Mode::Strokes},
        ParseCase{{"--batch=yes"}, "--batch は値を取りません"},
        ParseCase{{"--batch", "--suggest", "山田"}, "--batch と --suggest は一緒に使えません"},
        ParseCase{{"--batch", "--help"}, "", Mode::Help},
        // Each mode refuses the options of the others.
        ParseCase{{"--batch", "--encoding", "cp932"}, "--encoding は --batch と一緒に使えません"},
        ParseCase{{"--batch", "--pdf", "x.pdf"}, "--pdf は --batch と一緒に使えません"},
        ParseCase{{"--jobs", "2", "山田", "太郎"}, "--jobs には --batch が必要です"},
        ParseCase{{"--space", "all", "山田", "太郎"}, "--space には --suggest が必要です"},
        ParseCase{{"--strokes", "山", "--no-report"},
                  "--no-report は --strokes と一緒に使えません"},
        ParseCase{{"--suggest", "山田", "--lines"}, "--lines は --suggest と一緒に使えません"},
        ParseCase{{"--suggest", "山田", "--limit", "3", "太郎"}, "余分な引数があります: 太郎"},
        ParseCase{{"--input", "csv", "山田", "太郎"}, "--input には --batch が必要です"},
        ParseCase{{"--suggest", "山田", "--format", "csv"},
                  "--suggest の出力は text、json、tsv のどれかです"},
        ParseCase{{"--compare", "山田", "太郎:タロウ", "--format=csv", "--bom", "--pdf", "a.pdf"},
                  "",
                  Mode::Compare},
        ParseCase{{"--compare", "山田", "太郎", "--encoding", "cp932"},
                  "--encoding は --compare と一緒に使えません"},
        ParseCase{{"--shortlist", "--format", "tsv", "--bom", "--pdf=a.pdf"}, "", Mode::Shortlist},
        // Table input.
        ParseCase{{"--batch", "--input", "xml"},
                  "--input は text、tsv、csv、xlsx、ods のどれかです"},
        ParseCase{{"--batch", "--input=csv", "--name-column", "氏名", "--given-column", "2"},
                  "--name-column は --surname-column や --given-column と一緒に使えません"},
        ParseCase{{"--batch", "--surname-column", "1"}, "には --input tsv か csv が必要です"},
        ParseCase{{"--batch", "--input=csv", "--header", "--no-header"},
                  "--header と --no-header は一緒に使えません"},
        ParseCase{{"--batch", "--input=csv", "--header", "--header"}, "", Mode::Batch},
        // Each mode lists only the formats it writes.
        ParseCase{{"--batch", "--format", "xml"}, "--format は json、tsv、csv のどれかです"},
        ParseCase{{"--style", "x", "山田", "太郎"}, "shinji か honji（新字式 か 本字式）"},
        ParseCase{{"--batch", "--output-encoding", "cp932"}, "--format tsv か csv が必要です"},
        ParseCase{{"--batch", "--format=csv", "--output-encoding=cp932", "--bom"},
                  "--bom と --output-encoding cp932 は一緒に使えません"},
        ParseCase{{"--batch", "--format=tsv", "--output-encoding=sjis"}, "", Mode::Batch},
        ParseCase{{"--batch", "--input=tsv", "--input-encoding=cp932", "--header", "--bom",
                   "--format=csv", "--report"},
                  "",
                  Mode::Batch}));

TEST(CliOptions, AUsageErrorShowsTheModeAskedFor) {
    for (const auto& [args, mode] :
         {std::pair{std::vector<std::string>{"--bogus", "--batch"}, Mode::Batch},
          std::pair{std::vector<std::string>{"--strokes=山"}, Mode::Strokes},
          std::pair{std::vector<std::string>{"--suggest", "山田", "--x"}, Mode::Suggest},
          std::pair{std::vector<std::string>{"--compare", "山田"}, Mode::Compare},
          std::pair{std::vector<std::string>{"--shortlist", "--x"}, Mode::Shortlist},
          std::pair{std::vector<std::string>{"山田"}, Mode::Reading}}) {
        EXPECT_EQ(RequestedMode(args), mode) << args[0];
    }
}

// `piece` stands on its own in `text`: "[--reading KANA]" mentions --reading,
// "[--reading-prefix KANA]" does not.
bool Mentions(const std::string& text, const std::string& piece) {
    for (std::size_t at = text.find(piece); at != std::string::npos;
         at = text.find(piece, at + 1)) {
        const char before = at == 0 ? ' ' : text[at - 1];
        const std::size_t end = at + piece.size();
        const char after = end == text.size() ? '\n' : text[end];
        if (std::string_view("[ ").find(before) != std::string_view::npos &&
            std::string_view(" ]\n").find(after) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

std::string Spelled(const CliOption& option) {
    return option.valueName ? std::string(option.name) + " " + option.valueName : option.name;
}

constexpr Mode Modes[] = {Mode::Reading, Mode::Batch,     Mode::Strokes, Mode::Suggest,
                          Mode::Compare, Mode::Shortlist, Mode::Help,    Mode::Version};

TEST(CliOptions, AModesUsageShowsExactlyTheOptionsItAccepts) {
    for (const Mode mode : Modes) {
        const std::string usage = ModeUsage(mode);
        for (const CliOption& option : CliOptionTable()) {
            const bool anyRowApplies = std::any_of(
                CliOptionTable().begin(), CliOptionTable().end(), [&](const CliOption& other) {
                    return std::string_view(other.name) == option.name &&
                           (other.modes & ModeBit(mode)) != 0;
                });
            if ((option.modes & ModeBit(mode)) != 0) {
                EXPECT_TRUE(Mentions(usage, Spelled(option))) << Spelled(option) << "\n" << usage;
            } else if (!anyRowApplies) {
                EXPECT_FALSE(Mentions(usage, option.name)) << option.name << "\n" << usage;
            }
        }
    }
}

TEST(CliOptions, TheHelpHoldsEveryFormAndExplainsEveryOption) {
    const std::string& help = HelpText();
    for (const Mode mode : Modes) {
        const std::string usage = ModeUsage(mode);
        ASSERT_TRUE(usage.starts_with("Usage: ")) << usage;
        EXPECT_NE(help.find(usage.substr(7)), std::string::npos) << usage;
    }
    // Each option's line, its help wrapped or not: "  --pdf FILE  also print ...".
    std::string words;
    for (std::istringstream stream(help); stream >> std::ws && !stream.eof();) {
        std::string word;
        stream >> word;
        words += " " + word;
    }
    for (const CliOption& option : CliOptionTable()) {
        ASSERT_FALSE(std::string_view(option.help).empty()) << option.name;
        const std::string label = (option.alias ? std::string(option.alias) + ", " : "") +
                                  (option.selects ? option.name : Spelled(option));
        EXPECT_NE(words.find(" " + label + " " + option.help), std::string::npos) << label;
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
