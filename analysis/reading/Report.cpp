#include "analysis/reading/Report.h"

#include <array>
#include <string_view>

#include "analysis/reading/Fortunes.h"
#include "analysis/reading/LineWrapper.h"
#include "analysis/text/PaddedNumber.h"
#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

// The fixed sentences of the report, converted once.
struct Phrases {
    std::string fullWidthSpace = Cp932Text("　");
    std::string equals = Cp932Text("＝");
    std::string colon = Cp932Text("：");
    std::string numberSuffix = Cp932Text("数");
    std::string overallLead = Cp932Text("　まず，");
    std::string overallMiddle = Cp932Text("さんの生涯の総合的な運勢ですが，あなたの総運は");
    std::string overallEnd = Cp932Text("です。");
    std::string personalityLead = Cp932Text("　つぎに，人運によって性格について判断します。人運が");
    std::string personalityEnd = Cp932Text("の人は，");
    std::string loveLead = Cp932Text("　また，地運の");
    std::string loveEnd = Cp932Text("から恋愛運に関して判断を加えますと，あなたは，");
    std::string careerLead = Cp932Text("　最後に，外運による職業運についてですが，外運が");
    std::string careerEnd = Cp932Text("の人は，");
    std::array<std::string, 9> fullWidthDigits = {
        Cp932Text("１"), Cp932Text("２"), Cp932Text("３"), Cp932Text("４"), Cp932Text("５"),
        Cp932Text("６"), Cp932Text("７"), Cp932Text("８"), Cp932Text("９")};
};

const Phrases& ThePhrases() {
    static const Phrases phrases;
    return phrases;
}

constexpr std::string_view CrLf = "\r\n";

// The lead of a paragraph after the name (all of it but the first's).
std::string LeadAfterName(std::size_t paragraph, std::int32_t number) {
    const Phrases& p = ThePhrases();
    const std::string word = NumberWord(number);
    switch (paragraph) {
        case 0:
            return p.overallMiddle + word + p.overallEnd;
        case 1:
            return p.personalityLead + word + p.personalityEnd;
        case 2:
            return p.loveLead + word + p.loveEnd;
        default:
            return p.careerLead + word + p.careerEnd;
    }
}

// The row of the reading text table that a paragraph of the number quotes.
std::string_view TableText(std::size_t paragraph, std::int32_t number, const Tables& tables) {
    const auto row = paragraph == 0 ? static_cast<std::size_t>((number - 1) % 80)
                                    : 70 + 10 * paragraph + static_cast<std::size_t>(number % 10);
    return tables.ReadingTextRow(row);
}

}  // namespace

std::string NumberWord(std::int32_t number) {
    if (number >= 1 && number <= 9) {
        return ThePhrases().fullWidthDigits[static_cast<std::size_t>(number - 1)];
    }
    if (number >= 10 && number <= 99) return PaddedNumber(number, 2);
    return PaddedNumber(number, 4);
}

std::array<ReadingParagraph, 4> ReadingText::Paragraphs() const {
    std::array<ReadingParagraph, 4> paragraphs;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) paragraphs[i] = {leads[i], texts[i]};
    return paragraphs;
}

ReadingText ComposeReadingText(const NameRecord& counted, const Tables& tables) {
    ReadingText text;
    for (std::size_t i = 0; i < text.leads.size(); ++i) {
        const std::int32_t number = counted.Fortunes[ParagraphFortunes[i]];
        text.leads[i] = LeadAfterName(i, number);
        text.texts[i] = TableText(i, number, tables);
    }
    text.leads[0].insert(0, ReportOpening(counted));
    return text;
}

std::string ReportHeading(const NameRecord& counted) {
    // Written in place: a heading is many pieces of a few bytes each.
    constexpr std::size_t ItemRoom = 11 + 2;  // a count of any size, or a character; a space
    std::string heading(2 * MaxTotalChars * ItemRoom + 3 * CrLf.size(), '\0');
    char* at = heading.data();
    const auto put = [&at](std::string_view text) {
        for (const char c : text) *at++ = c;
    };
    const std::string& space = ThePhrases().fullWidthSpace;
    // Each character of the name, or its count of strokes two columns wide,
    // followed by a full-width space but the very last of the name.
    const auto line = [&](const auto& item) {
        for (const NamePart part : {Surname, GivenName}) {
            const int length = counted.Lengths[part];
            for (int k = 1; k <= length; ++k) {
                item(part, static_cast<std::size_t>(k));
                if (part == Surname || k < length) put(space);
            }
        }
        put(CrLf);
    };
    line([&](NamePart part, std::size_t k) { put(Unit(counted.Names[part], k)); });
    line([&](NamePart part, std::size_t k) { put(PaddedNumber(counted.Strokes[part][k], 2)); });
    put(CrLf);
    heading.resize(static_cast<std::size_t>(at - heading.data()));
    return heading;
}

std::string ReportFortuneLine(FortuneKind kind, std::int32_t number, const Tables& tables) {
    const Phrases& p = ThePhrases();
    return FortuneLabels()[kind] + p.equals + PaddedNumber(number, 2) + p.colon +
           LookupKeyword(tables, number).word + p.numberSuffix + std::string(CrLf);
}

std::string ReportOpening(const NameRecord& counted) {
    return ThePhrases().overallLead + counted.Names[Surname] + counted.Names[GivenName];
}

std::string ReportParagraph(std::size_t paragraph, std::int32_t number, const Tables& tables) {
    std::string text = LeadAfterName(paragraph, number);
    return text.append(TableText(paragraph, number, tables)).append(CrLf);
}

std::string ComposeReport(const NameRecord& counted, const Tables& tables) {
    const auto& f = counted.Fortunes;
    std::string report = ReportHeading(counted);
    report.reserve(2048);  // a report is about 1,300 bytes
    for (int position = 0; position < FortuneCount; ++position) {
        const FortuneKind kind = ListedFortune(position);
        report.append(ReportFortuneLine(kind, f[kind], tables));
    }
    report.append(ReportListEnd).append(ReportOpening(counted));
    for (std::size_t i = 0; i < ParagraphFortunes.size(); ++i) {
        report.append(ReportParagraph(i, f[ParagraphFortunes[i]], tables));
    }
    return report;
}

}  // namespace soten
