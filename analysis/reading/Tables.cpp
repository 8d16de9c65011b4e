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

// The lines of a text, without their line ends (LF or CR LF). In code page
// 932 no trail byte is a CR or an LF, so its text splits as UTF-8 does.
std::vector<std::string> Rows(std::string_view text) {
    std::vector<std::string> rows;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        rows.emplace_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return rows;
}

// The tables from their rows, checked.
Tables FromRows(std::vector<std::string> strokes, std::vector<std::string> keywords,
                std::vector<std::string> readings) {
    RequireRows(keywords, Tables::KeywordRows, "keyword table");
    RequireKeywordRows(keywords);
    RequireRows(readings, Tables::ReadingTextRows, "reading text table");
    return Tables{StrokeDictionary(std::move(strokes)), TextTable(std::move(keywords)),
                  TextTable(std::move(readings))};
}

}  // namespace

std::vector<std::string> TableRowsFromUtf8(std::string_view utf8) {
    // Converted whole, many times quicker than row by row; a text that does
    // not convert is gone through row by row to name the row.
    if (const auto cp932 = Cp932::FromUtf8(utf8)) return Rows(*cp932);
    const std::vector<std::string> lines = Rows(utf8);
    for (std::size_t row = 0; row < lines.size(); ++row) {
        if (!Cp932::FromUtf8(lines[row])) {
            throw std::invalid_argument("table row " + std::to_string(row) +
                                        " is not encodable in code page 932");
        }
    }
    throw std::invalid_argument("table text is not encodable in code page 932");
}

Tables Tables::FromUtf8(std::string_view strokes, std::string_view keywords,
                        std::string_view readings) {
    return FromRows(TableRowsFromUtf8(strokes), TableRowsFromUtf8(keywords),
                    TableRowsFromUtf8(readings));
}

Tables Tables::FromCp932(std::string_view strokes, std::string_view keywords,
                         std::string_view readings) {
    return FromRows(Rows(strokes), Rows(keywords), Rows(readings));
}

const Tables& BuiltInTables() {
    static const Tables tables =
        Tables::FromCp932(embedded::StrokeDictionaryCp932(), embedded::KeywordTableCp932(),
                          embedded::ReadingTextTableCp932());
    return tables;
}

}  // namespace soten
