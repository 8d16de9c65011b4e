#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/reading/LineWrapper.h"
#include "analysis/reading/NameRecord.h"
#include "analysis/reading/Tables.h"

namespace soten {

// A number as it is written inside a reading sentence: "１" to "９" full-width,
// 10 to 99 as two ASCII digits, anything else right-aligned in four columns.
std::string NumberWord(std::int32_t number);

// The reading's four paragraphs (総運, 性格, 恋愛, 職業): each a lead sentence
// naming its number, then the table text of that number. The texts point
// into the tables.
struct ReadingText {
    std::array<std::string, 4> leads;
    std::array<std::string_view, 4> texts;

    std::array<ReadingParagraph, 4> Paragraphs() const;
};

// The paragraphs of a counted name (its five numbers computed).
ReadingText ComposeReadingText(const NameRecord& counted, const Tables& tables);

// The report: name line, stroke line, the list of five, an empty line and the
// four paragraphs; CR LF after every line. It is the pieces below joined in
// order: the heading, the five fortune lines (ListedFortune's order), the
// empty line, the opening and the four paragraphs. All but the heading and
// the opening depend on one number only, so a writer that converts many
// reports can keep those converted.
std::string ComposeReport(const NameRecord& counted, const Tables& tables);

// The fortune each paragraph reads: 総運, 人運, 地運 and 外運.
inline constexpr std::array<FortuneKind, 4> ParagraphFortunes = {Total, Person, Earth, Outer};
inline constexpr std::string_view ReportListEnd = "\r\n";

// The name line and the stroke line, each with its CR LF, and the empty line.
std::string ReportHeading(const NameRecord& counted);
// "総運＝43：散財数" and CR LF.
std::string ReportFortuneLine(FortuneKind kind, std::int32_t number, const Tables& tables);
// The first paragraph up to the end of the name: "　まず，山田太郎".
std::string ReportOpening(const NameRecord& counted);
// Paragraph `paragraph` (0 to 3) of the number of its fortune, after the
// opening for the first one, with its CR LF.
std::string ReportParagraph(std::size_t paragraph, std::int32_t number, const Tables& tables);

}  // namespace soten
