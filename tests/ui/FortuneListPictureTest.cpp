// The fortune pane: five rows in listing order, the value text in its two
// widths, the grade mark and keyword in the grade's colour, and the pieces
// abutting on the half-width cell grid.
#include <gtest/gtest.h>

#include "analysis/text/ShiftJis.h"
#include "tests/ui/PixelSupport.h"
#include "ui/reading/FortuneListPicture.h"

namespace {

using soten::NameRecord;
using soten::Tables;
using soten::test::PlacedText;

const QColor Black(0, 0, 0);
const QColor Maroon(0x80, 0, 0);
const QColor Red(0xFF, 0, 0);
const QColor DarkGreen(0, 0x60, 0);
const QColor Blue(0, 0, 0xFF);

// A keyword table of our own, so the test does not depend on the shipped
// words: row (number − 1) holds the grade and keyword of a number.
Tables TestTables() {
    std::vector<std::string> keywords(80, soten::Cp932Text("3平凡"));
    auto set = [&](int number, const char* row) { keywords[number - 1] = soten::Cp932Text(row); };
    set(21, "2大成");
    set(8, "2積極");
    set(9, "4多難");
    set(13, "1俊英");
    set(12, "4薄弱");
    set(3, "3温和");
    set(7, "3独立");
    set(20, "1発展");
    set(1, "2幸福");
    set(80, "4不幸");
    return Tables{soten::StrokeDictionary(std::vector<std::string>(60)),
                  soten::TextTable(std::move(keywords)),
                  soten::TextTable(std::vector<std::string>(110))};
}

struct Row {
    const char* label;
    const char* value;
    const char* grade;
    QColor gradeColor;
};

struct FortuneListCase {
    const char* name;
    int heaven, person, earth, outer, total;
    std::vector<Row> rows;  // 総運, 天運, 人運, 地運, 外運
};

void PrintTo(const FortuneListCase& c, std::ostream* os) {
    *os << c.name;
}

QImage Render(const FortuneListCase& c, const Tables& tables) {
    NameRecord record;
    record.Fortunes = {c.heaven, c.person, c.earth, c.outer, c.total};
    QImage image = soten::test::WhiteImage(181, 125);
    QPainter painter(&image);
    soten::ui::PaintFortuneList(painter, record, tables);
    return image;
}

class FortuneListPictureTest : public ::testing::TestWithParam<FortuneListCase> {};

TEST_P(FortuneListPictureTest, MatchesTheTablePixelForPixel) {
    const FortuneListCase& c = GetParam();
    const Tables tables = TestTables();
    QImage expected = soten::test::WhiteImage(181, 125);
    const char* face = soten::platform::GothicFace;
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
        const int y = 23 * static_cast<int>(i) + 9;
        const Row& row = c.rows[i];
        // Label at 13, value at 13 + 4 cells, grade at 13 + 10 cells, "］" at 13 + 19 cells.
        for (const PlacedText& text :
             {PlacedText{face, 16, false, Maroon, 13, y, QString::fromUtf8(row.label)},
              PlacedText{face, 16, false, Black, 45, y, QString::fromUtf8(row.value)},
              PlacedText{face, 16, false, row.gradeColor, 93, y, QString::fromUtf8(row.grade)},
              PlacedText{face, 16, false, Black, 165, y, QStringLiteral("］")}}) {
            soten::test::DrawPlacedText(expected, text, soten::platform::TextBackground::Opaque);
        }
    }
    QString first;
    EXPECT_EQ(soten::test::CountDifferences(Render(c, tables), expected, &first), 0)
        << first.toStdString();
}

TEST_P(FortuneListPictureTest, GradeColoursStayInTheirRowsGradeText) {
    const FortuneListCase& c = GetParam();
    const QImage image = Render(c, TestTables());
    for (const QColor& color : {Red, DarkGreen, Blue}) {
        for (const auto& [x, y] : soten::test::PixelsOf(image, color)) {
            const int row = (y - 9) / 23;
            ASSERT_GE(row, 0);
            ASSERT_LT(row, 5);
            EXPECT_EQ(c.rows[static_cast<std::size_t>(row)].gradeColor, color) << x << "," << y;
            EXPECT_GE(x, 93);
            EXPECT_LT(x, 93 + 9 * 8);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Readings, FortuneListPictureTest,
                         ::testing::Values(
                             // The worked example: 天運 8, 人運 9, 地運 13, 外運 12, 総運 21.
                             FortuneListCase{"YamadaTaro",
                                             8,
                                             9,
                                             13,
                                             12,
                                             21,
                                             {{"総運", "：21［", "○ 大成数", Red},
                                              {"天運", "： 8［", "○ 積極数", Red},
                                              {"人運", "： 9［", "× 多難数", Blue},
                                              {"地運", "：13［", "◎ 俊英数", Red},
                                              {"外運", "：12［", "× 薄弱数", Blue}}},
                             // One digit, three digits with the half-width colon, numbers past 80
                             // reading the rows from the start again, and grade 3.
                             FortuneListCase{"WideAndWrapped",
                                             3,
                                             100,
                                             81,
                                             160,
                                             7,
                                             {{"総運", "： 7［", "△ 独立数", DarkGreen},
                                              {"天運", "： 3［", "△ 温和数", DarkGreen},
                                              {"人運", ":100［", "◎ 発展数", Red},
                                              {"地運", "：81［", "○ 幸福数", Red},
                                              {"外運", ":160［", "× 不幸数", Blue}}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
