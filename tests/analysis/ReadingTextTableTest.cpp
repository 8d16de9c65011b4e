// The committed reading paragraphs (data/readings.txt) as the program reads
// them: the embedded text converted to code page 932 by BuiltInTables(). The
// editorial rules of the texts themselves (lengths, punctuation, openings,
// closings, repeated sentences) are tools/check_readings.py's, which CTest runs
// as ReadingTextsEditorialCheck.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

TEST(ReadingTextTable, WorkedExampleReadsTheRightParagraphs) {
    ASSERT_EQ(BuiltInTables().readingTexts.RowCount(), Tables::ReadingTextRows);
    const Reading reading = test::ReadingOf("山田", "太郎", StrokeStyle::Shinji, BuiltInTables());
    const NameRecord& record = reading.Counted();
    ASSERT_EQ(record.Fortunes[Total], 21);
    ASSERT_EQ(record.Fortunes[Person], 9);
    ASSERT_EQ(record.Fortunes[Earth], 13);
    ASSERT_EQ(record.Fortunes[Outer], 12);

    const std::vector<std::string> lines = test::ReportLines(reading.Report());
    ASSERT_EQ(lines.size(), 13u);
    struct Paragraph {
        std::size_t line;
        const char* lead;
        std::size_t row;
    };
    const Paragraph paragraphs[] = {
        {9, "　まず，山田太郎さんの生涯の総合的な運勢ですが，あなたの総運は21です。", 20},
        {10, "　つぎに，人運によって性格について判断します。人運が９の人は，", 89},
        {11, "　また，地運の13から恋愛運に関して判断を加えますと，あなたは，", 93},
        {12, "　最後に，外運による職業運についてですが，外運が12の人は，", 102},
    };
    for (const Paragraph& p : paragraphs) {
        SCOPED_TRACE("report line " + std::to_string(p.line + 1));
        EXPECT_EQ(Utf8(lines[p.line]), Utf8(Sjis(p.lead) + BuiltInTables().ReadingTextRow(p.row)));
    }
}

}  // namespace
}  // namespace soten
