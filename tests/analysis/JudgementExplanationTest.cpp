#include <gtest/gtest.h>

#include "analysis/reading/JudgementExplanation.h"
#include "analysis/reading/Reading.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

TEST(JudgementExplanation, SaysWhichNumbersFallShortAndWhyTheStylesDiffer) {
    struct Case {
        const char* surname;
        const char* given;
        StrokeStyle style;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"山田", "太郎", StrokeStyle::Shinji, {"?"}},
        {"山田", "太郎", StrokeStyle::Honji, {"?"}},
        {"佐藤", "結衣", StrokeStyle::Shinji, {"?"}},
        {"佐藤", "結衣", StrokeStyle::Honji, {"?"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.surname) + c.given +
                     (c.style == StrokeStyle::Honji ? " 本字式" : " 新字式"));
        const auto counted = CountName({Sjis(c.surname), Sjis(c.given)}, c.style, BuiltInTables());
        ASSERT_TRUE(std::holds_alternative<NameRecord>(counted));
        std::vector<std::string> lines;
        for (const std::string& line :
             JudgementExplanation(std::get<NameRecord>(counted), BuiltInTables())) {
            lines.push_back(Utf8(line));
        }
        EXPECT_EQ(lines, c.lines);
    }
}

}  // namespace
}  // namespace soten
