// The second line of the refusal box: every refused character named, never
// as the replacement character, and the hint when Japanese input was off.
#include <gtest/gtest.h>

#include "analysis/text/ShiftJis.h"
#include "ui/reading/RefusalDetail.h"

namespace {

using soten::ui::RefusalDetail;

TEST(RefusalDetail, NamesEveryCharacterAndHintsAtJapaneseInputForLetters) {
    const std::string lacking = "\x1A";
    const QString hint = QStringLiteral("\n日本語入力をオンにしてください");
    const struct {
        std::vector<std::string> characters;
        QString typed;
        QString expected;
    } cases[] = {
        {{"s", "a", "t", "o"},
         QStringLiteral("sato"),
         QStringLiteral("「s」「a」「t」「o」は辞書にありません") + hint},
        {{soten::Cp932Text("鬱"), lacking},
         QStringLiteral("𠮷鬱"),
         QStringLiteral("「鬱」「𠮷」は辞書にありません")},
        // Two characters code page 932 lacks arrive as one SUB.
        {{lacking, "a"},
         QStringLiteral("𠮷😀a"),
         QStringLiteral("「𠮷」「😀」「a」は辞書にありません") + hint},
        // Not printable: its code point.
        {{lacking}, QString::fromUcs4(U"\u0378"), QStringLiteral("「U+0378」は辞書にありません")},
        {{}, QStringLiteral("山田"), QString()},
    };
    for (const auto& c : cases) {
        const QString detail = RefusalDetail(c.characters, c.typed);
        EXPECT_EQ(detail, c.expected) << c.typed.toStdString();
        EXPECT_FALSE(detail.contains(QChar::ReplacementCharacter));
    }
}

}  // namespace
