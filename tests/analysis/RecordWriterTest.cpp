#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "analysis/reading/Reading.h"
#include "analysis/records/RecordWriter.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::FixtureTables;
using test::Sjis;

// A writer puts a reading's report together from pieces it keeps (and keeps
// 陰陽 and the like) across the records it writes: each record is still the
// one a fresh writer writes from the reading's own report, for names of
// every length, style and number.
TEST(RecordWriter, RecordsFromKeptPiecesAreTheReadingsOwn) {
    for (const Format format : {Format::Json, Format::Tsv}) {
        RecordWriter kept(FixtureTables(), {format, false, true, {}});
        for (const StrokeStyle style : {StrokeStyle::Shinji, StrokeStyle::Honji}) {
            for (const char* surname : {"山田", "木村", "渡辺", "林", "佐々木", "一", "三木"}) {
                for (const char* given : {"太郎", "花子", "奈子", "一", "二郎", "子", "太一"}) {
                    const EnteredNames names{Sjis(surname), Sjis(given)};
                    const auto numbers =
                        MakeReading(names, style, FixtureTables(), ReadingDetail::Numbers);
                    const auto whole = MakeReading(names, style, FixtureTables());
                    ASSERT_TRUE(std::holds_alternative<Reading>(numbers)) << surname << given;
                    RecordSource source;
                    source.line = 1;
                    std::string fromPieces;
                    std::string fromReport;
                    kept.AppendReading(source, std::get<Reading>(numbers), fromPieces);
                    RecordWriter(FixtureTables(), {format, false, true, {}})
                        .AppendReading(source, std::get<Reading>(whole), fromReport);
                    EXPECT_EQ(fromPieces, fromReport) << surname << given;
                }
            }
        }
    }
}

}  // namespace
}  // namespace soten
