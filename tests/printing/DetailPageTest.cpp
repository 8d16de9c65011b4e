// The printed detail: its lines cut to the paper's width, all on one A4
// portrait page even for the longest name.
#include <gtest/gtest.h>

#include "printing/device/PrinterSession.h"
#include "printing/pages/DetailPage.h"
#include "tests/support/FixtureTables.h"
#include "tests/support/printing/PrintingTestSupport.h"

namespace soten {
namespace {

using test::Sjis;
using test::Utf8;

TEST(DetailPageTest, CutLineBreaksBetweenCharactersAndKeepsPunctuationUp) {
    const struct {
        const char* line;
        std::size_t maxBytes;
        std::vector<const char*> pieces;
    } cases[] = {
        {"天運と人運", 10, {"天運と人運"}},
        {"天運と人運は", 10, {"天運と人運", "＿は"}},
        {"天運と人運。次", 10, {"天運と人運。", "＿次"}},
        {"ab天運", 5, {"ab天", "＿運"}},
        {"", 10, {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::string> expected;
        for (const char* piece : c.pieces) expected.push_back(piece);
        std::vector<std::string> found;
        for (const std::string& piece : printing::CutLine(Sjis(c.line), c.maxBytes, Sjis("＿"))) {
            found.push_back(Utf8(piece));
        }
        EXPECT_EQ(found, expected);
    }
}

TEST(DetailPageTest, LongestNameStaysOnThePortraitPage) {
    for (const auto& [surname, given] :
         {std::pair{"山田", "太郎"}, std::pair{"山田渡辺佐々木村林池", "花子"}}) {
        SCOPED_TRACE(surname);
        const Reading reading = test::ReadingOf(surname, given);
        auto backend = test::OneFakePrinter();
        printing::FakePrinterBackend* fake = backend.get();
        PrinterSession printer(std::move(backend));
        printing::PrintDetailPage(printer, reading, test::FixtureTables());
        ASSERT_EQ(fake->documents.size(), 1u);
        EXPECT_EQ(fake->documents[0].mode.orientation, OrientationPortrait);
        const auto texts = test::TextsOf(fake->documents[0].page);
        ASSERT_FALSE(texts.empty());
        for (const auto& text : texts) {
            // 254 dpi: dots are tenths of a millimetre. Within 20 mm margins
            // 48 full-width characters of 10 points fit, and a "，" or "。"
            // may hang beyond them.
            EXPECT_GE(text.topLeft.y(), 200);
            EXPECT_LE(text.topLeft.y(), 2970 - 200 - 50) << text.text.toStdString();
            int cells = 0;
            for (const QChar ch : text.text) cells += ch.unicode() < 0x80 ? 1 : 2;
            EXPECT_LE(cells, 96 + 2) << text.text.toStdString();
        }
    }
}

}  // namespace
}  // namespace soten
