#include <gtest/gtest.h>

#include <stdexcept>

#include "analysis/naming/AvoidedKanji.h"
#include "analysis/naming/NameSearchData.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

TEST(AvoidedKanji, BuiltInListHoldsOnlyNameKanji) {
    const auto& entries = BuiltInAvoidedKanji().Entries();
    EXPECT_GE(entries.size(), 150u);
    for (const AvoidedKanjiEntry& entry : entries) {
        EXPECT_TRUE(UnregistrableCharacters(entry.kanji).empty()) << Utf8(entry.kanji);
    }
}

TEST(AvoidedKanji, ListsTheDreadfulAndLeavesCommonNameKanjiOut) {
    const AvoidedKanji& list = BuiltInAvoidedKanji();
    for (const char* kanji :
         {"死", "悪", "鬼", "魔", "憂", "闇", "刑", "病", "苦", "毒", "殺", "骨", "呪", "罪", "獄",
          "泣", "悲", "痛", "腐", "尿", "便", "賭", "凶", "災", "貧", "惨", "喪", "亡", "滅"}) {
        EXPECT_NE(list.Find(Sjis(kanji)), nullptr) << kanji;
    }
    for (const char* kanji : {"翔", "愛", "優", "悠", "凛", "博", "未", "結", "陽", "心"}) {
        EXPECT_EQ(list.Find(Sjis(kanji)), nullptr) << kanji;
    }
    const AvoidedKanjiEntry* sorrow = list.Find(Sjis("憂"));
    ASSERT_NE(sorrow, nullptr);
    EXPECT_EQ(Utf8(sorrow->category), "苦・悲");
    EXPECT_EQ(Utf8(AvoidedKanjiNote({*sorrow})), "憂：うれい・悲しみを表す字");
}

TEST(AvoidedKanji, NamesTheListedKanjiOfANameEachOnceInOrder) {
    const AvoidedKanji list =
        AvoidedKanji::FromUtf8("死\t死\t死を表す字\n刑\t罪・罰\t刑罰を表す字\r\n");
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"死刑", "死：死を表す字、刑：刑罰を表す字"},
        {"刑死死", "刑：刑罰を表す字、死：死を表す字"},
        {"a死", "死：死を表す字"},
        {"太郎", ""},
    };
    for (const auto& [name, note] : cases) {
        EXPECT_EQ(Utf8(AvoidedKanjiNote(list.In(Sjis(name)))), note) << name;
        EXPECT_EQ(list.Holds(Sjis(name)), *note != '\0') << name;
    }
}

TEST(AvoidedKanji, RefusesMalformedRows) {
    for (const char* text :
         {"死\t死\n", "死\t死\t死を表す字\t余り\n", "死\t怖い\t死を表す字\n", "死\t死\t\n",
          "死体\t死\t死を表す字\n", "a\t死\tx\n", "死\t死\tx\n死\t病\ty\n"}) {
        EXPECT_THROW(AvoidedKanji::FromUtf8(text), std::invalid_argument) << text;
    }
}

}  // namespace
}  // namespace soten
