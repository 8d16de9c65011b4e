#include "analysis/naming/SoundNotes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::Sjis;

struct SoundCase {
    const char* surname;
    const char* surnameYomi;
    const char* given;
    const char* givenYomi;
    const char* initials;
    std::vector<std::string> notes;
};

TEST(SoundNotesTest, NotesHowTheNameSoundsAfterTheSurname) {
    const std::vector<SoundCase> cases = {
        {"佐藤", "さとう", "詩", "うた", "U.S.", {"名字の終わりと名前の始めが同じ音（う）"}},
        {"佐藤", "さとう", "冬馬", "とうま", "T.S.", {"「とう」が続けて二度"}},
        {"田中", "たなか", "花", "かな", "K.T.", {"名字の終わりと名前の始めが同じ音（か）"}},
        {"佐藤", "サトウ", "冬馬", "トウマ", "T.S.", {"「とう」が続けて二度"}},
        {"菊池", "きくち", "千代", "ちよ", "C.K.", {"名字の終わりと名前の始めが同じ音（ち）"}},
        {"菊池", "きくち", "ちょこ", "ちょこ", "C.K.", {}},
        {"山田", "やまだ", "太郎", "たろう", "T.Y.", {}},
        {"山田", "やまだ", "山太", "さんた", "S.Y.", {"「山」が名字と名前の両方に"}},
        {"渡辺", "わたなべ", "直子", "なおこ", "N.W.", {}},
        {"若林", "わかばやし", "恵子", "けいこ", "K.W.", {}},
        {"佐藤", "", "詩", "うた", "", {}},
        {"池田", "いけだ", "真央", "まお", "M.I.", {}},
        {"清水", "しみず", "直人", "なおと", "N.S.", {}},
        {"松本", "まつもと", "翔", "しょう", "S.M.", {"頭文字 S.M. は略語としても読まれます"}},
    };
    for (const SoundCase& c : cases) {
        EXPECT_EQ(SoundNotes(Sjis(c.surname), Sjis(c.surnameYomi), Sjis(c.given), Sjis(c.givenYomi),
                             c.initials),
                  c.notes)
            << c.surname << " " << c.given;
    }
}

TEST(SoundNotesTest, NotesAWholeNameThatReadsAsACommonWord) {
    struct WordCase {
        const char* surname;
        const char* surnameYomi;
        const char* given;
        const char* givenYomi;
        std::vector<std::string> notes;
    };
    const std::vector<WordCase> cases = {
        {"河合", "かわい", "創", "そう", {"姓名を続けて読むと『可哀想』と同じ音になります"}},
        {"河合", "カワイ", "創", "ソウ", {"姓名を続けて読むと『可哀想』と同じ音になります"}},
        {"前田", "まえだ", "忍", "おし", {"姓名を続けて読むと『前倒し』と同じ音になります"}},
        {"木野", "きの", "独", "どく", {"姓名を続けて読むと『気の毒』と同じ音になります"}},
        // The whole name only: the word is not the surname and a part of the name.
        {"河合", "かわい", "颯太", "そうた", {}},
        {"河合", "", "創", "そう", {}},
    };
    for (const WordCase& c : cases) {
        EXPECT_EQ(
            SoundNotes(Sjis(c.surname), Sjis(c.surnameYomi), Sjis(c.given), Sjis(c.givenYomi), ""),
            c.notes)
            << c.surname << " " << c.givenYomi;
    }
}

TEST(SoundNotesTest, KnowsTheListedAbbreviationsOnly) {
    EXPECT_TRUE(IsAbbreviationInitials("W.C."));
    EXPECT_TRUE(IsAbbreviationInitials("N.G."));
    EXPECT_FALSE(IsAbbreviationInitials("T.Y."));
    EXPECT_FALSE(IsAbbreviationInitials(""));
}

}  // namespace
}  // namespace soten
