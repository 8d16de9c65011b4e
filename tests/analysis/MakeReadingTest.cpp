#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/reading/Reading.h"
#include "tests/support/FixtureTables.h"

namespace soten {
namespace {

using test::FixtureTables;
using test::Sjis;
using test::Utf8;

// What became of names: "reading", or the refusal's message followed by the
// characters it names.
std::string OutcomeOf(const std::string& surname, const std::string& given) {
    const auto outcome = MakeReading({surname, given}, StrokeStyle::Shinji, FixtureTables());
    if (std::holds_alternative<Reading>(outcome)) return "reading";
    const Refusal& refusal = std::get<Refusal>(outcome);
    std::string said = Utf8(refusal.Message());
    for (const std::string& character : refusal.characters) said += "「" + Utf8(character) + "」";
    return said;
}

const std::string TooMany = "文字数が多すぎます";
const std::string Invalid = "不適切な文字があります";

TEST(MakeReading, LimitsAreCountedInCharactersAndTheLengthRuleSpeaksFirst) {
    struct Case {
        const char* surname;
        const char* given;
        std::string outcome;
    };
    for (const Case& c :
         {Case{"山山山山山山山山山山", "子子", "reading"},
          Case{"山山山山山山山山山山", "子子子", TooMany},
          Case{"山山山山山山山山山山山", "子", TooMany},
          Case{"山山山山山山", "子子子子子子", "reading"},
          Case{"山山山山山山山", "子子子子子子", TooMany}, Case{"abcdefghijk", "子", TooMany},
          Case{"abc", "子", Invalid + "「a」「b」「c」"},
          Case{"、、、、、、、、、、、", "子", TooMany},
          Case{"山", "々子、", Invalid + "「々」「、」"}, Case{"山a", "太郎a", Invalid + "「a」"},
          Case{"山\x7F", "子", Invalid + "「\x7F」"}, Case{"山\n", "子", Invalid + "「\n」"}}) {
        EXPECT_EQ(OutcomeOf(Sjis(c.surname), Sjis(c.given)), c.outcome) << c.surname << c.given;
    }
}

TEST(MakeReading, RefusesAnEmptyPartWithoutNamingACharacter) {
    EXPECT_EQ(OutcomeOf("", Sjis("太郎")), Invalid);
    EXPECT_EQ(OutcomeOf(Sjis("山田"), ""), Invalid);
}

TEST(MakeReading, RefusesTenThousandCharactersForTheirLength) {
    EXPECT_EQ(OutcomeOf(std::string(10000, 'a'), Sjis("太郎")), TooMany);
}

TEST(MakeReading, TenAndTwoFillTheStrokesOfEachPartOnly) {
    const auto outcome = MakeReading({Sjis("山田山田山田山田山田"), Sjis("太郎")},
                                     StrokeStyle::Shinji, FixtureTables());
    const NameRecord& r = std::get<Reading>(outcome).Counted();
    EXPECT_EQ(r.Lengths[Surname], 10);
    EXPECT_EQ(r.Lengths[GivenName], 2);
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(r.Strokes[Surname][k], k % 2 ? 3 : 5) << k;
    EXPECT_EQ(r.Strokes[GivenName][1], 4);
    EXPECT_EQ(r.Strokes[GivenName][2], 9);
    for (int k = 3; k <= 10; ++k) EXPECT_EQ(r.Strokes[GivenName][k], 0) << k;
}

TEST(MakeReading, KeepsTheNamesTheStyleTheYomiAndTheKeywordsOfItsNumbers) {
    const auto outcome = MakeReading({Sjis("山田"), Sjis("太郎"), Sjis("たろう")},
                                     StrokeStyle::Honji, FixtureTables());
    const Reading& reading = std::get<Reading>(outcome);
    EXPECT_EQ(Utf8(reading.Surname()), "山田");
    EXPECT_EQ(Utf8(reading.Given()), "太郎");
    EXPECT_EQ(Utf8(reading.GivenYomi()), "たろう");
    EXPECT_EQ(reading.Style(), StrokeStyle::Honji);
    for (int kind = 0; kind < FortuneCount; ++kind) {
        const auto k = static_cast<FortuneKind>(kind);
        const Keyword expected = LookupKeyword(FixtureTables(), reading.Fortune(k));
        EXPECT_EQ(reading.KeywordOf(k).grade, expected.grade) << kind;
        EXPECT_EQ(reading.KeywordOf(k).word, expected.word) << kind;
    }
}

TEST(MakeReading, LesserDetailLeavesOutOnlyTheTexts) {
    const EnteredNames names{Sjis("山田"), Sjis("太郎")};
    const Reading whole =
        std::get<Reading>(MakeReading(names, StrokeStyle::Shinji, FixtureTables()));
    ASSERT_FALSE(whole.Report().empty());
    ASSERT_FALSE(whole.Lines().ScreenLines[0].empty());
    for (const ReadingDetail detail : {ReadingDetail::Report, ReadingDetail::Numbers}) {
        const Reading lesser =
            std::get<Reading>(MakeReading(names, StrokeStyle::Shinji, FixtureTables(), detail));
        EXPECT_EQ(lesser.Counted().Strokes, whole.Counted().Strokes);
        EXPECT_EQ(lesser.Counted().Fortunes, whole.Counted().Fortunes);
        for (int kind = 0; kind < FortuneCount; ++kind) {
            const auto k = static_cast<FortuneKind>(kind);
            EXPECT_EQ(lesser.KeywordOf(k).word, whole.KeywordOf(k).word) << kind;
        }
        EXPECT_EQ(lesser.Report(), detail == ReadingDetail::Report ? whole.Report() : "");
        EXPECT_EQ(lesser.Lines().ScreenLines[0], "");
        EXPECT_EQ(lesser.Lines().lastPrintLine, 0);
    }
}

TEST(CountName, RefusesWhatMakeReadingRefusesAndCountsTheSameNumbers) {
    for (const auto& [surname, given] : {std::pair{"山田", "太郎"}, std::pair{"山", "々子"},
                                         std::pair{"山山山山山山山山山山山", "子"}}) {
        const EnteredNames names{Sjis(surname), Sjis(given)};
        const auto counted = CountName(names, StrokeStyle::Shinji, FixtureTables());
        const auto reading = MakeReading(names, StrokeStyle::Shinji, FixtureTables());
        ASSERT_EQ(counted.index(), reading.index()) << surname;
        if (const auto* record = std::get_if<NameRecord>(&counted)) {
            EXPECT_EQ(record->Fortunes, std::get<Reading>(reading).Counted().Fortunes);
        } else {
            EXPECT_EQ(std::get<Refusal>(counted).characters, std::get<Refusal>(reading).characters);
        }
    }
}

TEST(LackedCharactersText, NamesEachCharacterInBracketsInEitherEncoding) {
    EXPECT_EQ(LackedCharactersText({}), "");
    EXPECT_EQ(Utf8(LackedCharactersText({Sjis("々"), Sjis("、")})),
              "「々」「、」は辞書にありません");
    EXPECT_EQ(LackedCharactersText({"𠮷"}, true), "「𠮷」は辞書にありません");
}

}  // namespace
}  // namespace soten
