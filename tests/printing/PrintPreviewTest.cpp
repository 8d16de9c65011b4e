// The print preview shows the page the Print command prints, drawn by the
// same page painter, and offers printing from there.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>

#include "printing/pages/PrintPreview.h"
#include "tests/support/FixtureTables.h"
#include "tests/support/printing/PrintingTestSupport.h"

namespace soten {
namespace {

using test::FixtureTables;

// Runs `look` on the preview once it is on screen, then closes it with
// Print or with the close button.
bool Preview(const Reading& reading, std::function<void(QPrintPreviewDialog&)> look, bool print) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        look(*dialog);
        for (QAction* action : dialog->findChildren<QAction*>()) {
            if (print &&
                action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print")) {
                action->trigger();
                return;
            }
        }
        dialog->reject();
    });
    return printing::PreviewReading(reading, FixtureTables(), nullptr);
}

TEST(PrintPreviewTest, ShowsOneLandscapePageWithInkOnIt) {
    int pages = 0;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QImage shown;
    const bool printAsked = Preview(
        test::ReadingOf("山田", "太郎"),
        [&](QPrintPreviewDialog& dialog) {
            auto* widget = dialog.findChild<QPrintPreviewWidget*>();
            ASSERT_NE(widget, nullptr);
            pages = widget->pageCount();
            orientation = widget->orientation();
            shown = widget->grab().toImage();
        },
        false);
    EXPECT_FALSE(printAsked);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(orientation, QPageLayout::Landscape);
    int dark = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) dark += qGray(shown.pixel(x, y)) < 64;
    }
    EXPECT_GT(dark, 500);  // the border and the text, not a blank sheet
}

TEST(PrintPreviewTest, PrintInThePreviewAsksForThePrintCommand) {
    EXPECT_TRUE(Preview(
        test::ReadingOf("山田", "太郎"), [](QPrintPreviewDialog&) {}, true));
}

// What the preview paints on a printer is the printout: every word of the
// Print command's PDF stands at the same place.
TEST(PrintPreviewTest, PaintsThePageOfThePrintCommand) {
    const Reading reading = test::ReadingOf("山田", "太郎", StrokeStyle::Honji);
    QTemporaryDir dir;
    const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
    const QString previewed = dir.filePath(QStringLiteral("previewed.pdf"));
    test::PrintToPdfFile(reading, printed, FixtureTables());
    Preview(
        reading,
        [&](QPrintPreviewDialog& dialog) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(previewed);
            emit dialog.paintRequested(&printer);
        },
        false);
    const auto expected = test::ReadPdfWords(printed);
    const auto actual = test::ReadPdfWords(previewed);
    ASSERT_EQ(expected.size(), 1u);
    ASSERT_EQ(actual.size(), 1u);
    ASSERT_EQ(actual[0].words.size(), expected[0].words.size());
    ASSERT_GT(expected[0].words.size(), 20u);
    for (std::size_t i = 0; i < expected[0].words.size(); ++i) {
        EXPECT_EQ(actual[0].words[i].text, expected[0].words[i].text);
        EXPECT_NEAR(actual[0].words[i].left, expected[0].words[i].left, 1);
        EXPECT_NEAR(actual[0].words[i].top, expected[0].words[i].top, 1);
    }
}

}  // namespace
}  // namespace soten
