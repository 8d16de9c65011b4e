// The committed stroke dictionary (data/strokes.txt), as the program loads it:
// embedded, converted to code page 932 and indexed by BuiltInTables().

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/StrokeLookup.h"
#include "analysis/reading/Tables.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

constexpr auto Shinji = StrokeStyle::Shinji;
constexpr auto Honji = StrokeStyle::Honji;
constexpr int Absent = 0;  // Find's answer for a character no line holds

const StrokeDictionary& Dictionary() {
    return BuiltInTables().dictionary;
}

std::string Sjis(std::string_view utf8) {
    auto cp932 = Cp932::FromUtf8(utf8);
    if (!cp932) {
        ADD_FAILURE() << "not encodable in code page 932: " << utf8;
        return {};
    }
    return *cp932;
}

std::string Unit(unsigned code) {
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

std::string Hex(unsigned code) {
    std::ostringstream out;
    out << std::hex << std::uppercase << code;
    return out.str();
}

std::string Describe(unsigned code) {
    return Hex(code) + " " + Cp932::ToUtf8Lossy(Unit(code));
}

// Each character of a UTF-8 string, as its code page 932 unit.
std::vector<std::string> Units(std::string_view utf8) {
    const std::string cp932 = Sjis(utf8);
    std::vector<std::string> units;
    for (std::size_t i = 0; i + 1 < cp932.size(); i += 2) units.push_back(cp932.substr(i, 2));
    return units;
}

// Every double-byte code that code page 932 assigns, in code order.
const std::vector<unsigned>& AssignedCodes() {
    static const std::vector<unsigned> codes = [] {
        std::vector<unsigned> result;
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F) continue;
                const unsigned code = lead << 8 | trail;
                if (Cp932::ToUtf8(Unit(code))) result.push_back(code);
            }
        }
        return result;
    }();
    return codes;
}

// The kanji of code page 932 by their one code each: JIS level 1, JIS level
// 2 (with the two kanji of 1990) and the IBM extension kanji.
enum class KanjiGroup { None, Level1, Level2, Extension };

KanjiGroup KanjiGroupOf(unsigned code) {
    if (code >= 0x889F && code <= 0x9872) return KanjiGroup::Level1;
    if (code >= 0x989F && code <= 0xEAA4) return KanjiGroup::Level2;
    if (code >= 0xFA5C && code <= 0xFC4B) return KanjiGroup::Extension;
    return KanjiGroup::None;
}

// The distinct codes of the lines of one style.
std::set<unsigned> CodesOfStyle(StrokeStyle style) {
    std::set<unsigned> codes;
    const int first = static_cast<int>(style) * StrokeDictionary::LinesPerStyle;
    for (int line = first; line < first + StrokeDictionary::LinesPerStyle; ++line) {
        const std::string& text = Dictionary().Line(line);
        for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
            codes.insert(UnitCode(std::string_view(text).substr(i, 2)));
        }
    }
    return codes;
}

// ---------------------------------------------------------------- form

TEST(StrokeDictionaryData, SixtyLinesOfCanonicalDoubleByteCharacters) {
    for (int line = 0; line < StrokeDictionary::LineCount; ++line) {
        const std::string& text = Dictionary().Line(line);
        EXPECT_FALSE(text.empty()) << "line " << line;
        ASSERT_EQ(text.size() % 2, 0u) << "odd byte in line " << line;
        for (std::size_t i = 0; i < text.size(); i += 2) {
            const std::string unit = text.substr(i, 2);
            const unsigned code = UnitCode(unit);
            ASSERT_TRUE(IsLeadByte(static_cast<unsigned char>(unit[0])))
                << "line " << line << " byte " << i;
            const auto utf8 = Cp932::ToUtf8(unit);
            ASSERT_TRUE(utf8) << "line " << line << " holds " << Hex(code);
            // One code per character: the code iconv gives the character back,
            // never an NEC-selected duplicate.
            EXPECT_EQ(Cp932::FromUtf8(*utf8), unit) << "line " << line << " " << Describe(code);
            EXPECT_EQ(Cp932::CanonicalCode(code), code) << Describe(code);
        }
    }
}

TEST(StrokeDictionaryData, NonKanjiComeBeforeTheKanjiOfEachLine) {
    for (int line = 0; line < StrokeDictionary::LineCount; ++line) {
        const std::string& text = Dictionary().Line(line);
        bool kanjiSeen = false;
        for (std::size_t i = 0; i < text.size(); i += 2) {
            const unsigned code = UnitCode(std::string_view(text).substr(i, 2));
            const bool kanji = KanjiGroupOf(code) != KanjiGroup::None;
            EXPECT_FALSE(kanjiSeen && !kanji) << "line " << line << ": " << Describe(code);
            kanjiSeen = kanjiSeen || kanji;
        }
    }
}

TEST(StrokeDictionaryData, CircledNumbersHeadTheirShinjiLines) {
    for (int n = 1; n <= 20; ++n) {
        const std::string& line = Dictionary().Line(n - 1);
        ASSERT_GE(line.size(), 2u);
        EXPECT_EQ(UnitCode(line), 0x8740u + static_cast<unsigned>(n - 1)) << n << " strokes";
    }
}

TEST(StrokeDictionaryData, OneKanjiStandsInTwoShinjiLinesAndTheFirstDecides) {
    const std::string kanji = Sjis("﨩");
    auto holds = [&](int line) {
        const std::string& text = Dictionary().Line(line);
        for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
            if (text.compare(i, 2, kanji) == 0) return true;
        }
        return false;
    };
    std::vector<int> lines;
    for (int line = 0; line < StrokeDictionary::LineCount; ++line) {
        if (holds(line)) lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<int>{12, 13, 30 + 17}));
    EXPECT_EQ(Dictionary().Find(Shinji, kanji), 13);
    EXPECT_EQ(Dictionary().FindByScan(Shinji, kanji), 13);
}

// ---------------------------------------------------------------- counts

struct CountRow {
    const char* characters;  // UTF-8; every character of the row counts the same
    int shinji;
    int honji;  // Absent: not in the 本字式 lines
};

void PrintTo(const CountRow& row, std::ostream* out) {
    *out << row.characters;
}

void ExpectCounts(const CountRow& row) {
    for (const std::string& unit : Units(row.characters)) {
        const std::string shown = Cp932::ToUtf8Lossy(unit);
        EXPECT_EQ(Dictionary().Find(Shinji, unit), row.shinji) << shown << " 新字式";
        EXPECT_EQ(Dictionary().Find(Honji, unit), row.honji) << shown << " 本字式";
    }
}

class NonKanjiCounts : public ::testing::TestWithParam<CountRow> {};

TEST_P(NonKanjiCounts, AsTheTableGivesThem) {
    ExpectCounts(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    StrokeDictionaryData, NonKanjiCounts,
    ::testing::Values(
        CountRow{"①", 1, Absent}, CountRow{"②", 2, Absent}, CountRow{"③", 3, Absent},
        CountRow{"④", 4, Absent}, CountRow{"⑤", 5, Absent}, CountRow{"⑥", 6, Absent},
        CountRow{"⑦", 7, Absent}, CountRow{"⑧", 8, Absent}, CountRow{"⑨", 9, Absent},
        CountRow{"⑩", 10, Absent}, CountRow{"⑪", 11, Absent}, CountRow{"⑫", 12, Absent},
        CountRow{"⑬", 13, Absent}, CountRow{"⑭", 14, Absent}, CountRow{"⑮", 15, Absent},
        CountRow{"⑯", 16, Absent}, CountRow{"⑰", 17, Absent}, CountRow{"⑱", 18, Absent},
        CountRow{"⑲", 19, Absent}, CountRow{"⑳", 20, Absent},
        // Digits and numerals: 本字式 counts their value, ０ and 〇 count 13.
        CountRow{"０", 1, 13}, CountRow{"１", 1, 1}, CountRow{"２", 1, 2}, CountRow{"３", 1, 3},
        CountRow{"４", 2, 4}, CountRow{"５", 2, 5}, CountRow{"６", 1, 6}, CountRow{"７", 2, 7},
        CountRow{"８", 1, 8}, CountRow{"９", 1, 9}, CountRow{"〇", 1, 13}, CountRow{"一", 1, 1},
        CountRow{"二", 2, 2}, CountRow{"三", 3, 3}, CountRow{"四", 5, 4}, CountRow{"五", 4, 5},
        CountRow{"六", 4, 6}, CountRow{"七", 2, 7}, CountRow{"八", 2, 8}, CountRow{"九", 2, 9},
        CountRow{"十", 2, 10},
        // Latin letters.
        CountRow{"ＣＩＯＳＵｃｌｏｓ", 1, 1}, CountRow{"ＪＬＱＶｂｄｅｇｈｎｑｒｕｖ", 1, 2},
        CountRow{"Ｚｚ", 1, 3}, CountRow{"Ｗｗ", 1, 4}, CountRow{"ＤＰＴＸａｆｉｊｐｔｘｙ", 2, 2},
        CountRow{"ＢＧＮＲＹ", 2, 3}, CountRow{"Ｍ", 2, 4}, CountRow{"ＡＦＨＫｋｍ", 3, 3},
        CountRow{"Ｅ", 4, 4},
        // Hiragana.
        CountRow{"くしっつのへ", 1, 1}, CountRow{"てひるろん", 1, 2}, CountRow{"ゐ", 1, 3},
        CountRow{"ゑ", 1, 5}, CountRow{"ぃいぅうことぺめり", 2, 2},
        CountRow{"ぇえすちぴみゅゆょよられゎわ", 2, 3}, CountRow{"ぬね", 2, 4},
        CountRow{"ぁあかぐけさじせそづにべもゃや", 3, 3}, CountRow{"ぉおではびふまむを", 3, 4},
        CountRow{"ほ", 3, 5}, CountRow{"きごたど", 4, 4}, CountRow{"ずぢなぱぷ", 4, 5},
        CountRow{"がげざぜぞ", 5, 5}, CountRow{"ばぶぽ", 5, 6}, CountRow{"ぎだ", 6, 6},
        CountRow{"ぼ", 6, 7},
        // Katakana.
        CountRow{"ノフヘレ", 1, 1},
        CountRow{"ァアィイカクコスセソトナニヌハヒプペマムメャヤュユラリルヮワンヵ", 2, 2},
        CountRow{"ヲ", 2, 3},
        CountRow{"ゥウェエォオキケサシタチッツテパピブベミモョヨロヱヶ", 3, 3},
        CountRow{"ガグゴズゼゾドネバビホヰ", 4, 4}, CountRow{"ギゲザジダヂヅデポヴ", 5, 5},
        CountRow{"ボ", 6, 6},
        // Symbols, 仝 and the iteration marks (本字式 derives the marks'
        // counts from the character before them).
        CountRow{"。．・ー／～’－＆＠○", 1, 1}, CountRow{"：；？！〆＋×＝", 2, 2},
        CountRow{"％＊", 3, 3}, CountRow{"＃", 4, 4}, CountRow{"☆★", 5, 5}, CountRow{"仝", 5, 5},
        CountRow{"ゝヽ", 1, Absent}, CountRow{"ゞヾ々", 3, Absent},
        // Characters that cannot be counted in either style.
        CountRow{"　、，「」（）゛゜…―", Absent, Absent},
        CountRow{"ΑΩαωАЯая─│┌╋", Absent, Absent}));

class KanjiCounts : public ::testing::TestWithParam<CountRow> {};

TEST_P(KanjiCounts, AsStated) {
    ExpectCounts(GetParam());
}

INSTANTIATE_TEST_SUITE_P(StrokeDictionaryData, KanjiCounts,
                         ::testing::Values(CountRow{"村", 7, 7},    // unchanged
                                           CountRow{"池", 6, 7},    // 氵 counted as 水
                                           CountRow{"花", 7, 10},   // 艹 counted as 艸
                                           CountRow{"阿", 8, 13},   // left 阝 counted as 阜
                                           CountRow{"那", 7, 11},   // right 阝 counted as 邑
                                           CountRow{"性", 8, 9},    // 忄 counted as 心
                                           CountRow{"指", 9, 10},   // 扌 counted as 手
                                           CountRow{"球", 11, 12},  // 王 counted as 玉
                                           CountRow{"胸", 10, 12},  // 月 counted as 肉
                                           CountRow{"神", 9, 10},   // 礻 counted as 示
                                           CountRow{"近", 7, 11},   // 辶 counted as 辵
                                           CountRow{"広", 5, 15},   // counted as 廣
                                           CountRow{"沢", 7, 17},   // counted as 澤
                                           CountRow{"庁", 5, 25},   // counted as 廳
                                           CountRow{"佐", 7, 7}, CountRow{"木", 4, 4},
                                           // Fewer strokes in 本字式.
                                           CountRow{"孤", 9, 8}, CountRow{"泰", 10, 9},
                                           CountRow{"雅", 13, 12}, CountRow{"﨩", 13, 18},
                                           // The worked names.
                                           CountRow{"山", 3, 3}, CountRow{"田", 5, 5},
                                           CountRow{"太", 4, 4}, CountRow{"郎", 9, 14},
                                           CountRow{"渡", 12, 13}, CountRow{"辺", 5, 22},
                                           CountRow{"子", 3, 3}, CountRow{"奈", 8, 8}));

// ---------------------------------------------------------------- lookup

struct NameCase {
    const char* surname;
    const char* given;
    StrokeStyle style;
    bool ok;
    std::vector<int> strokes;  // surname's then given name's, when ok
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << c.surname << " " << c.given << (c.style == Shinji ? " 新字式" : " 本字式");
}

class NamesWithBuiltInData : public ::testing::TestWithParam<NameCase> {};

TEST_P(NamesWithBuiltInData, LookupCountsOrRefuses) {
    const NameCase& c = GetParam();
    NameRecord record;
    record.Names[Surname] = Sjis(c.surname);
    record.Names[GivenName] = Sjis(c.given);
    record.Lengths[Surname] = CountCharacters(record.Names[Surname]);
    record.Lengths[GivenName] = CountCharacters(record.Names[GivenName]);
    ASSERT_EQ(LookupStrokes(record, c.style, Dictionary()), c.ok);
    if (!c.ok) return;
    std::vector<int> strokes;
    for (const NamePart part : {Surname, GivenName}) {
        for (int k = 1; k <= record.Lengths[part]; ++k) strokes.push_back(record.Strokes[part][k]);
    }
    EXPECT_EQ(strokes, c.strokes);
}

INSTANTIATE_TEST_SUITE_P(StrokeDictionaryData, NamesWithBuiltInData,
                         ::testing::Values(NameCase{"山田", "太郎", Shinji, true, {3, 5, 4, 9}},
                                           NameCase{"山田", "太郎", Honji, true, {3, 5, 4, 14}},
                                           NameCase{"渡辺", "花子", Shinji, true, {12, 5, 7, 3}},
                                           NameCase{"渡辺", "花子", Honji, true, {13, 22, 10, 3}},
                                           NameCase{"佐々木", "子", Shinji, true, {7, 3, 4, 3}},
                                           NameCase{"佐々木", "子", Honji, true, {7, 7, 4, 3}},
                                           NameCase{"池田", "子", Shinji, true, {6, 5, 3}},
                                           NameCase{"池田", "子", Honji, true, {7, 5, 3}},
                                           NameCase{"佐", "奈ゞ", Honji, true, {7, 8, 10}},
                                           NameCase{"佐", "々子", Shinji, false, {}},
                                           NameCase{"佐", "々子", Honji, false, {}},
                                           NameCase{"山⑤", "子", Shinji, true, {3, 5, 3}},
                                           NameCase{"山⑤", "子", Honji, false, {}},
                                           NameCase{"山ー", "子", Shinji, true, {3, 1, 3}},
                                           NameCase{"山ー", "子", Honji, true, {3, 1, 3}},
                                           NameCase{"山、", "子", Shinji, false, {}},
                                           NameCase{"山，", "子", Honji, false, {}},
                                           NameCase{"山　", "子", Shinji, false, {}},
                                           NameCase{"山　", "子", Honji, false, {}}));

// ---------------------------------------------------------------- coverage

// Lists what one set has and the other lacks, a few of each.
std::string Difference(const std::set<unsigned>& actual, const std::set<unsigned>& expected) {
    std::string text;
    int shown = 0;
    for (const unsigned code : actual) {
        if (!expected.count(code) && shown++ < 10) text += " extra " + Describe(code);
    }
    for (const unsigned code : expected) {
        if (!actual.count(code) && shown++ < 20) text += " missing " + Describe(code);
    }
    return text;
}

TEST(StrokeDictionaryData, CoversExactlyTheCountableCharacters) {
    std::set<unsigned> kanji;
    int level1 = 0, level2 = 0, extension = 0;
    for (const unsigned code : AssignedCodes()) {
        switch (KanjiGroupOf(code)) {
            case KanjiGroup::Level1:
                ++level1;
                break;
            case KanjiGroup::Level2:
                ++level2;
                break;
            case KanjiGroup::Extension:
                ++extension;
                break;
            case KanjiGroup::None:
                continue;
        }
        kanji.insert(code);
    }
    ASSERT_EQ(level1, 2965);
    ASSERT_EQ(level2, 3390);
    ASSERT_EQ(extension, 360);

    std::set<unsigned> both = kanji;
    auto addRange = [&](std::set<unsigned>& set, unsigned first, unsigned last) {
        for (unsigned code = first; code <= last; ++code) {
            if (code != 0x837F) set.insert(code);  // 0x7F is never a trail byte
        }
    };
    addRange(both, 0x829F, 0x82F1);  // ぁ to ん
    addRange(both, 0x8340, 0x8396);  // ァ to ヶ
    addRange(both, 0x824F, 0x8258);  // ０ to ９
    addRange(both, 0x8260, 0x8279);  // Ａ to Ｚ
    addRange(both, 0x8281, 0x829A);  // ａ to ｚ
    for (const unsigned code :
         {0x8142u, 0x8144u, 0x8145u, 0x8146u, 0x8147u, 0x8148u, 0x8149u, 0x8159u,
          0x815Bu, 0x815Eu, 0x8160u, 0x8166u, 0x817Bu, 0x817Cu, 0x817Eu, 0x8181u,
          0x8193u, 0x8194u, 0x8195u, 0x8196u, 0x8197u, 0x8199u, 0x819Au, 0x819Bu}) {
        both.insert(code);  // the 24 symbols
    }
    both.insert(0x815A);  // 〇
    both.insert(0x8157);  // 仝
    std::set<unsigned> shinjiOnly;
    addRange(shinjiOnly, 0x8740, 0x8753);  // ① to ⑳
    for (const unsigned code : {0x8152u, 0x8153u, 0x8154u, 0x8155u, 0x8158u}) {
        shinjiOnly.insert(code);  // ヽ ヾ ゝ ゞ 々
    }
    ASSERT_EQ(both.size(), 6715u + 83 + 86 + 10 + 52 + 24 + 2);
    std::set<unsigned> shinji = both;
    shinji.insert(shinjiOnly.begin(), shinjiOnly.end());

    const std::set<unsigned> shinjiCodes = CodesOfStyle(Shinji);
    const std::set<unsigned> honjiCodes = CodesOfStyle(Honji);
    EXPECT_TRUE(shinjiCodes == shinji) << Difference(shinjiCodes, shinji);
    EXPECT_TRUE(honjiCodes == both) << Difference(honjiCodes, both);
    EXPECT_EQ(shinjiCodes.size(), 6997u);
    EXPECT_EQ(honjiCodes.size(), 6972u);

    // Whatever code page 932 assigns and the lines lack cannot be counted.
    for (const unsigned code : AssignedCodes()) {
        const std::string unit = Unit(code);
        for (const auto& [style, codes] :
             {std::pair{Shinji, &shinjiCodes}, std::pair{Honji, &honjiCodes}}) {
            const int strokes = Dictionary().Find(style, unit);
            if (codes->count(Cp932::CanonicalCode(code))) {
                EXPECT_GE(strokes, 1) << Describe(code);
                EXPECT_LE(strokes, 30) << Describe(code);
            } else {
                EXPECT_EQ(strokes, Absent) << Describe(code);
            }
        }
    }
}

TEST(StrokeDictionaryData, NecSelectedCodesCountAsTheirIbmCodes) {
    int kanji = 0;
    for (const unsigned code : AssignedCodes()) {
        if (code < 0xED40 || code > 0xEEFC) continue;
        const std::string nec = Unit(code);
        const auto ibm = Cp932::FromUtf8(*Cp932::ToUtf8(nec));
        ASSERT_TRUE(ibm && ibm->size() == 2) << Hex(code);
        ASSERT_NE(*ibm, nec) << Hex(code);
        for (const auto style : {Shinji, Honji}) {
            EXPECT_EQ(Dictionary().Find(style, nec), Dictionary().Find(style, *ibm)) << Hex(code);
        }
        if (KanjiGroupOf(UnitCode(*ibm)) == KanjiGroup::Extension) {
            ++kanji;
            EXPECT_GT(Dictionary().Find(Shinji, nec), 0) << Describe(code);
            EXPECT_GT(Dictionary().Find(Honji, nec), 0) << Describe(code);
        }
    }
    EXPECT_EQ(kanji, 360);
}

// ---------------------------------------------------------------- fidelity

// How closely the lines follow the published per-line numbers of distinct
// characters: half the L1 distance between the two lists. The kanji lists are
// built from public dictionaries, so they are measured, not copied.
int HalfDistanceToPublishedLines(StrokeStyle style, const std::vector<int>& published) {
    int distance = 0;
    const int first = static_cast<int>(style) * StrokeDictionary::LinesPerStyle;
    for (int n = 0; n < StrokeDictionary::LinesPerStyle; ++n) {
        const std::string& text = Dictionary().Line(first + n);
        std::set<unsigned> distinct;
        for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
            distinct.insert(UnitCode(std::string_view(text).substr(i, 2)));
        }
        distance += std::abs(static_cast<int>(distinct.size()) - published[n]);
    }
    return distance / 2;
}

TEST(StrokeDictionaryData, FollowsThePublishedLineSizes) {
    const std::vector<int> shinji = {72,  117, 122, 132, 174, 214, 333, 457, 496, 573,
                                     619, 619, 567, 461, 462, 395, 316, 219, 180, 139,
                                     116, 72,  51,  40,  18,  12,  9,   7,   4,   2};
    const std::vector<int> honji = {37,  106, 127, 135, 159, 177, 247, 358, 435, 510,
                                    554, 586, 563, 520, 506, 453, 356, 271, 231, 179,
                                    155, 120, 68,  52,  26,  14,  13,  5,   7,   2};
    EXPECT_LE(HalfDistanceToPublishedLines(Shinji, shinji), 15);
    EXPECT_LE(HalfDistanceToPublishedLines(Honji, honji), 45);
}

TEST(StrokeDictionaryData, HonjiDiffersFromShinjiWithinThePublishedRange) {
    // 本字式 counts a kanji up to 20 strokes more (庁 as 廳) and at most 3
    // fewer (孤 泰 雅: the Kangxi count of 瓜, 氺 and 牙).
    const std::vector<std::string> numerals = Units("一二三四五六七八九十");
    int most = 0;
    for (const unsigned code : AssignedCodes()) {
        if (KanjiGroupOf(code) == KanjiGroup::None) continue;
        const std::string unit = Unit(code);
        if (std::find(numerals.begin(), numerals.end(), unit) != numerals.end()) continue;
        const int difference = Dictionary().Find(Honji, unit) - Dictionary().Find(Shinji, unit);
        EXPECT_GE(difference, -3) << Describe(code);
        EXPECT_LE(difference, 20) << Describe(code);
        most = std::max(most, difference);
    }
    EXPECT_EQ(most, 20);
}

}  // namespace
}  // namespace soten
