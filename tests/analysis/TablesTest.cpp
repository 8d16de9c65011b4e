#include <gtest/gtest.h>

#include <array>

#include "analysis/reading/Tables.h"
#include "data/include/EmbeddedTables.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

std::string Rows(int count, const char* row) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::string(row) + "\n";
    return text;
}

TEST(Tables, LoadRowsAndToleratesCrLf) {
    const auto rows = TableRowsFromUtf8("山\r\n田\n\n太");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], Sjis("山"));
    EXPECT_EQ(rows[2], "");
    EXPECT_EQ(rows[3], Sjis("太"));
}

TEST(Tables, RefuseMalformedTables) {
    const std::string strokes = Rows(60, "");
    const std::string keywords = Rows(80, "2幸福");
    const std::string readings = Rows(110, "これは，文章です。");
    EXPECT_NO_THROW(Tables::FromUtf8(strokes, keywords, readings));
    EXPECT_THROW(Tables::FromUtf8(Rows(59, ""), keywords, readings), std::invalid_argument);
    EXPECT_THROW(Tables::FromUtf8(strokes, Rows(79, "2幸福"), readings), std::invalid_argument);
    EXPECT_THROW(Tables::FromUtf8(strokes, Rows(80, "5幸福"), readings), std::invalid_argument);
    EXPECT_THROW(Tables::FromUtf8(strokes, Rows(80, "2幸"), readings), std::invalid_argument);
    EXPECT_THROW(Tables::FromUtf8(strokes, keywords, Rows(109, "これは，")), std::invalid_argument);
    EXPECT_THROW(Tables::FromUtf8(strokes, keywords, Rows(110, "\xF0\x9F\x98\x80")),
                 std::invalid_argument);
}

TEST(BuiltInKeywordTable, HoldsTheEightyGradedKeywords) {
    const Tables& tables = BuiltInTables();
    ASSERT_EQ(tables.keywords.RowCount(), 80u);
    EXPECT_EQ(Utf8(tables.KeywordRow(0)), "2幸福");
    EXPECT_EQ(Utf8(tables.KeywordRow(20)), "2大成");
    EXPECT_EQ(Utf8(tables.KeywordRow(79)), "4不幸");
    std::array<int, 5> perGrade{};
    for (std::size_t row = 0; row < 80; ++row) {
        const std::string& text = tables.KeywordRow(row);
        ASSERT_EQ(text.size(), 5u) << row;
        ++perGrade[static_cast<std::size_t>(text[0] - '0')];
    }
    EXPECT_EQ(perGrade[1], 12);
    EXPECT_EQ(perGrade[2], 21);
    EXPECT_EQ(perGrade[3], 13);
    EXPECT_EQ(perGrade[4], 34);
}

TEST(BuiltInTables, HaveEvenRowsInEveryTable) {
    const Tables& tables = BuiltInTables();
    ASSERT_EQ(tables.readingTexts.RowCount(), 110u);
    for (std::size_t row = 0; row < 110; ++row) {
        EXPECT_EQ(tables.ReadingTextRow(row).size() % 2, 0u) << row;
    }
    for (int line = 0; line < StrokeDictionary::LineCount; ++line) {
        EXPECT_EQ(tables.dictionary.Line(line).size() % 2, 0u) << line;
    }
}

// Converted when the program was built, they are what the program would
// make of their text.
TEST(BuiltInTables, AreTheirTextConverted) {
    const Tables& built = BuiltInTables();
    const Tables text =
        Tables::FromUtf8(embedded::StrokeDictionaryText(), embedded::KeywordTableText(),
                         embedded::ReadingTextTableText());
    for (int line = 0; line < StrokeDictionary::LineCount; ++line) {
        EXPECT_EQ(built.dictionary.Line(line), text.dictionary.Line(line)) << line;
    }
    for (std::size_t row = 0; row < Tables::KeywordRows; ++row) {
        EXPECT_EQ(built.KeywordRow(row), text.KeywordRow(row)) << row;
    }
    for (std::size_t row = 0; row < Tables::ReadingTextRows; ++row) {
        EXPECT_EQ(built.ReadingTextRow(row), text.ReadingTextRow(row)) << row;
    }
}

}  // namespace
}  // namespace soten
