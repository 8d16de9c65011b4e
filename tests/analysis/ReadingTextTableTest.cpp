// The committed reading paragraphs (data/readings.txt), read through the
// program's own table path: the embedded text converted to code page 932 by
// BuiltInTables(). Every rule here is one the composition or the line wrapper
// relies on, or one of the fixed openings and closings of the four blocks.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "FixtureTables.h"
#include "Fortunes.h"
#include "HeadlessReading.h"
#include "Report.h"
#include "ShiftJis.h"
#include "Tables.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

constexpr std::size_t NumberRows = 80;
constexpr std::size_t PersonalityFirst = 80;
constexpr std::size_t LoveFirst = 90;
constexpr std::size_t CareerFirst = 100;
constexpr std::size_t RowCount = 110;
constexpr int MinCharacters = 88;
constexpr int MaxCharacters = 114;

const std::string& Row(std::size_t index) {
    return BuiltInTables().ReadingTextRow(index);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The 2-byte units of a code page 932 row (the caller has checked that every
// unit starts with a lead byte).
std::vector<std::string> Units(const std::string& row) {
    std::vector<std::string> units;
    for (std::size_t k = 1; !Unit(row, k).empty(); ++k) units.emplace_back(Unit(row, k));
    return units;
}

// The sentences of a row, each ending with "。", split on whole characters so a
// trail byte never counts as a full stop.
std::vector<std::string> Sentences(const std::string& row) {
    const std::string fullStop = Sjis("。");
    std::vector<std::string> sentences;
    std::string current;
    for (const std::string& unit : Units(row)) {
        current += unit;
        if (unit == fullStop) {
            sentences.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) sentences.push_back(current);
    return sentences;
}

std::size_t Count(const std::string& row, const std::string& character) {
    std::size_t count = 0;
    for (const std::string& unit : Units(row)) count += unit == character ? 1 : 0;
    return count;
}

// How often `text` occurs in `row` on a character boundary (a match that starts
// on a trail byte is not the text).
std::size_t Occurrences(const std::string& row, const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = row.find(text); at != std::string::npos; at = row.find(text, at + 1)) {
        count += at % 2 == 0 ? 1 : 0;
    }
    return count;
}

TEST(ReadingTextTable, HoldsOneHundredTenRows) {
    EXPECT_EQ(Tables::ReadingTextRows, RowCount);
    EXPECT_EQ(BuiltInTables().readings.RowCount(), RowCount);
}

TEST(ReadingTextTable, EveryRowIsFullWidthOfTheRightLength) {
    const std::string fullStop = Sjis("。");
    const std::set<std::string> forbidden = {Sjis("、"), Sjis("．"), Sjis("「"),
                                             Sjis("」"), Sjis("『"), Sjis("』")};
    for (std::size_t r = 0; r < RowCount; ++r) {
        const std::string& row = Row(r);
        SCOPED_TRACE("row " + std::to_string(r) + ": " + Utf8(row));
        ASSERT_EQ(row.size() % 2, 0u);
        bool wholeUnits = true;
        for (std::size_t i = 0; i < row.size(); i += 2) {
            wholeUnits = wholeUnits && IsLeadByte(static_cast<unsigned char>(row[i]));
        }
        ASSERT_TRUE(wholeUnits) << "a half-width or single-byte character";
        // Walking two bytes at a time and counting characters agree only when
        // every character is a double-byte one.
        const int characters = CountCharacters(row);
        EXPECT_EQ(static_cast<std::size_t>(characters) * 2, row.size());
        EXPECT_GE(characters, MinCharacters);
        EXPECT_LE(characters, MaxCharacters);
        EXPECT_TRUE(EndsWith(row, fullStop));
        for (const std::string& unit : Units(row)) {
            EXPECT_EQ(forbidden.count(unit), 0u) << Utf8(unit);
        }
    }
}

TEST(ReadingTextTable, NumberTextsOpenAsTheirNumberRequires) {
    const std::set<std::size_t> holderNumbers = {7,  8,  12, 13, 17, 24, 25,
                                                 29, 31, 40, 62, 72, 73, 74};
    const std::string holder = Sjis("この数を持つ人は，");
    const std::string plain = Sjis("これは，");
    std::size_t holders = 0;
    std::size_t plains = 0;
    for (std::size_t r = 0; r < NumberRows; ++r) {
        const std::size_t number = r + 1;
        const std::string& row = Row(r);
        SCOPED_TRACE("number " + std::to_string(number) + ": " + Utf8(row));
        const std::string& expected = holderNumbers.count(number) ? holder : plain;
        EXPECT_TRUE(StartsWith(row, expected));
        holders += StartsWith(row, holder) ? 1 : 0;
        plains += StartsWith(row, plain) ? 1 : 0;
        const std::size_t sentences = Sentences(row).size();
        EXPECT_GE(sentences, 2u);
        EXPECT_LE(sentences, 4u);
    }
    EXPECT_EQ(holders, 14u);
    EXPECT_EQ(plains, 66u);
    EXPECT_EQ(Utf8(Sentences(Row(0)).front()),
              "これは，ものごとの基礎になる数で，たいへんすぐれた運勢を表しています。");
}

TEST(ReadingTextTable, OnlyFourNumberTextsQuoteAFortune) {
    const std::string open = Sjis("“");
    const std::string close = Sjis("”");
    const std::string fortune = Sjis("運");
    const std::set<std::size_t> quotedNumbers = {26, 28, 33, 43};
    for (std::size_t r = 0; r < RowCount; ++r) {
        const std::string& row = Row(r);
        SCOPED_TRACE("row " + std::to_string(r) + ": " + Utf8(row));
        const bool quoted = r < NumberRows && quotedNumbers.count(r + 1) != 0;
        EXPECT_EQ(Count(row, open), quoted ? 1u : 0u);
        EXPECT_EQ(Count(row, close), quoted ? 1u : 0u);
        if (!quoted || Count(row, open) != 1 || Count(row, close) != 1) continue;
        const std::size_t from = row.find(open) + open.size();
        const std::size_t to = row.find(close);
        ASSERT_LT(from, to);
        const std::string name = row.substr(from, to - from);
        EXPECT_GE(CountCharacters(name), 2);
        EXPECT_TRUE(EndsWith(name, fortune)) << Utf8(name);
    }
}

TEST(ReadingTextTable, PersonalityTextOfDigitOneOpensCalm) {
    EXPECT_TRUE(
        StartsWith(Row(PersonalityFirst + 1), Sjis("つねに冷静で感情をあまり表に現しません。")))
        << Utf8(Row(PersonalityFirst + 1));
}

TEST(ReadingTextTable, ContinuationsDoNotStartANewSubject) {
    // Rows 80 to 109 continue "…の人は，" or "あなたは，".
    const std::vector<std::string> newSubjects = {Sjis("あなた"), Sjis("これ"), Sjis("この"),
                                                  Sjis("その")};
    for (std::size_t r = PersonalityFirst; r < RowCount; ++r) {
        for (const std::string& subject : newSubjects) {
            EXPECT_FALSE(StartsWith(Row(r), subject)) << r << ": " << Utf8(Row(r));
        }
    }
}

TEST(ReadingTextTable, FourLoveTextsEndWithTheSuitedPartner) {
    const std::string partner = Sjis("あなたにふさわしい相手は，");
    const std::string closing = Sjis("です。");
    std::vector<std::size_t> partnerRows;
    for (std::size_t r = 0; r < RowCount; ++r) {
        const std::string& row = Row(r);
        if (row.find(partner) == std::string::npos) continue;
        partnerRows.push_back(r);
        SCOPED_TRACE("row " + std::to_string(r) + ": " + Utf8(row));
        EXPECT_GE(r, LoveFirst);
        EXPECT_LT(r, CareerFirst);
        const std::string last = Sentences(row).back();
        EXPECT_TRUE(StartsWith(last, partner));
        EXPECT_TRUE(EndsWith(last, closing));
        EXPECT_EQ(row.find(partner), row.size() - last.size()) << "only in the last sentence";
    }
    EXPECT_EQ(partnerRows.size(), 4u);
}

TEST(ReadingTextTable, LoveTextsSpeakOfLoveAlone) {
    // The love paragraph follows a personality paragraph chosen by another
    // number: it describes behaviour in love, not the whole character, and
    // after the lead "あなたは，" names the reader again only in the partner
    // sentence.
    const std::string partner = Sjis("あなたにふさわしい相手は，");
    const std::string you = Sjis("あなた");
    for (std::size_t r = LoveFirst; r < CareerFirst; ++r) {
        const std::string& row = Row(r);
        SCOPED_TRACE("row " + std::to_string(r) + ": " + Utf8(row));
        EXPECT_EQ(Occurrences(row, Sjis("恋愛にも")), 0u);
        EXPECT_EQ(Occurrences(row, you), Occurrences(row, partner));
    }
}

TEST(ReadingTextTable, UnfavourableNumberTextsPromiseNothing) {
    const std::vector<std::string> promises = {Sjis("必ず"), Sjis("かならず"), Sjis("きっと"),
                                               Sjis("間違いなく")};
    std::size_t unfavourable = 0;
    for (std::size_t r = 0; r < NumberRows; ++r) {
        if (LookupKeyword(BuiltInTables(), static_cast<std::int32_t>(r + 1)).grade != 4) continue;
        ++unfavourable;
        for (const std::string& promise : promises) {
            EXPECT_EQ(Occurrences(Row(r), promise), 0u)
                << "number " << r + 1 << ": " << Utf8(Row(r));
        }
    }
    EXPECT_EQ(unfavourable, 34u);
}

TEST(ReadingTextTable, CareerTextsEndWithAListOfOccupations) {
    const std::string comma = Sjis("，");
    const std::string closing = Sjis("などです。");
    for (std::size_t r = CareerFirst; r < RowCount; ++r) {
        const std::string& row = Row(r);
        SCOPED_TRACE("row " + std::to_string(r) + ": " + Utf8(row));
        const std::string opening =
            Sjis(r == CareerFirst + 9 ? "適した仕事は，" : "適した職業は，");
        const std::vector<std::string> sentences = Sentences(row);
        ASSERT_EQ(sentences.size(), 2u);
        const std::string& list = sentences[1];
        ASSERT_TRUE(StartsWith(list, opening));
        ASSERT_TRUE(EndsWith(list, closing));
        const std::string items =
            list.substr(opening.size(), list.size() - opening.size() - closing.size());
        // At least two occupations, none of them empty.
        EXPECT_GE(Count(items, comma), 1u);
        EXPECT_FALSE(StartsWith(items, comma));
        EXPECT_FALSE(EndsWith(items, comma));
        EXPECT_EQ(items.find(comma + comma), std::string::npos);
        EXPECT_EQ(sentences[0].find(Sjis("適した")), std::string::npos);
    }
}

TEST(ReadingTextTable, NoSentenceAppearsInTwoRows) {
    std::map<std::string, std::size_t> firstRow;
    for (std::size_t r = 0; r < RowCount; ++r) {
        for (const std::string& sentence : Sentences(Row(r))) {
            const auto [it, inserted] = firstRow.emplace(sentence, r);
            EXPECT_TRUE(inserted) << "rows " << it->second << " and " << r << ": "
                                  << Utf8(sentence);
        }
    }
}

TEST(ReadingTextTable, WorkedExampleReadsTheRightParagraphs) {
    ProgramState state;
    state.strokeStyle = StrokeStyle::Shinji;
    const auto refusal = ReadHeadless(state, BuiltInTables(), {Sjis("山田"), Sjis("太郎")});
    ASSERT_FALSE(refusal) << Utf8(refusal.value_or(""));
    const NameRecord& record = state.record;
    ASSERT_EQ(record.Fortunes[Total], 21);
    ASSERT_EQ(record.Fortunes[Person], 9);
    ASSERT_EQ(record.Fortunes[Earth], 13);
    ASSERT_EQ(record.Fortunes[Outer], 12);

    const std::vector<std::string> lines = test::ReportLines(record.ReportText);
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
        EXPECT_EQ(Utf8(lines[p.line]), Utf8(Sjis(p.lead) + Row(p.row)));
    }
}

}  // namespace
}  // namespace soten
