#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/naming/NameSearch.h"
#include "analysis/reading/Reading.h"
#include "analysis/shortlist/NameComparison.h"
#include "analysis/shortlist/Shortlist.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

ShortlistEntry Entry(const char* surname, const char* given, const char* reading,
                     StrokeStyle style = StrokeStyle::Shinji, const char* note = "") {
    return {Sjis(surname), Sjis(given), Sjis(reading), style, Sjis(note)};
}

std::vector<std::string> Givens(const Shortlist& list) {
    std::vector<std::string> givens;
    for (const ShortlistEntry& entry : list.Entries()) givens.push_back(Utf8(entry.given));
    return givens;
}

TEST(Shortlist, FileTextKeepsEveryEntryInOrder) {
    Shortlist list;
    list.Add(Entry("佐藤", "結衣", "ゆい", StrokeStyle::Shinji, "祖母の案 \"第一\"\n候補"));
    list.Add(Entry("鈴木", "陽菜", "", StrokeStyle::Honji));
    list.Add(Entry("佐藤", "由衣", "ゆい"));
    const std::string json = ShortlistToJson(list);
    EXPECT_NE(json.find("\"version\": 1"), std::string::npos) << json;
    EXPECT_NE(json.find("\"surname\": \"佐藤\""), std::string::npos) << json;

    std::string error;
    const auto read = ShortlistFromJson(json, error);
    ASSERT_TRUE(read) << Utf8(error);
    ASSERT_EQ(read->Size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(read->Entries()[i].SameName(list.Entries()[i])) << i;
        EXPECT_EQ(read->Entries()[i].note, list.Entries()[i].note) << i;
    }
}

TEST(Shortlist, SurnameReadingIsKeptOnlyWhereKnown) {
    Shortlist list;
    ShortlistEntry known = Entry("佐藤", "結衣", "ゆい");
    known.surnameReading = Sjis("さとう");
    list.Add(known);
    list.Add(Entry("鈴木", "陽菜", "ひな"));
    const std::string json = ShortlistToJson(list);
    EXPECT_EQ(json.find("surnameReading"), json.rfind("surnameReading")) << json;
    std::string error;
    const auto read = ShortlistFromJson(json, error);
    ASSERT_TRUE(read) << Utf8(error);
    EXPECT_EQ(Utf8(read->Entries()[0].surnameReading), "さとう");
    EXPECT_EQ(read->Entries()[1].surnameReading, "");
}

TEST(Shortlist, DamagedTextIsRefusedWithAReason) {
    const char* const damaged[] = {
        "",
        "{\"version\": 1, \"entries\": [",
        "[]",
        "{\"entries\": []}",
        "{\"version\": 2, \"entries\": []}",
        "{\"version\": 1}",
        "{\"version\": 1, \"entries\": {}}",
        "{\"version\": 1, \"entries\": [7]}",
        "{\"version\": 1, \"entries\": [{\"surname\": 7}]}",
        "{\"version\": 1, \"entries\": [{\"surname\": \"佐藤\", \"style\": \"kyuji\"}]}",
        "{\"version\": 1, \"entries\": [{\"note\": \"\xff\xfe\"}]}",
        "{\"version\": 1, \"entries\": [{\"note\": \"🙂\"}]}",
    };
    for (const char* text : damaged) {
        std::string error;
        EXPECT_FALSE(ShortlistFromJson(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

TEST(Shortlist, HandWrittenFileIsReadLeniently) {
    // Unknown members are a later version's; a name twice is kept once; a
    // character code page 932 lacks stays in the name, for the reading to refuse.
    std::string error;
    const auto read = ShortlistFromJson(
        "{\"version\": 1, \"saved\": \"x\", \"entries\": ["
        "{\"surname\": \"佐藤\", \"given\": \"結衣\", \"color\": 3},"
        "{\"surname\": \"佐藤\", \"given\": \"結衣\", \"note\": \"再\"},"
        "{\"surname\": \"𠮷田\", \"given\": \"一\"}]}",
        error);
    ASSERT_TRUE(read) << Utf8(error);
    ASSERT_EQ(read->Size(), 2u);
    EXPECT_EQ(read->Entries()[0].style, StrokeStyle::Shinji);
    EXPECT_EQ(read->Entries()[1].surname.size(), 3u);
}

TEST(Shortlist, HostileTextIsRefusedAndNeverExhaustsTheStack) {
    const std::string list = "{\"version\": 1, \"entries\": []}";
    const auto nested = [](int depth) {
        return "{\"version\": 1, \"entries\": [], \"later\": " + std::string(depth, '[') +
               std::string(depth, ']') + "}";
    };
    struct Case {
        std::string text;
        bool read;
    };
    for (const Case& c : {
             Case{std::string(200000, '['), false},
             Case{[] {
                      std::string deep;
                      for (int i = 0; i < 200000; ++i) deep += "{\"a\":";
                      return deep;
                  }(),
                  false},
             Case{nested(MaxShortlistDepth - 1), true},
             Case{nested(MaxShortlistDepth), false},
             Case{list + " \r\n\t\n", true},
             Case{list + "x", false},
             Case{list + list, false},
             Case{list + "\n[]", false},
             Case{list + std::string(1, '\0') + "x", false},
         }) {
        std::string error;
        EXPECT_EQ(ShortlistFromJson(c.text, error).has_value(), c.read) << c.text.substr(0, 80);
        EXPECT_EQ(error.empty(), c.read) << c.text.substr(0, 80);
    }
}

TEST(Shortlist, NamesCodePage932LacksKeepTheirTextAndAreNamedInTheRefusal) {
    std::string error;
    const auto read = ShortlistFromJson(
        "{\"version\": 1, \"entries\": [{\"surname\": \"𠮷田\", \"given\": \"一\"},"
        "{\"surname\": \"😀田\", \"given\": \"一\"},"
        "{\"surname\": \"山田\", \"given\": \"海😀\"}]}",
        error);
    ASSERT_TRUE(read) << Utf8(error);
    // Both unknown characters are SUB in code page 932, yet different names.
    ASSERT_EQ(read->Size(), 3u);
    const auto saved = ShortlistFromJson(ShortlistToJson(*read), error);
    ASSERT_TRUE(saved) << Utf8(error);
    const std::vector<std::pair<std::string, std::string>> names = {
        {"𠮷田", "一"}, {"😀田", "一"}, {"山田", "海😀"}};
    const std::vector<std::string> lacked = {"𠮷", "😀", "😀"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        const ShortlistEntry& entry = saved->Entries()[i];
        EXPECT_TRUE(entry.SameName(read->Entries()[i])) << i;
        EXPECT_EQ(entry.SurnameUtf8(), names[i].first) << i;
        EXPECT_EQ(entry.GivenUtf8(), names[i].second) << i;
        EXPECT_EQ(RefusalText(CompareName(entry, BuiltInTables())),
                  "不適切な文字があります　「" + lacked[i] + "」は辞書にありません")
            << i;
    }
}

TEST(Shortlist, ANameIsFoundWhereverChangesMovedIt) {
    Shortlist list;
    for (const char* given : {"一", "二", "三", "四", "五"}) list.Add(Entry("佐藤", given, ""));
    const auto expectFound = [&list](const char* step) {
        for (std::size_t i = 0; i < list.Size(); ++i) {
            ShortlistEntry again = list.Entries()[i];
            again.note = "other";
            EXPECT_EQ(list.Find(again), i) << step;
            EXPECT_FALSE(list.Add(again)) << step;
        }
    };
    list.Remove(1);
    expectFound("remove");
    list.Move(0, 3);
    expectFound("move down");
    list.Move(3, 1);
    expectFound("move up");
    list.Reorder({3, 2, 1, 0});
    expectFound("reorder");
    EXPECT_FALSE(list.Find(Entry("佐藤", "二", "")));
}

TEST(Shortlist, NamesMoveAndStayUnique) {
    Shortlist list;
    for (const char* given : {"一", "二", "三", "四"}) list.Add(Entry("佐藤", given, ""));
    EXPECT_FALSE(list.Add(Entry("佐藤", "二", "", StrokeStyle::Shinji, "note")));
    EXPECT_TRUE(list.Add(Entry("佐藤", "二", "", StrokeStyle::Honji)));
    list.Remove(4);
    list.Move(0, 2);
    EXPECT_EQ(Givens(list), (std::vector<std::string>{"二", "三", "一", "四"}));
    list.Move(3, 0);
    EXPECT_EQ(Givens(list), (std::vector<std::string>{"四", "二", "三", "一"}));
    list.Reorder({3, 2, 1, 0});
    EXPECT_EQ(Givens(list), (std::vector<std::string>{"一", "三", "二", "四"}));
}

TEST(NameComparison, EachNameReadsAsItsOwnReadingAndScoresAsTheSearch) {
    for (const StrokeStyle style : {StrokeStyle::Shinji, StrokeStyle::Honji}) {
        const ComparedName compared =
            CompareName(Entry("山田", "太郎", "たろう", style), BuiltInTables());
        ASSERT_TRUE(compared.reading);
        const Reading reading = test::ReadingOf("山田", "太郎", style, BuiltInTables());
        EXPECT_EQ(compared.reading->Counted().Fortunes, reading.Counted().Fortunes);
        EXPECT_EQ(compared.reading->Report(), reading.Report());
        EXPECT_EQ(compared.reading->GivenYomi(), Sjis("たろう"));

        NameSearchFilters filters;
        filters.surname = Sjis("山田");
        filters.style = style;
        filters.yomi.exact = Sjis("たろう");
        filters.limit = MaxSearchLimit;
        const NameSearchResult result =
            SearchNames(filters, BuiltInTables(), BuiltInNameSearchData());
        const auto found = std::find_if(
            result.candidates.begin(), result.candidates.end(),
            [](const NameCandidate& candidate) { return candidate.given == Sjis("太郎"); });
        ASSERT_NE(found, result.candidates.end());
        EXPECT_EQ(compared.score, found->score);
        EXPECT_EQ(compared.sansai.verdict, found->sansai.verdict);
        EXPECT_EQ(compared.inyo.verdict, found->inyo.verdict);
    }
}

TEST(NameComparison, RefusedNamesAreListedAndSortLast) {
    // 翔太 scores higher than 太郎 with 山田; "a" is in no dictionary.
    const std::vector<ComparedName> names =
        CompareNames({Entry("山田", "太郎", "たろう"), Entry("山田", "a", ""),
                      Entry("山田", "翔太", "しょうた")},
                     BuiltInTables());
    ASSERT_TRUE(names[1].refusal);
    EXPECT_EQ(RefusalText(names[1]), "不適切な文字があります　「a」は辞書にありません");
    EXPECT_FALSE(names[1].registrable);
    ASSERT_NE(names[0].score, names[2].score);
    const std::size_t best = names[0].score > names[2].score ? 0 : 2;
    EXPECT_EQ(ComparisonOrder(names, ComparisonKey::Score, false),
              (std::vector<std::size_t>{best, 2 - best, 1}));
    EXPECT_EQ(ComparisonOrder(names, ComparisonKey::Score, true),
              (std::vector<std::size_t>{2 - best, best, 1}));
    // Keys of the entry itself sort refused names too; no reading comes last.
    EXPECT_EQ(ComparisonOrder(names, ComparisonKey::Reading, false),
              (std::vector<std::size_t>{2, 0, 1}));
}

}  // namespace
}  // namespace soten
