#pragma once

#include <array>
#include <cstddef>
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
// into the tables, at the rows `rows` of the reading text table.
struct ReadingText {
    std::array<std::string, 4> leads;
    std::array<std::string_view, 4> texts;
    std::array<std::size_t, 4> rows{};

    std::array<ReadingParagraph, 4> Paragraphs() const;
};

// The paragraphs of a counted name (its five numbers computed).
ReadingText ComposeReadingText(const NameRecord& counted, const Tables& tables);

// Where a table text of the reading stands in a report: its row of the
// reading text table and its bytes in the report. The texts are most of a
// report and the same in every report of their numbers, so a writer that
// converts many reports can convert each row once.
struct QuotedRow {
    std::size_t row = 0;
    std::size_t offset = 0;
    std::size_t length = 0;
};
using QuotedRows = std::array<QuotedRow, 4>;

// The report: name line, stroke line, the list of five, an empty line and the
// four paragraphs; CR LF after every line. `quoted`, when given, is set to
// where the four table texts stand in it, in order.
std::string ComposeReport(const NameRecord& counted, const ReadingText& text, const Tables& tables,
                          QuotedRows* quoted = nullptr);

}  // namespace soten
