#pragma once

#include <array>
#include <cstdint>
#include <string>

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
// four paragraphs; CR LF after every line.
std::string ComposeReport(const NameRecord& counted, const ReadingText& text, const Tables& tables);

}  // namespace soten
