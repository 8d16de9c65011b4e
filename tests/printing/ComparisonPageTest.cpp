// The printed comparison: twenty names a page on A4 landscape, every name's
// figures on its row, and the PDF that soten-cli gets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRect>
#include <QTemporaryDir>
#include <QTimer>

#include "analysis/reading/Fortunes.h"
#include "analysis/text/PaddedNumber.h"
#include "analysis/text/ShiftJis.h"
#include "printing/device/PrinterSession.h"
#include "printing/pages/ComparisonPage.h"
#include "printing/pages/PdfExport.h"
#include "printing/pages/PrintPreview.h"
#include "tests/support/FixtureTables.h"
#include "tests/support/printing/PrintingTestSupport.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

const QDate Date(2026, 12, 9);

ShortlistEntry Entry(const char* surname, const char* given, const char* reading,
                     const char* note = "") {
    return {Sjis(surname), Sjis(given), Sjis(reading), StrokeStyle::Shinji, Sjis(note)};
}

std::vector<ComparedName> Fixtures() {
    return CompareNames(
        {Entry("山田", "太郎", "たろう"), Entry("佐藤", "結衣", "ゆい", "第一候補"),
         Entry("佐藤", "由衣", ""), Entry("鈴木", "陽菜", ""), Entry("山田", "a", "", "祖父の案"),
         // 驫 is in the dictionary but not among the characters of names.
         Entry("田中", "驫", "")},
        BuiltInTables());
}

// `count` names, the fixtures over and over.
std::vector<ComparedName> Names(std::size_t count) {
    const std::vector<ComparedName> fixtures = Fixtures();
    std::vector<ComparedName> names;
    for (std::size_t i = 0; i < count; ++i) names.push_back(fixtures[i % fixtures.size()]);
    return names;
}

// The pages as the fake printer got them (254 dpi: dots are tenths of a
// millimetre), each as its texts.
std::vector<std::vector<RecordedPage::Text>> Print(const std::vector<ComparedName>& names) {
    auto backend = test::OneFakePrinter();
    printing::FakePrinterBackend* fake = backend.get();
    PrinterSession printer(std::move(backend));
    printing::PrintComparisonPages(printer, names, Date);
    EXPECT_FALSE(printer.DocumentOpen());
    EXPECT_EQ(fake->documents.size(), 1u);
    if (fake->documents.empty()) return {};
    EXPECT_EQ(fake->documents[0].mode.orientation, OrientationLandscape);
    EXPECT_EQ(fake->documents[0].mode.paperSize, PaperA4);
    std::vector<std::vector<RecordedPage::Text>> pages;
    for (const auto& page : fake->documents[0].pages) pages.push_back(test::TextsOf(page));
    return pages;
}

bool Holds(const std::vector<RecordedPage::Text>& texts, const QString& text) {
    return std::any_of(texts.begin(), texts.end(), [&](const auto& t) { return t.text == text; });
}

// The numbers in the first column, 8 mm wide from the 15 mm margin.
std::vector<QString> ListNumbers(const std::vector<RecordedPage::Text>& texts) {
    std::vector<QString> numbers;
    for (const auto& text : texts) {
        bool number = false;
        text.text.toInt(&number);
        if (number && text.topLeft.x() < 150 + 80) numbers.push_back(text.text);
    }
    return numbers;
}

TEST(ComparisonPageTest, TwentyNamesAPageEachNumbered) {
    for (const std::size_t count : {0u, 1u, 20u, 21u, 41u}) {
        SCOPED_TRACE(count);
        const int expected = count == 0 ? 1 : static_cast<int>((count + 19) / 20);
        EXPECT_EQ(printing::ComparisonPageCount(count), expected);
        const auto pages = Print(Names(count));
        ASSERT_EQ(pages.size(), static_cast<std::size_t>(expected));
        for (int page = 0; page < expected; ++page) {
            const auto& texts = pages[static_cast<std::size_t>(page)];
            EXPECT_TRUE(Holds(texts, QStringLiteral("%1 / %2").arg(page + 1).arg(expected)));
            EXPECT_TRUE(Holds(texts, QStringLiteral("2026年12月9日")));
            EXPECT_TRUE(Holds(texts, QStringLiteral("蒼天姓名判断　名前の比較")));
            // The names of the page and no other, by their numbers in the list.
            std::vector<QString> numbers;
            const std::size_t first = static_cast<std::size_t>(page) * 20 + 1;
            for (std::size_t n = first; n <= std::min(count, first + 19); ++n) {
                numbers.push_back(QString::number(n));
            }
            EXPECT_EQ(ListNumbers(texts), numbers);
        }
    }
}

TEST(ComparisonPageTest, EachRowHoldsTheNameItsFiguresOrItsRefusal) {
    const std::vector<ComparedName> names = Fixtures();
    ASSERT_TRUE(std::any_of(names.begin(), names.end(),
                            [](const auto& n) { return !n.refusal && !n.registrable; }));
    const auto pages = Print(names);
    ASSERT_EQ(pages.size(), 1u);
    const auto& texts = pages[0];
    const auto from = [](const std::string& cp932) { return QString::fromStdString(Utf8(cp932)); };
    for (const ComparedName& name : names) {
        SCOPED_TRACE(Utf8(name.entry.given));
        // The row of the name: the texts at the height of its given name.
        const auto given = std::find_if(texts.begin(), texts.end(), [&](const auto& t) {
            return t.text == from(name.entry.given);
        });
        ASSERT_NE(given, texts.end());
        QStringList row;
        for (const auto& text : texts) {
            if (std::abs(text.topLeft.y() - given->topLeft.y()) < 20) row << text.text.trimmed();
        }
        EXPECT_TRUE(row.contains(from(name.entry.surname)));
        if (!name.entry.reading.empty()) {
            EXPECT_TRUE(row.contains(from(name.entry.reading)));
        }
        if (!name.entry.note.empty()) {
            EXPECT_TRUE(row.contains(from(name.entry.note)));
        }
        EXPECT_TRUE(row.contains(QStringLiteral("新字式")));
        if (name.refusal) {
            EXPECT_TRUE(row.contains(QString::fromStdString(RefusalText(name))))
                << row.join(' ').toStdString();
            continue;
        }
        for (std::size_t kind = 0; kind < FortuneCount; ++kind) {
            const std::string mark = GradeMark(name.keywords[kind].grade);
            const QString expected =
                from(PaddedNumber(name.reading->Counted().Fortunes[kind], 3) + mark).trimmed();
            EXPECT_TRUE(row.contains(expected)) << expected.toStdString();
        }
        QStringList strokes;
        for (int k = 1; k <= name.reading->Counted().Lengths[GivenName]; ++k) {
            strokes << QString::number(name.reading->Counted().Strokes[GivenName][k]);
        }
        EXPECT_TRUE(row.contains(strokes.join(QStringLiteral("・"))));
        EXPECT_TRUE(row.contains(QString::number(name.score)));
        EXPECT_TRUE(row.contains(from(VerdictName(name.sansai.verdict))));
        EXPECT_TRUE(row.contains(from(VerdictName(name.inyo.verdict))));
        EXPECT_TRUE(row.contains(QString::fromStdString(RegistryText(name))));
    }
}

TEST(ComparisonPageTest, UnderEachRowItsRomajiAndSoundNotes) {
    // 佐藤 has a reading in the name dictionary, 佐藤冬馬 a sound note and
    // long-vowel spellings; 鈴木 has no reading entered, so no romaji.
    const std::vector<ComparedName> names =
        CompareNames({Entry("山田", "太郎", "たろう"), Entry("佐藤", "冬馬", "とうま"),
                      Entry("佐藤", "結衣", "ゆい"), Entry("鈴木", "陽菜", "")},
                     BuiltInTables());
    ASSERT_FALSE(names[1].spoken.notes.empty());
    ASSERT_FALSE(names[1].spoken.alternatives.empty());
    const auto pages = Print(names);
    ASSERT_EQ(pages.size(), 1u);
    const auto& texts = pages[0];
    for (const ComparedName& name : names) {
        SCOPED_TRACE(Utf8(name.entry.given));
        const auto given = std::find_if(texts.begin(), texts.end(), [&](const auto& t) {
            return t.text == QString::fromStdString(Utf8(name.entry.given));
        });
        ASSERT_NE(given, texts.end());
        // The band: below the figures, above the next row (7.4 mm a row).
        const auto band = std::find_if(texts.begin(), texts.end(), [&](const auto& t) {
            const int below = t.topLeft.y() - given->topLeft.y();
            return t.text.startsWith(QStringLiteral("ローマ字 ")) && below > 20 && below < 74;
        });
        if (name.spoken.romaji.empty()) {
            EXPECT_EQ(band, texts.end());
            continue;
        }
        ASSERT_NE(band, texts.end());
        EXPECT_FALSE(name.spoken.fullName.empty());
        QStringList parts = {
            QString::fromStdString(name.spoken.fullName),
            QStringLiteral("頭文字 ") + QString::fromStdString(name.spoken.initials)};
        for (const std::string& other : name.spoken.alternatives) {
            parts << QString::fromStdString(other);
        }
        for (const std::string& note : name.spoken.notes) parts << QString::fromStdString(note);
        for (const QString& part : parts) {
            EXPECT_TRUE(band->text.contains(part)) << band->text.toStdString();
        }
        EXPECT_EQ(band->text.contains(QStringLiteral("音の注意")), !name.spoken.notes.empty());
    }
}

TEST(ComparisonPageTest, LongNamesAndNotesStayInTheirCells) {
    std::vector<ComparedName> names = Fixtures();
    names[0].entry.surname = Sjis("山田渡辺佐々木村林池");
    names[1].entry.note = Sjis("読みやすく書きやすい。祖父母も賛成。画数も良いのでこれに決めたい");
    const auto pages = Print(names);
    ASSERT_EQ(pages.size(), 1u);
    // Every text's box: a full-width character is as wide as the font is
    // high. No two boxes overlap, and none reaches into the 15 mm margin.
    std::vector<QRect> boxes;
    for (const auto& text : pages[0]) {
        int cells = 0;
        for (const QChar ch : text.text) cells += ch.unicode() < 0x80 ? 1 : 2;
        const int height = text.font.size * 254 / 72;
        boxes.emplace_back(text.topLeft, QSize(cells * height / 2, height));
        EXPECT_LE(boxes.back().right(), 2970 - 150) << text.text.toStdString();
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            EXPECT_FALSE(boxes[i].intersects(boxes[j]))
                << pages[0][i].text.toStdString() << " / " << pages[0][j].text.toStdString();
        }
    }
    const auto& texts = pages[0];
    EXPECT_TRUE(Holds(texts, QStringLiteral("山田渡辺佐々木村林池")));
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const auto& t) {
        return t.text.startsWith(QStringLiteral("読みやすく")) &&
               t.text.endsWith(QStringLiteral("…"));
    }));
}

TEST(ComparisonPageTest, PdfForTheCommandLineIsLandscapeA4PageByPage) {
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("名前の比較.pdf"));
    ASSERT_EQ(printing::WriteComparisonPdfForCli(Names(23), Date, path.toStdString()), "");
    const auto pages = test::ReadPdfWords(path);
    ASSERT_EQ(pages.size(), 2u);
    for (const auto& page : pages) {
        EXPECT_NEAR(page.width, 2970, 2);
        EXPECT_NEAR(page.height, 2100, 2);
    }
    EXPECT_TRUE(test::FindWord(pages[1], QStringLiteral("23")));
}

TEST(ComparisonPageTest, PrintCommandProposesADatedFileAndPrintsOnOk) {
    auto backend = test::OneFakePrinter();
    printing::FakePrinterBackend* fake = backend.get();
    PrinterSession printer(std::move(backend));
    for (const bool accepted : {false, true}) {
        PrintDialog dialog(printer);
        test::AnswerPrintDialog(dialog, {accepted, "fake", ""});
        printing::PrintComparison(dialog, Fixtures(), Date);
        EXPECT_EQ(dialog.FileName(), QStringLiteral("名前の比較_20261209.pdf"));
        EXPECT_EQ(fake->documents.size(), accepted ? 1u : 0u);
    }
    ASSERT_EQ(fake->documents.size(), 1u);
    EXPECT_EQ(fake->documents[0].title, QStringLiteral("蒼天姓名判断 名前の比較"));
}

TEST(ComparisonPageTest, PreviewShowsEveryPageInLandscape) {
    int pages = 0;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        if (auto* widget = dialog->findChild<QPrintPreviewWidget*>()) {
            pages = widget->pageCount();
            orientation = widget->orientation();
        }
        dialog->reject();
    });
    EXPECT_FALSE(printing::PreviewComparison(Names(21), Date, nullptr));
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(orientation, QPageLayout::Landscape);
}

}  // namespace
}  // namespace soten
