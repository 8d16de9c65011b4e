#include "cli/batch/TableInput.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace soten::cli {
namespace {

constexpr std::string_view IdeographicSpace = "\xE3\x80\x80";

// The column names a header is recognised by, for each use.
constexpr std::array<const char*, 3> SurnameNames = {"姓", "名字", "surname"};
constexpr std::array<const char*, 3> GivenNames = {"名", "名前", "given"};
constexpr std::array<const char*, 2> NameNames = {"氏名", "name"};
constexpr std::array<const char*, 2> StyleNames = {"画数式", "style"};

template <std::size_t N>
int FindKnown(const std::vector<std::string>& row, const std::array<const char*, N>& names) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        const std::string_view cell = TrimCell(row[i]);
        for (const char* name : names) {
            if (cell == name) return static_cast<int>(i);
        }
    }
    return -1;
}

// The column an option names: a number from 1, or a header name.
int ResolveColumn(const std::string& value, const TableLayout& layout, const char* option,
                  std::string& error) {
    int number = 0;
    const auto [end, failure] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (failure == std::errc() && end == value.data() + value.size()) {
        if (number >= 1 &&
            number <= static_cast<int>(std::max<std::size_t>(layout.columnNames.size(), 1))) {
            return number - 1;
        }
        error = std::string(option) + " " + value;
        if (number < 1) {
            error += ": 列の番号は 1 から数えます";
        } else {
            error += ": 入力には ";
            error += std::to_string(layout.columnNames.size());
            error += " 列しかありません";
        }
        return -2;
    }
    if (layout.header) {
        for (std::size_t i = 0; i < layout.columnNames.size(); ++i) {
            if (TrimCell(layout.columnNames[i]) == TrimCell(value)) return static_cast<int>(i);
        }
        error = std::string(option) + " " + value + ": 見出しにその列がありません";
    } else {
        error = std::string(option) + " " + value +
                ": 入力に見出し行がないので名前では選べません（列の番号か --header "
                "を指定してください）";
    }
    return -2;
}

}  // namespace

void SplitRow(std::string_view record, char separator, std::vector<std::string>& cells) {
    cells.clear();
    std::size_t i = 0;
    while (true) {
        std::string& cell = cells.emplace_back();
        if (i < record.size() && record[i] == '"') {
            ++i;
            while (i < record.size()) {
                if (record[i] == '"') {
                    if (i + 1 < record.size() && record[i + 1] == '"') {
                        cell.push_back('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell.push_back(record[i++]);
            }
            // Anything between the closing quote and the separator is kept.
        }
        const std::size_t stop = std::min(record.find(separator, i), record.size());
        cell.append(record.substr(i, stop - i));
        if (stop == record.size()) return;
        i = stop + 1;
    }
}

std::string_view TrimCell(std::string_view cell) {
    while (true) {
        if (cell.starts_with(' ')) {
            cell.remove_prefix(1);
        } else if (cell.starts_with(IdeographicSpace)) {
            cell.remove_prefix(IdeographicSpace.size());
        } else if (cell.ends_with(' ')) {
            cell.remove_suffix(1);
        } else if (cell.ends_with(IdeographicSpace)) {
            cell.remove_suffix(IdeographicSpace.size());
        } else {
            return cell;
        }
    }
}

std::optional<TableLayout> ChooseLayout(const CliOptions& options,
                                        const std::vector<std::string>& firstRow,
                                        std::string& error) {
    TableLayout layout;
    const int knownSurname = FindKnown(firstRow, SurnameNames);
    const int knownGiven = FindKnown(firstRow, GivenNames);
    const int knownName = FindKnown(firstRow, NameNames);
    const int knownStyle = FindKnown(firstRow, StyleNames);
    const bool recognised =
        knownSurname >= 0 || knownGiven >= 0 || knownName >= 0 || knownStyle >= 0;
    layout.header = options.header.value_or(recognised);
    if (layout.header) {
        layout.columnNames = firstRow;
    } else {
        for (std::size_t i = 1; i <= firstRow.size(); ++i) {
            layout.columnNames.push_back(std::to_string(i));
        }
    }
    const bool byName = layout.header && recognised;
    for (auto [value, known, column, option] :
         {std::tuple{&options.surnameColumn, knownSurname, &layout.surname, "--surname-column"},
          std::tuple{&options.givenColumn, knownGiven, &layout.given, "--given-column"},
          std::tuple{&options.nameColumn, knownName, &layout.name, "--name-column"},
          std::tuple{&options.styleColumn, knownStyle, &layout.style, "--style-column"}}) {
        if (!value->empty()) {
            *column = ResolveColumn(*value, layout, option, error);
            if (*column == -2) return std::nullopt;
        } else if (byName) {
            *column = known;
        }
    }
    const bool namesChosen = !options.surnameColumn.empty() || !options.givenColumn.empty() ||
                             !options.nameColumn.empty();
    if (!namesChosen && byName && layout.surname >= 0 && layout.given >= 0) {
        layout.name = -1;  // separate columns win over a combined one
    } else if (!namesChosen && byName && layout.name >= 0) {
        layout.surname = layout.given = -1;
    }
    if (layout.name < 0) {
        // What is still missing comes from the first two columns.
        if (layout.surname < 0) layout.surname = layout.given == 0 ? 1 : 0;
        if (layout.given < 0) layout.given = layout.surname == 1 ? 0 : 1;
    }
    return layout;
}

}  // namespace soten::cli
