#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/app/CliOptions.h"

namespace soten::cli {

// Splits one record of a table into its cells: RFC 4180 with `separator`
// (',' or '\t'). A quoted cell may hold separators, line breaks and doubled
// quotes; a quote inside an unquoted cell is kept as it is.
void SplitRow(std::string_view record, char separator, std::vector<std::string>& cells);

// A cell without the ASCII spaces and ideographic spaces (U+3000) around it.
std::string_view TrimCell(std::string_view cell);

// Where the names are in the rows of a table.
struct TableLayout {
    bool header = false;  // the first row names the columns
    // The names of the columns: the header's cells, or "1", "2", ... for the
    // cells of the first row.
    std::vector<std::string> columnNames;
    // Column indices from 0; -1 when not used.
    int surname = -1;
    int given = -1;
    int name = -1;  // both names in one cell
    int style = -1;
};

// Chooses the columns from the options and the first row of the input (in
// UTF-8): an option names a column by a header name (so the first row is a
// header) or a number from 1; without options, a recognised header's names
// choose them, compared without spaces, case and width (名前 is the given
// name beside a surname column, else both names); with neither, the first
// two columns. Nothing, with `error` set, when a column the options name is
// not there or a header names only one of the two names.
std::optional<TableLayout> ChooseLayout(const CliOptions& options,
                                        const std::vector<std::string>& firstRow,
                                        std::string& error);

// What the layout reads, in one line for the user: the header row and the
// column of each use.
std::string DescribeLayout(const TableLayout& layout, long headerRow);

}  // namespace soten::cli
