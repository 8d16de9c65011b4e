#include "analysis/reading/Report.h"

#include <array>
#include <initializer_list>
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

// Appends the characters of a part, each followed by a full-width space except
// the very last character of the name.
void AppendNameCharacters(std::string& out, const NameRecord& record, NamePart part) {
    const std::string& name = record.Names[part];
    const int length = record.Lengths[part];
    for (int k = 1; k <= length; ++k) {
        out.append(Unit(name, static_cast<std::size_t>(k)));
        if (part == Surname || k < length) out.append(ThePhrases().fullWidthSpace);
    }
}

void AppendStrokeCounts(std::string& out, const NameRecord& record, NamePart part) {
    const int length = record.Lengths[part];
    for (int k = 1; k <= length; ++k) {
        out.append(PaddedNumber(record.Strokes[part][k], 2));
        if (part == Surname || k < length) out.append(ThePhrases().fullWidthSpace);
    }
}

// The parts as one text, allocated once.
std::string Joined(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (const std::string_view part : parts) size += part.size();
    std::string text;
    text.reserve(size);
    for (const std::string_view part : parts) text.append(part);
    return text;
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
    const Phrases& p = ThePhrases();
    const auto& f = counted.Fortunes;
    const std::array<std::size_t, 4> rows = {static_cast<std::size_t>((f[Total] - 1) % 80),
                                             80 + static_cast<std::size_t>(f[Person] % 10),
                                             90 + static_cast<std::size_t>(f[Earth] % 10),
                                             100 + static_cast<std::size_t>(f[Outer] % 10)};
    return {{Joined({p.overallLead, counted.Names[Surname], counted.Names[GivenName],
                     p.overallMiddle, NumberWord(f[Total]), p.overallEnd}),
             Joined({p.personalityLead, NumberWord(f[Person]), p.personalityEnd}),
             Joined({p.loveLead, NumberWord(f[Earth]), p.loveEnd}),
             Joined({p.careerLead, NumberWord(f[Outer]), p.careerEnd})},
            {tables.ReadingTextRow(rows[0]), tables.ReadingTextRow(rows[1]),
             tables.ReadingTextRow(rows[2]), tables.ReadingTextRow(rows[3])},
            rows};
}

std::string ComposeReport(const NameRecord& record, const ReadingText& text, const Tables& tables,
                          QuotedRows* quoted) {
    const Phrases& p = ThePhrases();
    const auto& f = record.Fortunes;
    std::string report;
    report.reserve(2048);  // a report is about 1,300 bytes

    AppendNameCharacters(report, record, Surname);
    AppendNameCharacters(report, record, GivenName);
    report.append(CrLf);
    AppendStrokeCounts(report, record, Surname);
    AppendStrokeCounts(report, record, GivenName);
    report.append(CrLf).append(CrLf);

    for (int position = 0; position < FortuneCount; ++position) {
        const FortuneKind kind = ListedFortune(position);
        report.append(FortuneLabels()[kind])
            .append(p.equals)
            .append(PaddedNumber(f[kind], 2))
            .append(p.colon)
            .append(LookupKeyword(tables, f[kind]).word)
            .append(p.numberSuffix)
            .append(CrLf);
    }

    // The empty line between the list of five and the reading.
    report.append(CrLf);
    for (std::size_t i = 0; i < text.leads.size(); ++i) {
        report.append(text.leads[i]);
        if (quoted) (*quoted)[i] = {text.rows[i], report.size(), text.texts[i].size()};
        report.append(text.texts[i]).append(CrLf);
    }
    return report;
}

}  // namespace soten
