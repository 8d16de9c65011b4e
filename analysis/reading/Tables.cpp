#include "analysis/reading/Tables.h"

#include <stdexcept>

#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"
#include "data/include/EmbeddedTables.h"

namespace soten {
namespace {

void RequireRows(const std::vector<std::string>& rows, std::size_t count, const char* table) {
    if (rows.size() != count) {
        throw std::invalid_argument(std::string(table) + " has " + std::to_string(rows.size()) +
                                    " rows, expected " + std::to_string(count));
    }
}

void RequireKeywordRows(const std::vector<std::string>& rows) {
    for (const std::string& row : rows) {
        const bool wellFormed = row.size() == 5 && row[0] >= '1' && row[0] <= '4' &&
                                IsLeadByte(static_cast<unsigned char>(row[1])) &&
                                IsLeadByte(static_cast<unsigned char>(row[3]));
        if (!wellFormed) throw std::invalid_argument("malformed keyword row");
    }
}

}  // namespace

std::vector<std::string> TableRowsFromUtf8(std::string_view utf8) {
    std::vector<std::string> rows;
    while (!utf8.empty()) {
        const std::size_t end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        auto row = Cp932::FromUtf8(line);
        if (!row) {
            throw std::invalid_argument("table row " + std::to_string(rows.size()) +
                                        " is not encodable in code page 932");
        }
        rows.push_back(std::move(*row));
        if (end == std::string_view::npos) break;
        utf8.remove_prefix(end + 1);
    }
    return rows;
}

Tables Tables::FromUtf8(std::string_view strokes, std::string_view keywords,
                        std::string_view readings) {
    auto keywordRows = TableRowsFromUtf8(keywords);
    RequireRows(keywordRows, KeywordRows, "keyword table");
    RequireKeywordRows(keywordRows);
    auto readingRows = TableRowsFromUtf8(readings);
    RequireRows(readingRows, ReadingTextRows, "reading text table");
    return Tables{StrokeDictionary(TableRowsFromUtf8(strokes)), TextTable(std::move(keywordRows)),
                  TextTable(std::move(readingRows))};
}

const Tables& BuiltInTables() {
    static const Tables tables =
        Tables::FromUtf8(embedded::StrokeDictionaryText(), embedded::KeywordTableText(),
                         embedded::ReadingTextTableText());
    return tables;
}

}  // namespace soten
