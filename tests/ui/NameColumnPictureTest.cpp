// The name pane drawn for the worked example and the edge cases of the row
// layout. Every expected position below is the table's, worked out by hand
// from the layout rules; the picture must match it pixel for pixel.
#include <gtest/gtest.h>

#include "tests/ui/PixelSupport.h"
#include "tests/ui/RecordSupport.h"
#include "ui/reading/NameColumnPicture.h"

namespace {

using soten::NameRecord;
using soten::test::CountedCharacter;
using soten::test::PixelSet;
using soten::test::PlacedText;

const QColor Black(0, 0, 0);
const QColor Maroon(0x80, 0, 0);
const QColor Green(0, 0x80, 0);
constexpr const char* Gothic = soten::platform::GothicFace;

PlacedText Char(int x, int y, const char* text) {
    return {Gothic, 19, true, Black, x, y, QString::fromUtf8(text)};
}
PlacedText Marker(int x, int y) {
    return {Gothic, 17, false, Black, x, y, QStringLiteral("①")};
}
PlacedText Number(int x, int y, const char* text) {
    return {Gothic, 15, false, Black, x, y, QString::fromUtf8(text)};
}
PlacedText Label(int x, int y, const char* text) {
    return {Gothic, 15, false, Maroon, x, y, QString::fromUtf8(text)};
}

struct NameColumnCase {
    const char* name;
    std::vector<CountedCharacter> surname;
    std::vector<CountedCharacter> given;
    std::vector<PlacedText> texts;
    std::vector<std::vector<QPoint>> lines;  // brackets and the 総運 rule
};

void PrintTo(const NameColumnCase& c, std::ostream* os) {
    *os << c.name;
}

QImage Actual(const NameRecord& record) {
    QImage image = soten::test::WhiteImage(181, 301);
    QPainter painter(&image);
    soten::ui::PaintNameColumn(painter, record);
    return image;
}

QImage Expected(const NameColumnCase& c) {
    QImage image = soten::test::WhiteImage(181, 301);
    for (const PlacedText& text : c.texts) {
        soten::test::DrawPlacedText(image, text, soten::platform::TextBackground::Transparent);
    }
    for (const auto& line : c.lines) {
        for (const auto& [x, y] : soten::test::PolylinePixels(line))
            image.setPixel(x, y, Green.rgb());
    }
    return image;
}

class NameColumnPictureTest : public ::testing::TestWithParam<NameColumnCase> {};

TEST_P(NameColumnPictureTest, BracketsCoverExactlyTheirPixels) {
    const NameColumnCase& c = GetParam();
    NameRecord record = soten::test::MakeRecord(c.surname, c.given);
    const QImage image = Actual(record);
    PixelSet expected;
    for (const auto& line : c.lines)
        soten::test::Insert(expected, soten::test::PolylinePixels(line));
    EXPECT_EQ(soten::test::PixelsOf(image, Green), expected);
    // GDI leaves the end point of every line unpainted.
    for (const auto& line : c.lines) {
        const QPoint end = line.back();
        EXPECT_NE(image.pixelColor(end), Green) << end.x() << "," << end.y();
    }
}

TEST_P(NameColumnPictureTest, MatchesTheTablePixelForPixel) {
    const NameColumnCase& c = GetParam();
    NameRecord record = soten::test::MakeRecord(c.surname, c.given);
    QString first;
    EXPECT_EQ(soten::test::CountDifferences(Actual(record), Expected(c), &first), 0)
        << first.toStdString();
}

// Brackets of 天運, 人運 and 地運, the simple 外運 bracket and the rule for
// a four-row column (rows 19, 85, 151, 217).
const std::vector<std::vector<QPoint>> FourRowLines = {
    {{114, 26}, {122, 26}, {122, 90}, {113, 90}},
    {{114, 94}, {122, 94}, {122, 156}, {113, 156}},
    {{114, 160}, {122, 160}, {122, 224}, {113, 224}},
    {{67, 26}, {60, 26}, {60, 224}, {68, 224}},
    {{52, 250}, {133, 250}},
};

INSTANTIATE_TEST_SUITE_P(
    Layouts, NameColumnPictureTest,
    ::testing::Values(
        // The worked example: 山田 太郎, 3 5 4 9.
        NameColumnCase{"YamadaTaro",
                       {{"山", 3}, {"田", 5}},
                       {{"太", 4}, {"郎", 9}},
                       {Char(72, 17, "山"),       Number(94, 19, " 3"),   Char(72, 83, "田"),
                        Number(94, 85, " 5"),     Char(72, 149, "太"),    Number(94, 151, " 4"),
                        Char(72, 215, "郎"),      Number(94, 217, " 9"),  Label(128, 45, "　天"),
                        Label(128, 60, "　運"),   Number(128, 52, "8"),   Label(128, 111, "　人"),
                        Label(128, 126, "　運"),  Number(128, 118, "9"),  Label(136, 178, "　地"),
                        Label(136, 193, "　運"),  Number(128, 185, "13"), Label(19, 111, "外"),
                        Label(19, 126, "運"),     Number(40, 118, "12"),  Label(86, 259, "  　総"),
                        Label(86, 274, "  　運"), Number(86, 266, " 21")},
                       FourRowLines},
        // One-character surname: the marker row above it.
        NameColumnCase{"OneCharacterSurname",
                       {{"林", 8}},
                       {{"太", 4}, {"郎", 9}},
                       {Marker(74, 18),         Char(72, 83, "林"),       Number(94, 85, " 8"),
                        Char(72, 149, "太"),    Number(94, 151, " 4"),    Char(72, 215, "郎"),
                        Number(94, 217, " 9"),  Label(128, 45, "　天"),   Label(128, 60, "　運"),
                        Number(128, 52, "9"),   Label(136, 111, "　人"),  Label(136, 126, "　運"),
                        Number(128, 118, "12"), Label(136, 178, "　地"),  Label(136, 193, "　運"),
                        Number(128, 185, "13"), Label(19, 111, "外"),     Label(19, 126, "運"),
                        Number(40, 118, "10"),  Label(86, 259, "  　総"), Label(86, 274, "  　運"),
                        Number(86, 266, " 21")},
                       FourRowLines},
        // Both parts of one character, every number of one digit.
        NameColumnCase{"BothOneCharacterOneDigit",
                       {{"一", 1}},
                       {{"乙", 1}},
                       {Marker(74, 18),           Char(72, 83, "一"),       Number(94, 85, " 1"),
                        Char(72, 149, "乙"),      Number(94, 151, " 1"),    Marker(74, 216),
                        Label(128, 45, "　天"),   Label(128, 60, "　運"),   Number(128, 52, "2"),
                        Label(128, 111, "　人"),  Label(128, 126, "　運"),  Number(128, 118, "2"),
                        Label(128, 178, "　地"),  Label(128, 193, "　運"),  Number(128, 185, "2"),
                        Label(27, 111, "外"),     Label(27, 126, "運"),     Number(48, 118, "2"),
                        Label(86, 259, "  　総"), Label(86, 274, "  　運"), Number(86, 266, "  2")},
                       FourRowLines},
        // s = 3, g = 2: inner bracket and compound 外運 bracket; "ー" drawn as "｜".
        NameColumnCase{"ThreeTwoWithLongVowelMark",
                       {{"ミ", 3}, {"ー", 1}, {"ヤ", 2}},
                       {{"太", 4}, {"郎", 9}},
                       {Char(72, 17, "ミ"),     Number(94, 19, " 3"),     Char(72, 67, "｜"),
                        Number(94, 69, " 1"),   Char(72, 117, "ヤ"),      Number(94, 119, " 2"),
                        Char(72, 167, "太"),    Number(94, 169, " 4"),    Char(72, 217, "郎"),
                        Number(94, 219, " 9"),  Label(128, 62, "　天"),   Label(128, 77, "　運"),
                        Number(128, 69, "6"),   Label(128, 137, "　人"),  Label(128, 152, "　運"),
                        Number(128, 144, "6"),  Label(136, 187, "　地"),  Label(136, 202, "　運"),
                        Number(128, 194, "13"), Label(17, 124, "外"),     Label(17, 139, "運"),
                        Number(38, 131, "13"),  Label(86, 259, "  　総"), Label(86, 274, "  　運"),
                        Number(86, 266, " 19")},
                       {{{114, 26}, {122, 26}, {122, 124}, {113, 124}},
                        {{114, 128}, {122, 128}, {122, 174}, {113, 174}},
                        {{114, 178}, {122, 178}, {122, 226}, {113, 226}},
                        {{67, 26}, {63, 26}, {63, 76}, {68, 76}},
                        {{63, 51}, {58, 51}, {58, 226}, {68, 226}},
                        {{52, 250}, {133, 250}}}},
        // s = 3, g = 5: eight rows, both inner brackets, everything moved for a tall column.
        NameColumnCase{"EightRows",
                       {{"山", 3}, {"田", 5}, {"川", 3}},
                       {{"一", 1}, {"二", 2}, {"三", 3}, {"四", 5}, {"五", 4}},
                       {Char(72, 7, "山"),      Number(94, 9, " 3"),      Char(72, 40, "田"),
                        Number(94, 42, " 5"),   Char(72, 73, "川"),       Number(94, 75, " 3"),
                        Char(72, 106, "一"),    Number(94, 108, " 1"),    Char(72, 139, "二"),
                        Number(94, 141, " 2"),  Char(72, 172, "三"),      Number(94, 174, " 3"),
                        Char(72, 205, "四"),    Number(94, 207, " 5"),    Char(72, 238, "五"),
                        Number(94, 240, " 4"),  Label(136, 35, "　天"),   Label(136, 50, "　運"),
                        Number(128, 42, "11"),  Label(128, 84, "　人"),   Label(128, 99, "　運"),
                        Number(128, 91, "4"),   Label(136, 169, "　地"),  Label(136, 184, "　運"),
                        Number(128, 176, "15"), Label(17, 101, "外"),     Label(17, 116, "運"),
                        Number(38, 108, "22"),  Label(86, 269, "  　総"), Label(86, 284, "  　運"),
                        Number(86, 276, " 26")},
                       {{{114, 16}, {122, 16}, {122, 80}, {113, 80}},
                        {{114, 84}, {122, 84}, {122, 113}, {113, 113}},
                        {{114, 117}, {122, 117}, {122, 247}, {113, 247}},
                        {{67, 16}, {63, 16}, {63, 49}, {68, 49}},
                        {{67, 148}, {63, 148}, {63, 247}, {68, 247}},
                        {{63, 32}, {58, 32}, {58, 198}, {64, 198}},
                        {{52, 265}, {133, 265}}}},
        // Twelve rows (10 + 2), three-digit numbers.
        NameColumnCase{"TwelveRowsThreeDigits",
                       {{"一", 10},
                        {"二", 10},
                        {"三", 10},
                        {"四", 10},
                        {"五", 10},
                        {"六", 10},
                        {"七", 10},
                        {"八", 10},
                        {"九", 10},
                        {"十", 10}},
                       {{"百", 10}, {"千", 10}},
                       {Char(72, 7, "一"),        Number(94, 9, "10"),      Char(72, 28, "二"),
                        Number(94, 30, "10"),     Char(72, 49, "三"),       Number(94, 51, "10"),
                        Char(72, 70, "四"),       Number(94, 72, "10"),     Char(72, 91, "五"),
                        Number(94, 93, "10"),     Char(72, 112, "六"),      Number(94, 114, "10"),
                        Char(72, 133, "七"),      Number(94, 135, "10"),    Char(72, 154, "八"),
                        Number(94, 156, "10"),    Char(72, 175, "九"),      Number(94, 177, "10"),
                        Char(72, 196, "十"),      Number(94, 198, "10"),    Char(72, 217, "百"),
                        Number(94, 219, "10"),    Char(72, 238, "千"),      Number(94, 240, "10"),
                        Label(144, 96, "　天"),   Label(144, 111, "　運"),  Number(128, 103, "100"),
                        Label(136, 201, "　人"),  Label(136, 216, "　運"),  Number(128, 208, "20"),
                        Label(136, 224, "　地"),  Label(136, 239, "　運"),  Number(128, 231, "20"),
                        Label(9, 159, "外"),      Label(9, 174, "運"),      Number(30, 166, "100"),
                        Label(86, 269, "  　総"), Label(86, 284, "  　運"), Number(86, 276, "120")},
                       {{{114, 16}, {122, 16}, {122, 203}, {113, 203}},
                        {{114, 207}, {122, 207}, {122, 224}, {113, 224}},
                        {{114, 228}, {122, 228}, {122, 247}, {113, 247}},
                        {{67, 16}, {63, 16}, {63, 184}, {68, 184}},
                        {{63, 100}, {58, 100}, {58, 247}, {68, 247}},
                        {{52, 265}, {133, 265}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NameColumnPictureTest, LongVowelMarkStandsUprightInTheColumn) {
    const NameRecord longVowel = soten::test::MakeRecord({{"太", 4}}, {{"ミ", 3}, {"ー", 1}});
    const NameRecord upright = soten::test::MakeRecord({{"太", 4}}, {{"ミ", 3}, {"｜", 1}});
    EXPECT_EQ(Actual(longVowel), Actual(upright));
}

TEST(NameColumnPictureTest, SevenRowsKeepTheShortColumn) {
    // s = 5, g = 2: R = 7, P = 33, and the 総運 rule stays at y 250.
    NameRecord record = soten::test::MakeRecord(
        {{"一", 1}, {"二", 2}, {"三", 3}, {"四", 5}, {"五", 4}}, {{"太", 4}, {"郎", 9}});
    const QImage image = Actual(record);
    const PixelSet green = soten::test::PixelsOf(image, Green);
    EXPECT_EQ(green.count({52, 250}), 1u);
    EXPECT_EQ(green.count({52, 265}), 0u);
    // The first surname character's cell starts at y 19 − 2.
    const QRect ink = soten::test::InkBounds(image, QRect(72, 0, 20, 40));
    EXPECT_GE(ink.top(), 17);
}

TEST(NameColumnLayout, SpreadsEveryRowCount) {
    struct Case {
        int surname, given, rows, top, pitch, lastRowY;
    };
    for (const Case& c :
         {Case{1, 1, 4, 19, 66, 217}, Case{2, 2, 4, 19, 66, 217}, Case{3, 2, 5, 19, 50, 219},
          Case{3, 3, 6, 19, 40, 219}, Case{4, 3, 7, 19, 33, 217}, Case{3, 5, 8, 9, 33, 240},
          Case{5, 4, 9, 9, 29, 241}, Case{5, 5, 10, 9, 26, 243}, Case{6, 5, 11, 9, 23, 239},
          Case{10, 2, 12, 9, 21, 240}}) {
        const auto layout = soten::ui::NameColumnLayout::For(c.surname, c.given);
        EXPECT_EQ(layout.rowCount, c.rows);
        EXPECT_EQ(layout.top, c.top);
        EXPECT_EQ(layout.pitch, c.pitch);
        EXPECT_EQ(layout.LastRowY(), c.lastRowY);
    }
    const auto oneEach = soten::ui::NameColumnLayout::For(1, 2);
    EXPECT_EQ(oneEach.LastSurnameY(), 85);
    EXPECT_EQ(oneEach.FirstGivenY(), 151);
}

}  // namespace
