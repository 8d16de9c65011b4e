#include "analysis/shortlist/FamilyCsv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/reading/Tables.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;

ShortlistEntry Entry(const char* given, const char* reading, const char* note) {
    ShortlistEntry entry{Sjis("山田"), Sjis(given), Sjis(reading), StrokeStyle::Shinji, Sjis(note)};
    entry.surnameReading = Sjis("やまだ");
    return entry;
}

std::vector<std::string> Rows(const std::string& csv) {
    std::vector<std::string> rows;
    std::size_t start = 0;
    for (std::size_t end; (end = csv.find("\r\n", start)) != std::string::npos; start = end + 2) {
        rows.push_back(csv.substr(start, end - start));
    }
    EXPECT_EQ(start, csv.size()) << "every row ends in CR LF";
    return rows;
}

TEST(FamilyCsv, OpensInASpreadsheetWithJapaneseHeadings) {
    const std::vector<ComparedName> names = {
        CompareName(Entry("太郎", "たろう", "祖母の案, \"第一\""), BuiltInTables()),
        CompareName(Entry("a", "", ""), BuiltInTables())};
    const std::string csv = FamilyCsv(names);
    ASSERT_TRUE(csv.starts_with("\xEF\xBB\xBF"));
    const std::vector<std::string> rows = Rows(csv.substr(3));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0],
              "名字,名前,読み,名字の読み,ローマ字,方式,画数,天運,人運,地運,外運,総運,評点,"
              "戸籍,三才,陰陽,頭文字,音の注意,メモ");
    EXPECT_TRUE(rows[1].starts_with("山田,太郎,たろう,やまだ,YAMADA TARO,新字式,4-9,")) << rows[1];
    EXPECT_NE(rows[1].find(",可,"), std::string::npos) << rows[1];
    EXPECT_TRUE(rows[1].ends_with(",T.Y.,,\"祖母の案, \"\"第一\"\"\"")) << rows[1];
    // The refusal stands under 画数, with the numbers' columns left empty.
    EXPECT_NE(rows[2].find(",不適切な文字があります　「a」は辞書にありません,,,,,,,字×,"),
              std::string::npos)
        << rows[2];
}

}  // namespace
}  // namespace soten
