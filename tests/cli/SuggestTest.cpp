#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "analysis/records/RecordWriter.h"
#include "cli/app/CliRunner.h"
#include "tests/cli/JsonForTests.h"
#include "tests/support/FixtureTables.h"

namespace soten::cli {
namespace {

using soten::test::Find;
using soten::test::IntAt;
using soten::test::JsonAt;
using soten::test::ParseJson;
using soten::test::SizeAt;
using soten::test::StringAt;

struct SuggestRun {
    int status = -1;
    std::string out;
    std::string err;
};

SuggestRun Suggest(std::vector<std::string> args) {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    args.insert(args.begin(), "--suggest");
    SuggestRun run;
    run.status = RunCli(args, in, out, err, BuiltInTables());
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
        // Every name a gender weighs in --space all is counted one by one.
        {{"山田", "--space", "all", "--gender", "f"}, ExitUsage},
        {{"山田", "--space", "all", "--gender", "f", "--reading", "ゆい"}, ExitReadingMade},
        {{"山田", "--limit", "0"}, ExitUsage},
        {{"山田", "--page", "-1"}, ExitUsage},
        {{"山田", "--min-grade", "total=5"}, ExitUsage},
        {{"山田", "--format", "xml"}, ExitUsage},
        {{"山田", "--contains", "大:1", "--contains", "翔:1"}, ExitUsage},
        {{"山田", "extra"}, ExitUsage},
        {{"山田", "--chars"}, ExitUsage},
        {{"山田", "--sort", "age"}, ExitUsage},
        {{"山田", "--morae", "0"}, ExitUsage},
        // Filters no name can satisfy are refused with the reason.
        {{"山田", "--reading-length", "2", "--reading-prefix", "ゆうき"}, ExitUsage},
        {{"山田", "--chars", "1", "--contains", "大翔"}, ExitUsage},
        {{"山田", "--morae", "2", "--reading", "ゆうき"}, ExitUsage},
        {{"山田", "--space", "all", "--reading", "ゆい", "--reading-contains", "か"}, ExitUsage},
        {{"山田", "--contains", "大", "--exclude", "大"}, ExitUsage},
        {{"山田", "--reading-prefix", "ゆう", "--reading-suffix", "き", "--reading-length", "2"},
         ExitUsage},
        {{"山田", "--space", "all", "--reading-contains", "きき", "--morae", "1"}, ExitUsage},
        // Yomi filters that once took minutes answer: no name of three kanji
        // reads 40 kana.
        {{"山田", "--space", "all", "--reading-contains", "き", "--morae", "40", "--reading-length",
          "40"},
         ExitReadingMade},
        {{"山田", "--space", "all", "--reading-contains", "き", "--reading-length", "8"},
         ExitReadingMade},
        {{"山田", "--gender", "m", "--include-unspecified", "--include-unregistrable", "--sort",
          "reading", "--reverse", "--exclude", "太", "--morae", "3"},
         ExitReadingMade},
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
    const auto json = ParseJson(run.out);
    EXPECT_EQ(StringAt(json, "/surname"), "山田");
    EXPECT_EQ(StringAt(json, "/style"), "shinji");
    EXPECT_EQ(StringAt(json, "/space"), "names");
    EXPECT_GT(IntAt(json, "/count"), 5);
    ASSERT_EQ(SizeAt(json, "/candidates"), 5u);
    for (const auto& candidate : json["candidates"].GetArray()) {
        const std::string gender = StringAt(candidate, "/gender");
        EXPECT_TRUE(gender == "f" || gender == "fm") << gender;
        EXPECT_EQ(JsonAt(candidate, "/registrable"), "true");
        EXPECT_EQ(JsonAt(candidate, "/readings"), "[" + JsonAt(candidate, "/reading") + "]");
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(RunCli({"--format", "json", "山田", StringAt(candidate, "/given")}, in, out, err,
                         BuiltInTables()),
                  ExitReadingMade);
        const auto reading = ParseJson(out.str());
        for (const char* key :
             {"/strokes", "/fortunes", "/grades", "/keywords", "/sansai", "/inyo"}) {
            const rapidjson::Value* found = Find(candidate, key);
            const rapidjson::Value* read = Find(reading, key);
            ASSERT_TRUE(found && read) << key;
            EXPECT_TRUE(*found == *read)
                << key << ": " << JsonAt(candidate, key) << " " << JsonAt(reading, key);
        }
        int score = 0;
        for (const char* key :
             {"/grades/person", "/grades/earth", "/grades/outer", "/grades/total"}) {
            const auto grade = IntAt(candidate, key);
            EXPECT_LE(grade, 3);
            score += 4 - static_cast<int>(grade);
        }
        EXPECT_EQ(IntAt(candidate, "/score"), score);
    }
}

TEST(Suggest, AllNamesHaveComposedReadingsAndNoGender) {
    const SuggestRun run =
        Suggest({"山田", "--space", "all", "--contains", "翔", "--limit", "3", "--format", "json"});
    ASSERT_EQ(run.status, ExitReadingMade) << run.err;
    const auto json = ParseJson(run.out);
    EXPECT_EQ(StringAt(json, "/space"), "all");
    ASSERT_EQ(SizeAt(json, "/candidates"), 3u);
    for (const auto& candidate : json["candidates"].GetArray()) {
        EXPECT_EQ(JsonAt(candidate, "/gender"), "null");
        EXPECT_EQ(JsonAt(candidate, "/registrable"), "true");
        const std::size_t readings = SizeAt(candidate, "/readings");
        EXPECT_GE(readings, 1u);
        EXPECT_LE(readings, 8u);
        EXPECT_EQ(JsonAt(candidate, "/readings/0"), JsonAt(candidate, "/reading"));
        EXPECT_NE(StringAt(candidate, "/given").find("翔"), std::string::npos);
    }
}

// A parent's first try: a girl's name read ゆい for 佐藤, the real names and
// then every spelling, in score order with the exact count.
TEST(Suggest, YuiListsRealGirlsNamesAndEverySpelling) {
    for (const bool all : {false, true}) {
        std::vector<std::string> args = {"佐藤",  "--reading", "ゆい", "--limit",
                                         "10000", "--format",  "json"};
        if (all) {
            args.insert(args.end(), {"--space", "all"});
        } else {
            args.insert(args.end(), {"--gender", "f"});
        }
        const SuggestRun run = Suggest(args);
        ASSERT_EQ(run.status, ExitReadingMade) << run.err;
        const auto json = ParseJson(run.out);
        ASSERT_EQ(static_cast<std::size_t>(IntAt(json, "/count")), SizeAt(json, "/candidates"));
        std::set<std::string> names;
        std::int64_t score = 12;
        for (const auto& candidate : json["candidates"].GetArray()) {
            EXPECT_EQ(StringAt(candidate, "/reading"), "ゆい");
            EXPECT_LE(IntAt(candidate, "/score"), score);
            score = IntAt(candidate, "/score");
            names.insert(StringAt(candidate, "/given"));
        }
        for (const char* name : {"結衣", "由衣", "優衣", "唯衣"})
            EXPECT_EQ(names.count(name), 1u) << name;
        EXPECT_EQ(names.count("唯"), 1u);
    }
}

std::vector<std::string> MemberNames(const rapidjson::Value& object) {
    std::vector<std::string> names;
    for (const auto& member : object.GetObject()) names.emplace_back(member.name.GetString());
    return names;
}

TEST(Suggest, JsonKeysAreInAlphabeticalOrder) {
    const SuggestRun run = Suggest({"山田", "--limit", "1", "--format", "json"});
    ASSERT_EQ(run.status, ExitReadingMade) << run.err;
    const auto json = ParseJson(run.out);
    using Names = std::vector<std::string>;
    EXPECT_EQ(MemberNames(json), (Names{"candidates", "count", "space", "style", "surname"}));
    ASSERT_EQ(SizeAt(json, "/candidates"), 1u);
    const rapidjson::Value& candidate = json["candidates"][0];
    EXPECT_EQ(MemberNames(candidate), (Names{"fortunes",
                                             "gender",
                                             "genderInferred",
                                             "genderLean",
                                             "given",
                                             "grades",
                                             "initials",
                                             "inyo",
                                             "keywords",
                                             "reading",
                                             "readingCheck",
                                             "readingParts",
                                             "readings",
                                             "registrable",
                                             "registry",
                                             "romaji",
                                             "romajiAlternatives",
                                             "romajiFullName",
                                             "sansai",
                                             "score",
                                             "soundNotes",
                                             "strokes"}));
    EXPECT_EQ(MemberNames(candidate["sansai"]),
              (Names{"earth", "heaven", "person", "relations", "verdict"}));
    EXPECT_EQ(MemberNames(candidate["fortunes"]),
              (Names{"earth", "heaven", "outer", "person", "total"}));
    EXPECT_EQ(MemberNames(candidate["strokes"]), (Names{"given", "surname"}));
}

// --min-sansai and --inyo-ok keep, in order, exactly the names of the
// unfiltered search whose verdicts pass.
TEST(Suggest, SansaiAndInyoFiltersEqualFilteringEveryName) {
    for (const char* minimum : {"吉", "大吉"}) {
        SCOPED_TRACE(minimum);
        const std::vector<std::string> base = {"佐々木", "--style",  "honji", "--chars",
                                               "1",      "--gender", "f",     "--limit",
                                               "10000",  "--format", "json"};
        const SuggestRun all = Suggest(base);
        std::vector<std::string> filteredArgs = base;
        filteredArgs.insert(filteredArgs.end(), {"--min-sansai", minimum, "--inyo-ok"});
        const SuggestRun filtered = Suggest(filteredArgs);
        ASSERT_EQ(all.status, ExitReadingMade) << all.err;
        ASSERT_EQ(filtered.status, ExitReadingMade) << filtered.err;
        const auto everyName = ParseJson(all.out);
        ASSERT_LT(IntAt(everyName, "/count"), 10000);
        std::vector<std::string> expected;
        for (const auto& candidate : everyName["candidates"].GetArray()) {
            const std::string sansai = StringAt(candidate, "/sansai/verdict");
            const bool sansaiPasses =
                sansai == "大吉" || (sansai == "吉" && std::string(minimum) == "吉");
            if (sansaiPasses && StringAt(candidate, "/inyo/verdict") != "凶") {
                expected.push_back(StringAt(candidate, "/given"));
            }
        }
        std::vector<std::string> found;
        const auto result = ParseJson(filtered.out);
        for (const auto& candidate : result["candidates"].GetArray()) {
            found.push_back(StringAt(candidate, "/given"));
        }
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(found, expected);
        EXPECT_EQ(IntAt(result, "/count"), static_cast<std::int64_t>(expected.size()));
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

TEST(Suggest, TsvQuotesAFieldAsTheBatchRecordsDo) {
    NameSearchResult result;
    NameCandidate candidate;
    candidate.given = "\"A\"";
    candidate.yomi = "B\tC";
    candidate.gender = NameGender::Both;
    candidate.keywords[Total].word = "x\r\ny";
    result.candidates.push_back(candidate);
    std::string out;
    RecordWriter(soten::test::FixtureTables(), {Format::Tsv, false, true, {}})
        .AppendSearch({}, result, out);
    const std::string row = out.substr(out.find('\n') + 1);
    EXPECT_EQ(row.rfind("\"\"\"A\"\"\"\t\"B\tC\"\tfm\t\t0\t0\t\"x\r\ny\"\t0\t", 0), 0u) << row;
    EXPECT_TRUE(row.ends_with("\ttrue\tok\tfalse\tneither\n")) << row;
}

// The records say whom a name leans to, which gender is inferred and what
// 戸籍 says.
TEST(Suggest, RecordsCarryTheLeanTheInferredGenderAndTheRegistry) {
    const struct {
        std::vector<std::string> args;
        const char* otherWay;
    } cases[] = {
        {{"山田", "--reading", "はると", "--gender", "m"}, "girls"},
        {{"山田", "--space", "all", "--reading", "ゆい", "--gender", "m"}, "girls"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--limit", "300", "--format", "json"});
        const SuggestRun run = Suggest(args);
        ASSERT_EQ(run.status, ExitReadingMade) << run.err;
        const auto json = ParseJson(run.out);
        ASSERT_GT(SizeAt(json, "/candidates"), 0u);
        const bool all = StringAt(json, "/space") == "all";
        for (const auto& candidate : json["candidates"].GetArray()) {
            // A dictionary's own gender stands whatever the lean.
            if (all) {
                EXPECT_NE(StringAt(candidate, "/genderLean"), c.otherWay);
            }
            const std::string registry = StringAt(candidate, "/registry");
            EXPECT_TRUE(registry == "ok" || registry == "checkReading") << registry;
            if (all) {
                EXPECT_EQ(JsonAt(candidate, "/gender"), "null");
            }
            if (JsonAt(candidate, "/genderInferred") != "true") continue;
            EXPECT_FALSE(all);
            EXPECT_EQ(StringAt(candidate, "/gender"), "m");
            EXPECT_EQ(StringAt(candidate, "/genderLean"), "boys");
        }
    }
}

TEST(Suggest, CapsTheLimitWithANote) {
    const SuggestRun run = Suggest({"山田", "--limit", "20000", "--format", "json"});
    ASSERT_EQ(run.status, ExitReadingMade);
    EXPECT_NE(run.err.find("10,000"), std::string::npos);
    EXPECT_EQ(SizeAt(ParseJson(run.out), "/candidates"), 10000u);
}

TEST(Suggest, IsReachedFromTheCommandLine) {
    const SuggestRun run = Suggest({"ab"});
    EXPECT_EQ(run.status, ExitRefused);
    EXPECT_EQ(run.err, "不適切な文字があります\n");
}

// A name holding a kanji of the avoid list is listed only when asked for,
// and wherever it is shown the note names the kanji and why.
TEST(Suggest, AvoidedKanjiComeWithTheirNoteInTheListAndTheComparison) {
    const std::string note = "死：死を表す字、刑：刑罰を表す字";
    struct Case {
        std::vector<std::string> args;
        std::string expected;  // in the output, or "" for the JSON case
    };
    const std::vector<Case> cases = {
        {{"--suggest", "佐藤", "--reading", "しけい", "--chars", "2"}, ""},
        {{"--suggest", "佐藤", "--reading", "しけい", "--chars", "2", "--include-avoided"},
         "死刑（しけい・女性）"},
        {{"--compare", "佐藤", "死刑", "結衣"}, "※避けたい字（死刑） " + note + "\n"},
    };
    for (const Case& c : cases) {
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(RunCli(c.args, in, out, err, BuiltInTables()), ExitReadingMade) << err.str();
        if (c.expected.empty()) {
            EXPECT_EQ(out.str().find("死刑"), std::string::npos);
            continue;
        }
        const std::size_t line = out.str().find(c.expected);
        ASSERT_NE(line, std::string::npos) << out.str();
        EXPECT_NE(out.str().find(note, line), std::string::npos) << out.str();
    }

    const std::vector<std::pair<std::vector<std::string>, const char*>> json = {
        {{"--suggest", "佐藤", "--reading", "しけい", "--chars", "2", "--include-avoided",
          "--format", "json", "--limit", "10000"},
         "/candidates"},
        {{"--compare", "佐藤", "死刑", "--format", "json"}, "/names"},
    };
    for (const auto& [args, list] : json) {
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(RunCli(args, in, out, err, BuiltInTables()), ExitReadingMade) << err.str();
        const auto parsed = ParseJson(out.str());
        const rapidjson::Value* names = Find(parsed, list);
        ASSERT_TRUE(names && names->IsArray());
        bool found = false;
        for (const auto& name : names->GetArray()) {
            const bool avoided = Find(name, "/avoidedKanji") != nullptr;
            EXPECT_EQ(avoided, StringAt(name, "/given").find("死") != std::string::npos);
            if (StringAt(name, "/given") != "死刑") continue;
            found = true;
            EXPECT_EQ(JsonAt(name, "/avoidedKanji"),
                      R"([{"kanji":"死","category":"死","reason":"死を表す字"},)"
                      R"({"kanji":"刑","category":"罪・罰","reason":"刑罰を表す字"}])");
        }
        EXPECT_TRUE(found) << list;
    }
}

}  // namespace
}  // namespace soten::cli

namespace soten::cli {
namespace {

// The registry check of the shown yomi, and the two readings options that
// contradict each other.
TEST(Suggest, CandidatesCarryTheirYomiCheckAndPartsOptionsConflict) {
    const SuggestRun run = Suggest({"佐藤", "--space", "all", "--reading", "ここあ", "--chars", "2",
                                    "--sort", "common", "--limit", "5", "--format", "json"});
    ASSERT_EQ(run.status, ExitReadingMade) << run.err;
    const auto json = ParseJson(run.out);
    bool found = false;
    for (const auto& candidate : json["candidates"].GetArray()) {
        if (std::string(candidate["given"].GetString()) != "心愛") continue;
        found = true;
        EXPECT_STREQ(candidate["readingCheck"].GetString(), "partial");
        EXPECT_STREQ(candidate["readingParts"][0][1].GetString(), "ここ");
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(Suggest({"佐藤", "--space", "all", "--common-only", "--any-reading"}).status,
              ExitUsage);
}

TEST(Suggest, JsonSpellsTheWholeNameWithTheSurnamesReading) {
    const SuggestRun run =
        Suggest({"佐藤", "--reading", "とうま", "--limit", "1", "--format", "json"});
    ASSERT_EQ(run.status, ExitReadingMade) << run.err;
    const auto json = ParseJson(run.out);
    EXPECT_EQ(StringAt(json, "/candidates/0/romaji"), "TOMA");
    EXPECT_EQ(StringAt(json, "/candidates/0/romajiFullName"), "SATO TOMA");
    EXPECT_EQ(StringAt(json, "/candidates/0/initials"), "T.S.");
    EXPECT_EQ(JsonAt(json, "/candidates/0/soundNotes"), R"(["「とう」が続けて二度"])");
}

}  // namespace
}  // namespace soten::cli
