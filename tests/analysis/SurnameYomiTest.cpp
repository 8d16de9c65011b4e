#include "analysis/naming/SurnameYomi.h"

#include <gtest/gtest.h>

#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;

TEST(SurnameYomiTest, KnowsSurnamesWithOneDominantReadingOnly) {
    const struct {
        const char* surname;
        const char* yomi;
    } cases[] = {
        {"佐藤", "さとう"}, {"山田", "やまだ"},   {"菊池", "きくち"},
        {"亜衣", "あい"},   {"上田", ""},  // うえだ and かみた are both common
        {"", ""},           {"太郎太郎太郎", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(test::Utf8(SurnameYomiOf(Sjis(c.surname))), c.yomi) << c.surname;
    }
}

}  // namespace
}  // namespace soten
