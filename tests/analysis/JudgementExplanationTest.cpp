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
    const std::string sansai =
        "：天運・人運・地運の末尾の数字を五行に当て，隣どうしが生かし合うか剋し合うかで"
        "運の流れを見るものです。";
    const std::string inyo =
        "：画数が奇数の字を陽，偶数の字を陰とし，姓から名への並びに偏りがないかを見るものです。";
    const std::vector<Case> cases = {
        {"山田",
         "太郎",
         StrokeStyle::Shinji,
         {"評点を下げている数：人運 9 ×，外運 12 ×", "三才配置 凶（金→水→火）" + sansai,
          "陰陽配列 吉（○○●○）" + inyo, "新字式と本字式の違い：郎 9 → 14（本字式）"}},
        {"山田",
         "太郎",
         StrokeStyle::Honji,
         {"評点を下げている数：人運 9 ×，総運 26 △", "三才配置 大吉（金→水→金）" + sansai,
          "陰陽配列 凶（分裂，○○●●）" + inyo, "新字式と本字式の違い：郎 9 → 14（本字式）"}},
        {"佐藤",
         "結衣",
         StrokeStyle::Shinji,
         {"評点を下げている数：人運 30 △，総運 43 ×", "三才配置 凶（土→水→金）" + sansai,
          "陰陽配列 吉（○●●●）" + inyo, "新字式と本字式の違い：藤 18 → 21（本字式）"}},
        {"佐藤",
         "結衣",
         StrokeStyle::Honji,
         {"評点を下げている数：総運 46 ×", "三才配置 大凶（金→火→金）" + sansai,
          "陰陽配列 凶（分裂，○○●●）" + inyo, "新字式と本字式の違い：藤 18 → 21（本字式）"}},
        {"山田",
         "愛夏",
         StrokeStyle::Shinji,
         {"評点を下げている数：なし", "三才配置 凶（金→金→火）" + sansai,
          "陰陽配列 吉（○○○●）" + inyo, "新字式と本字式で画数の違う字はありません"}},
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
