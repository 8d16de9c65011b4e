#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "CliRunner.h"
#include "FixtureTables.h"
#include "SuggestCommand.h"

namespace soten::cli {
namespace {

struct SuggestRun {
    int status = -1;
    std::string out;
    std::string err;
};

SuggestRun Suggest(std::vector<std::string> args) {
    std::ostringstream out;
    std::ostringstream err;
    args.insert(args.begin(), "--suggest");
    SuggestRun run;
    run.status = RunSuggest(args, out, err, BuiltInTables(), BuiltInNameSearchData());
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(Suggest, ExitStatusTellsResultsRefusalsAndUsageApart) {
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{"山田"}, ExitReadingMade},
        {{"山田", "--space", "all", "--contains", "翔:1", "--chars", "1", "--min-score", "12"},
         ExitReadingMade},  // nothing matches: an empty list
        {{"ab"}, ExitRefused},
        {{"一二三四五六七八九十一"}, ExitRefused},
        {{"山田", "--space", "all", "--gender", "f"}, ExitUsage},
        {{"山田", "--limit", "0"}, ExitUsage},
        {{"山田", "--page", "-1"}, ExitUsage},
        {{"山田", "--min-grade", "total=5"}, ExitUsage},
        {{"山田", "--format", "xml"}, ExitUsage},
        {{"山田", "--contains", "大:1", "--contains", "翔:1"}, ExitUsage},
        {{"山田", "extra"}, ExitUsage},
        {{"山田", "--chars"}, ExitUsage},
    };
    for (const auto& [args, status] : cases) {
        const SuggestRun run = Suggest(args);
        EXPECT_EQ(run.status, status) << args.size() << " " << args.back() << "\n" << run.err;
        EXPECT_EQ(run.err.empty(), status == ExitReadingMade) << args.back();
    }
}

TEST(Suggest, JsonCandidatesAreTheReadingsOfTheirNames) {
    const SuggestRun run =
        Suggest({"山田", "--gender", "f", "--min-grade", "person=3,earth=3,outer=3,total=3",
                 "--limit", "5", "--format", "json"});
    ASSERT_EQ(run.status, ExitReadingMade) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["surname"], "山田");
    EXPECT_EQ(json["style"], "shinji");
    EXPECT_EQ(json["space"], "names");
    EXPECT_GT(json["count"].get<std::uint64_t>(), 5u);
    ASSERT_EQ(json["candidates"].size(), 5u);
    for (const auto& candidate : json["candidates"]) {
        EXPECT_EQ(candidate["gender"], "f");
        EXPECT_TRUE(candidate["reading"].is_string());
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(RunCli({"--format", "json", "山田", candidate["given"].get<std::string>()}, in,
                         out, err, BuiltInTables()),
                  ExitReadingMade);
        const auto reading = nlohmann::json::parse(out.str());
        for (const char* key : {"strokes", "fortunes", "grades", "keywords"}) {
            EXPECT_EQ(candidate[key], reading[key]) << key;
        }
        int score = 0;
        for (const char* key : {"person", "earth", "outer", "total"}) {
            const int grade = candidate["grades"][key];
            EXPECT_LE(grade, 3);
            score += 4 - grade;
        }
        EXPECT_EQ(candidate["score"], score);
    }
}

TEST(Suggest, AllNamesHaveNoReadingOrGender) {
    const SuggestRun run =
        Suggest({"山田", "--space", "all", "--contains", "翔", "--limit", "3", "--format", "json"});
    ASSERT_EQ(run.status, ExitReadingMade) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["space"], "all");
    ASSERT_EQ(json["candidates"].size(), 3u);
    for (const auto& candidate : json["candidates"]) {
        EXPECT_TRUE(candidate["reading"].is_null());
        EXPECT_TRUE(candidate["gender"].is_null());
        EXPECT_NE(candidate["given"].get<std::string>().find("翔"), std::string::npos);
    }
}

TEST(Suggest, TsvHasAHeaderAndOneRowPerName) {
    const SuggestRun run = Suggest({"山田", "--limit", "4", "--format", "tsv"});
    ASSERT_EQ(run.status, ExitReadingMade);
    std::istringstream lines(run.out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].rfind("given\treading\tgender\tstrokes\ttotal\ttotal_grade", 0), 0u);
    const auto columns = [](const std::string& row) {
        return std::count(row.begin(), row.end(), '\t');
    };
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(columns(rows[i]), columns(rows[0]));
}

TEST(Suggest, CapsTheLimitWithANote) {
    const SuggestRun run = Suggest({"山田", "--limit", "20000", "--format", "json"});
    ASSERT_EQ(run.status, ExitReadingMade);
    EXPECT_NE(run.err.find("10,000"), std::string::npos);
    EXPECT_EQ(nlohmann::json::parse(run.out)["candidates"].size(), 10000u);
}

TEST(Suggest, IsReachedFromTheCommandLine) {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCli({"--suggest", "ab"}, in, out, err, BuiltInTables()), ExitRefused);
    EXPECT_EQ(err.str(), "不適切な文字があります\n");
}

}  // namespace
}  // namespace soten::cli
