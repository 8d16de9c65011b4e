#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "analysis/naming/NameSearchData.h"
#include "analysis/text/KanaCollation.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;

// Each list is in dictionary order: the plain sound decides first, and only
// a tie falls to small before large, plain before voiced before p-sound.
TEST(KanaCollation, ReadingsSortInDictionaryOrder) {
    const std::vector<std::vector<const char*>> orders = {
        {"かき", "がく", "かこ"},     {"はな", "ばば", "ぱぱ", "はま"},
        {"きって", "きつね"},         {"しゅう", "しゆう"},
        {"あーる", "ああん", "あい"}, {"ゆうき", "ゆーま", "ゆうま"},
        {"ぼく", "ほし", "ほん"},     {"わか", "ゎかい"},
        {"れん", "れんー", "ろ"},
    };
    for (const auto& order : orders) {
        for (std::size_t i = 1; i < order.size(); ++i) {
            SCOPED_TRACE(std::string(order[i - 1]) + " < " + order[i]);
            EXPECT_LT(GojuonKey(Sjis(order[i - 1])), GojuonKey(Sjis(order[i])));
        }
    }
}

// The generator writes the names in the same order, so loading them needs no sort.
TEST(KanaCollation, BuiltInNamesComeInDictionaryOrder) {
    const NameSearchData& data = BuiltInNameSearchData();
    std::string previous;
    for (std::size_t i = 0; i < data.NameCount(); ++i) {
        std::string key = GojuonKey(data.Name(i).yomi);
        ASSERT_LE(previous, key) << "row " << i;
        previous = std::move(key);
    }
}

}  // namespace
}  // namespace soten
