// A change made in one window, made again on the list as another window
// left it: the names that window added stay, and a name it removed stays
// gone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/shortlist/ShortlistChange.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

ShortlistEntry Name(const char* given) {
    return {Sjis("山田"), Sjis(given), {}, StrokeStyle::Shinji, {}};
}

TEST(ShortlistChange, IsMadeOnTheListAsItIsNowByName) {
    // This window shows 一 二 三; the other removed 二 and added 四.
    struct Case {
        const char* what;
        ShortlistChange change;
        bool changed;
        std::vector<std::string> givens;
    };
    const std::vector<Case> cases = {
        {"add", AddName{Name("五")}, true, {"一", "三", "四", "五"}},
        {"add what the other added", AddName{Name("四")}, false, {"一", "三", "四"}},
        {"remove", RemoveName{Name("三")}, true, {"一", "四"}},
        {"remove what the other removed", RemoveName{Name("二")}, false, {"一", "三", "四"}},
        {"move down to the anchor", MoveName{Name("一"), Name("三"), 2}, true, {"三", "一", "四"}},
        {"move up to the anchor", MoveName{Name("四"), Name("一"), 0}, true, {"四", "一", "三"}},
        {"move to a removed anchor's row",
         MoveName{Name("一"), Name("二"), 1},
         true,
         {"三", "一", "四"}},
        {"move a removed name", MoveName{Name("二"), Name("一"), 0}, false, {"一", "三", "四"}},
        {"note of a removed name", NoteName{Name("二"), Sjis("メモ")}, false, {"一", "三", "四"}},
        {"sort what was seen",
         ArrangeNames{{Name("三"), Name("二"), Name("一")}},
         true,
         {"三", "一", "四"}},
        {"sort into the order there",
         ArrangeNames{{Name("一"), Name("三")}},
         false,
         {"一", "三", "四"}},
    };
    for (const Case& c : cases) {
        Shortlist list;
        for (const char* given : {"一", "三", "四"}) list.Add(Name(given));
        EXPECT_EQ(ApplyChange(c.change, list), c.changed) << c.what;
        std::vector<std::string> givens;
        for (const ShortlistEntry& entry : list.Entries()) givens.push_back(Utf8(entry.given));
        EXPECT_EQ(givens, c.givens) << c.what;
    }
}

TEST(ShortlistChange, ANoteIsSetOnTheNameWhereverItIsNow) {
    Shortlist list;
    for (const char* given : {"四", "三"}) list.Add(Name(given));
    EXPECT_TRUE(ApplyChange(NoteName{Name("三"), Sjis("第一候補")}, list));
    EXPECT_EQ(Utf8(list.Entries()[1].note), "第一候補");
    EXPECT_EQ(list.Entries()[0].note, "");
    EXPECT_FALSE(ApplyChange(NoteName{Name("三"), Sjis("第一候補")}, list));
}

}  // namespace
}  // namespace soten
