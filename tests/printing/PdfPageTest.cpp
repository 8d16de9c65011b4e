// The printed reading through the whole Print command and Qt's PDF output,
// read back with pdftotext -bbox-layout: every text at its place on the
// sheet, whatever margins Qt's printer keeps.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

#include "tests/support/FixtureTables.h"
#include "tests/support/printing/PrintingTestSupport.h"

namespace soten {
namespace {

using test::FixtureTables;
using test::PdfPage;
using test::PdfWord;
using test::ReadingOf;

// pdftotext gives the top-left corner of a word's glyph box; 0.3 mm is well
// inside the difference a misplaced text would make.
constexpr double Tolerance = 3;

class PdfPageTest : public ::testing::Test {
protected:
    PdfPage Print(const Reading& reading) {
        path_ = directory_.filePath(QStringLiteral("page.pdf"));
        test::PrintToPdfFile(reading, path_, FixtureTables());
        const auto pages = test::ReadPdfWords(path_);
        EXPECT_EQ(pages.size(), 1u);
        return pages.empty() ? PdfPage{} : pages.front();
    }

    // Words whose left edge is at `x`, top to bottom.
    static std::vector<PdfWord> Column(const PdfPage& page, double x) {
        std::vector<PdfWord> words;
        for (const auto& word : page.words) {
            if (std::abs(word.left - x) <= Tolerance) words.push_back(word);
        }
        std::sort(words.begin(), words.end(),
                  [](const auto& a, const auto& b) { return a.top < b.top; });
        return words;
    }

    QTemporaryDir directory_;
    QString path_;
};

TEST_F(PdfPageTest, LandscapeA4WithTheHeadingAt1150_315) {
    const PdfPage page = Print(ReadingOf("山田", "太郎"));
    EXPECT_NEAR(page.width, 2970, 2);
    EXPECT_NEAR(page.height, 2100, 2);
    const auto first = test::FindWord(page, QStringLiteral("蒼"));
    ASSERT_TRUE(first);
    EXPECT_NEAR(first->left, 1150, Tolerance);
    EXPECT_NEAR(first->top, 315, Tolerance);
    // The six characters, spaced, on one line.
    QString heading;
    for (const auto& word : page.words) {
        if (std::abs(word.top - 315) <= Tolerance) heading += word.text;
    }
    EXPECT_EQ(heading, QStringLiteral("蒼天姓名判断"));
}

struct ColumnCase {
    const char* surname;
    const char* given;
    int pitch;
};

void PrintTo(const ColumnCase& c, std::ostream* out) {
    *out << c.surname << " " << c.given;
}

class PdfNameColumnTest : public PdfPageTest, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(PdfNameColumnTest, NameAt530WithStrokesAt600) {
    const Reading reading = ReadingOf(GetParam().surname, GetParam().given);
    const PdfPage page = Print(reading);
    const auto characters = Column(page, 530);
    const auto equals = Column(page, 600);
    const QString name =
        QString::fromUtf8(GetParam().surname) + QString::fromUtf8(GetParam().given);
    ASSERT_EQ(characters.size(), static_cast<std::size_t>(name.size()));
    ASSERT_EQ(equals.size(), characters.size());
    for (std::size_t k = 0; k < characters.size(); ++k) {
        const double y = 500 + static_cast<double>(k) * GetParam().pitch;
        EXPECT_EQ(characters[k].text, name.mid(static_cast<int>(k), 1));
        EXPECT_NEAR(characters[k].top, y, Tolerance) << k;
        EXPECT_EQ(equals[k].text, QStringLiteral("＝")) << k;
        EXPECT_NEAR(equals[k].top, y + 5, Tolerance) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Pitches, PdfNameColumnTest,
                         ::testing::Values(ColumnCase{"林", "一", 265},
                                           ColumnCase{"山田", "一", 265},
                                           ColumnCase{"山田", "太郎", 229},
                                           ColumnCase{"山田太木林花", "一二三子池渡", 62}));

TEST_F(PdfPageTest, LongVowelMarkPrintsUpright) {
    const PdfPage page = Print(ReadingOf("山田", "奈ー"));
    const auto characters = Column(page, 530);
    ASSERT_EQ(characters.size(), 4u);
    EXPECT_EQ(characters[3].text, QStringLiteral("｜"));
}

TEST_F(PdfPageTest, FortuneLinesAt420) {
    const PdfPage page = Print(ReadingOf("山田", "太郎"));
    const char* labels[] = {"総運：21［", "天運：", "人運：", "地運：13［", "外運：12［"};
    for (int row = 0; row < 5; ++row) {
        const double y = 1394 + 69 * row;
        const auto word = test::FindWord(page, QString::fromUtf8(labels[row]), y);
        ASSERT_TRUE(word) << labels[row];
        EXPECT_NEAR(word->left, 420, Tolerance) << labels[row];
        EXPECT_NEAR(word->top, y, Tolerance) << labels[row];
    }
}

TEST_F(PdfPageTest, NumberFromOneHundredWithTheAsciiColon) {
    const PdfPage page = Print(ReadingOf("驫驫", "驫驫"));
    const auto total = test::FindWord(page, QStringLiteral("総運:120［"));
    ASSERT_TRUE(total);
    EXPECT_NEAR(total->left, 420, Tolerance);
    EXPECT_NEAR(total->top, 1394, Tolerance);
}

TEST_F(PdfPageTest, ReadingLinesFrom500To1670) {
    const Reading reading = ReadingOf("山田", "太郎");
    const int last = reading.Lines().lastPrintLine;
    const PdfPage page = Print(reading);
    for (int i = 0; i <= last; ++i) {
        const double y = 500 + i * 1170 / last;
        // A line may begin with an ideographic space, which is no word.
        const bool found = std::any_of(page.words.begin(), page.words.end(), [&](const auto& w) {
            return std::abs(w.top - y) <= Tolerance && w.left >= 1070 - Tolerance &&
                   w.left <= 1070 + 45;
        });
        EXPECT_TRUE(found) << "reading line " << i << " at y " << y;
    }
}

TEST_F(PdfPageTest, HonjiNoteBelowTheBorderOnlyInThatStyle) {
    const PdfPage honji = Print(ReadingOf("山田", "太郎", StrokeStyle::Honji));
    const auto note = test::FindWord(honji, QStringLiteral("※本字式姓名判断で用いる画数は"));
    ASSERT_TRUE(note);
    EXPECT_NEAR(note->left, 420, Tolerance);
    EXPECT_NEAR(note->top, 1910, Tolerance);

    const PdfPage shinji = Print(ReadingOf("山田", "太郎"));
    EXPECT_FALSE(test::FindWord(shinji, QStringLiteral("※")));
}

TEST_F(PdfPageTest, BorderFillsItsRectangle) {
    const PdfPage page = Print(ReadingOf("山田", "太郎"));
    ASSERT_FALSE(page.words.empty());
    // 50.8 dpi: one pixel is half a millimetre, five tenths.
    const QString stem = directory_.filePath(QStringLiteral("page"));
    ASSERT_EQ(
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50.8"),
                           QStringLiteral("-singlefile"), path_, stem}),
        0);
    const QImage image(stem + QStringLiteral(".png"));
    ASSERT_FALSE(image.isNull());
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    // The outer line lies just inside (200, 200)–(2770, 1900): the picture is
    // stretched to the rectangle, not fitted into it.
    EXPECT_GE(left * 5, 195);
    EXPECT_LE(left * 5, 230);
    EXPECT_GE(top * 5, 195);
    EXPECT_LE(top * 5, 230);
    EXPECT_GE(right * 5, 2740);
    EXPECT_LE(right * 5, 2775);
    EXPECT_GE(bottom * 5, 1870);
    EXPECT_LE(bottom * 5, 1905);
}

}  // namespace
}  // namespace soten
