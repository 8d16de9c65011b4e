#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/reading/StrokeDictionary.h"

namespace soten {

// A constant table of code page 932 rows, read by 0-based index.
class TextTable {
public:
    explicit TextTable(std::vector<std::string> rows) : rows_(std::move(rows)) {}
    const std::string& Row(std::size_t index) const { return rows_.at(index); }
    std::size_t RowCount() const { return rows_.size(); }

private:
    std::vector<std::string> rows_;
};

// The stroke dictionary, the KeywordTable (80 rows: grade digit + two-character
// keyword) and the ReadingTextTable (110 paragraphs).
struct Tables {
    static constexpr std::size_t KeywordRows = 80;
    static constexpr std::size_t ReadingTextRows = 110;

    StrokeDictionary dictionary;
    TextTable keywords;
    TextTable readingTexts;

    const std::string& KeywordRow(std::size_t index) const { return keywords.Row(index); }
    const std::string& ReadingTextRow(std::size_t index) const { return readingTexts.Row(index); }

    // Builds the tables from their UTF-8 text (one row per line, see
    // data/README.md), converting every row to code page 932. Throws
    // std::invalid_argument when a table is malformed or not encodable.
    static Tables FromUtf8(std::string_view strokes, std::string_view keywords,
                           std::string_view readings);
    // The same from text already in code page 932.
    static Tables FromCp932(std::string_view strokes, std::string_view keywords,
                            std::string_view readings);
};

// Splits UTF-8 table text into rows converted to code page 932 (a trailing CR
// of a line is dropped). Throws std::invalid_argument on a row that code page
// 932 cannot hold.
std::vector<std::string> TableRowsFromUtf8(std::string_view utf8);

// The tables compiled into the program (converted when it was built), read
// on first use.
const Tables& BuiltInTables();

}  // namespace soten
