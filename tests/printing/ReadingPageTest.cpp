// The printed page as drawn on the layer's canvas: fonts, texts and the
// conversion to device dots (the positions on paper are checked in the PDF).
// A fake printer at 254 dpi without offset makes device dots equal to the
// page's tenths of a millimetre.
#include <gtest/gtest.h>

#include <QSvgRenderer>

#include "analysis/reading/Fortunes.h"
#include "printing/device/PrinterSession.h"
#include "printing/pages/ReadingPage.h"
#include "tests/support/FixtureTables.h"
#include "tests/support/printing/PrintingTestSupport.h"

namespace soten {
namespace {

using printing::FakePrinterBackend;
using test::FixtureTables;
using test::ReadingOf;

const QString Gothic = QStringLiteral("ＭＳ ゴシック");
const QString Mincho = QStringLiteral("ＭＳ 明朝");

std::vector<RecordedPage::Item> PageOf(
    const Reading& reading, std::unique_ptr<FakePrinterBackend> backend = test::OneFakePrinter()) {
    PrinterSession printer(std::move(backend));
    printer.BeginDocument(QStringLiteral("test"));
    printing::PaintReadingPage(printer, reading, FixtureTables());
    return printer.PageCanvas().Items();
}

// The texts whose left edge is at x, in drawing order.
std::vector<RecordedPage::Text> TextsAt(const std::vector<RecordedPage::Item>& page, int x) {
    std::vector<RecordedPage::Text> texts;
    for (const auto& text : test::TextsOf(page)) {
        if (text.topLeft.x() == x) texts.push_back(text);
    }
    return texts;
}

QString FromSjis(const std::string& cp932) {
    return QString::fromStdString(test::Utf8(cp932));
}

TEST(ReadingPageTest, TenthMillimetresToDeviceDots) {
    const std::int32_t rows[][4] = {
        // tenths of a millimetre, dpi, offset, dots
        {1150, 254, 0, 1150},   {1150, 600, 0, 2716},  // 2716.5 truncated
        {1150, 600, 50, 2666},                         // the offset after the division
        {2970, 1200, 0, 14031}, {-10, 600, 0, -23},    // toward zero
    };
    for (const auto& row : rows) {
        EXPECT_EQ(printing::TenthMmToDevice(row[0], row[1], row[2]), row[3])
            << row[0] << " " << row[1];
    }
}

TEST(ReadingPageTest, EachAxisHasItsOwnResolutionAndOffset) {
    auto backend = test::OneFakePrinter();
    backend->resolution = QPoint(300, 600);
    backend->physicalOffset = QPoint(12, 34);
    PrinterSession printer(std::move(backend));
    EXPECT_EQ(printing::TenthMmToDeviceX(printer, 1150), 1358 - 12);
    EXPECT_EQ(printing::TenthMmToDeviceY(printer, 315), 744 - 34);
}

TEST(ReadingPageTest, HeadingFirstAndEveryTextBlack) {
    const auto texts = test::TextsOf(PageOf(ReadingOf("山田", "太郎")));
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].text, QStringLiteral("蒼 天 姓 名 判 断"));
    EXPECT_EQ(texts[0].topLeft, QPoint(1150, 315));
    EXPECT_EQ(texts[0].font.name, Gothic);
    EXPECT_EQ(texts[0].font.size, 22);
    for (const auto& text : texts) {
        EXPECT_EQ(text.font.color, QColor(Qt::black)) << text.text.toStdString();
    }
}

TEST(ReadingPageTest, HonjiNoteInMincho9) {
    const auto notes = TextsAt(PageOf(ReadingOf("山田", "太郎", StrokeStyle::Honji)), 420);
    ASSERT_EQ(notes.size(), 6u);  // five numbers and the note
    const auto& note = notes[0];  // drawn before the five numbers
    EXPECT_EQ(note.text, QStringLiteral("※本字式姓名判断で用いる画数は，文字構成の根本法則による"
                                        "ものです。漢字辞典の画数と異なる場合がありますが間違い"
                                        "ではありません。"));
    EXPECT_EQ(note.topLeft.y(), 1910);
    EXPECT_EQ(note.font.name, Mincho);
    EXPECT_EQ(note.font.size, 9);
}

TEST(ReadingPageTest, NameInGothic15StrokesInMincho12) {
    const auto page = PageOf(ReadingOf("山田", "太郎"));
    const auto characters = TextsAt(page, 530);
    const auto strokes = TextsAt(page, 600);
    ASSERT_EQ(characters.size(), 4u);
    ASSERT_EQ(strokes.size(), 4u);
    EXPECT_EQ(characters[3].text, QStringLiteral("郎"));
    EXPECT_EQ(characters[3].font.name, Gothic);
    EXPECT_EQ(characters[3].font.size, 15);
    EXPECT_EQ(strokes[0].text, QStringLiteral("＝  3画"));
    EXPECT_EQ(strokes[3].text, QStringLiteral("＝  9画"));
    EXPECT_EQ(strokes[3].topLeft.y(), 500 + 3 * 229 + 5);
    EXPECT_EQ(strokes[3].font.name, Mincho);
    EXPECT_EQ(strokes[3].font.size, 12);
}

TEST(ReadingPageTest, FortuneLinesOfTheWorkedExampleTotalOnTop) {
    const auto lines = TextsAt(PageOf(ReadingOf("山田", "太郎")), 420);
    ASSERT_EQ(lines.size(), 5u);
    const std::pair<const char*, int> expected[] = {{"総運：21［", 21},
                                                    {"天運： 8［", 8},
                                                    {"人運： 9［", 9},
                                                    {"地運：13［", 13},
                                                    {"外運：12［", 12}};
    for (int row = 0; row < 5; ++row) {
        const auto line = std::find_if(lines.begin(), lines.end(), [row](const auto& text) {
            return text.topLeft.y() == 1394 + 69 * row;
        });
        ASSERT_NE(line, lines.end()) << row;
        const Keyword keyword = LookupKeyword(FixtureTables(), expected[row].second);
        EXPECT_EQ(line->text, QString::fromUtf8(expected[row].first) +
                                  FromSjis(GradeMark(keyword.grade)) + u' ' +
                                  FromSjis(keyword.word) + QStringLiteral("数］"));
        EXPECT_EQ(line->font.name, Mincho);
        EXPECT_EQ(line->font.size, 12);
    }
}

TEST(ReadingPageTest, ReadingLinesAreThePrintLines) {
    const Reading reading = ReadingOf("山田", "太郎");
    const int last = reading.Lines().lastPrintLine;
    const auto lines = TextsAt(PageOf(reading), 1070);
    ASSERT_EQ(static_cast<int>(lines.size()), last + 1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, FromSjis(reading.Lines().PrintLines[i])) << i;
        EXPECT_EQ(lines[i].font.name, Mincho);
        EXPECT_EQ(lines[i].font.size, 12);
    }
    EXPECT_EQ(lines.front().topLeft.y(), 500);
    EXPECT_EQ(lines.back().topLeft.y(), 1670);
}

TEST(ReadingPageTest, ReadingLineSpacingFollowsTheLineCount) {
    EXPECT_EQ(printing::ReadingLineY(1, 18) - printing::ReadingLineY(0, 18), 65);
    EXPECT_EQ(printing::ReadingLineY(1, 15) - printing::ReadingLineY(0, 15), 78);
    EXPECT_EQ(printing::ReadingLineY(0, 0), 500);  // never a division by zero
}

TEST(ReadingPageTest, FrameIsDrawnLastStretchedIntoItsRectangle) {
    auto backend = test::OneFakePrinter();
    backend->resolution = QPoint(600, 600);
    backend->physicalOffset = QPoint(30, 40);
    const auto page = PageOf(ReadingOf("山田", "太郎"), std::move(backend));
    ASSERT_FALSE(page.empty());
    const auto* frame = std::get_if<RecordedPage::Picture>(&page.back());
    ASSERT_NE(frame, nullptr);
    // (200, 200)–(2770, 1900) at 600 dpi: 472 − 30, 472 − 40, 6543 − 30, 4488 − 40.
    EXPECT_EQ(frame->rect, QRect(442, 432, 6513 - 442, 4448 - 432));
    ASSERT_NE(frame->picture, nullptr);
    const QRectF box = frame->picture->viewBoxF();
    EXPECT_NEAR(box.width() / box.height(), 1.46, 0.01);
}

}  // namespace
}  // namespace soten
