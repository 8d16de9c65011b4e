#include "cli/batch/TableInput.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace soten::cli {
namespace {

constexpr std::string_view IdeographicSpace = "\xE3\x80\x80";

// The column names a header is recognised by, for each use, as HeaderKey
// writes them.
constexpr std::array<std::string_view, 6> SurnameNames = {"姓",      "名字",     "苗字",
                                                          "surname", "lastname", "familyname"};
constexpr std::array<std::string_view, 4> GivenNames = {"名", "given", "givenname", "firstname"};
// A given name beside a surname column, else both names.
constexpr std::array<std::string_view, 1> NameOrGivenNames = {"名前"};
constexpr std::array<std::string_view, 6> NameNames = {"氏名",       "お名前", "フルネーム",
                                                       "氏名(漢字)", "name",   "fullname"};
constexpr std::array<std::string_view, 2> StyleNames = {"画数式", "style"};

// A header cell as it is compared: without spaces (ASCII and U+3000),
// full-width ASCII as ASCII, in lower case.
std::string HeaderKey(std::string_view cell) {
    std::string key;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        const auto c = static_cast<unsigned char>(cell[i]);
        if (c == ' ' || c == '\t') continue;
        if (cell.substr(i).starts_with(IdeographicSpace)) {
            i += IdeographicSpace.size() - 1;
            continue;
        }
        // U+FF01..U+FF5E: EF BC 81..EF BC BF, EF BD 80..EF BD 9E.
        if (c == 0xEF && i + 2 < cell.size()) {
            const auto second = static_cast<unsigned char>(cell[i + 1]);
            const auto third = static_cast<unsigned char>(cell[i + 2]);
            if ((second == 0xBC && third >= 0x81) || (second == 0xBD && third <= 0x9E)) {
                const int ascii = 0x21 + (second - 0xBC) * 0x40 + (third - 0x81);
                key.push_back(static_cast<char>(std::tolower(ascii)));
                i += 2;
                continue;
            }
        }
        key.push_back(static_cast<char>(std::tolower(c)));
    }
    return key;
}

template <std::size_t N>
int FindKnown(const std::vector<std::string>& keys, const std::array<std::string_view, N>& names) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        for (const std::string_view name : names) {
            if (keys[i] == name) return static_cast<int>(i);
        }
    }
    return -1;
}

bool IsColumnNumber(const std::string& value) {
    return !value.empty() &&
           std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The column an option names: a number from 1, or a header name.
int ResolveColumn(const std::string& value, const TableLayout& layout, bool impliedHeader,
                  const char* option, std::string& error) {
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
        error = std::string(option) + " " + value +
                (impliedHeader ? ": "
                                 "1行目にその名前の列がありません（見出し行がないときは列の番号で指"
                                 "定してください）"
                               : ": 見出しにその列がありません");
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
    std::vector<std::string> keys;
    for (const std::string& cell : firstRow) keys.push_back(HeaderKey(cell));
    int knownSurname = FindKnown(keys, SurnameNames);
    int knownGiven = FindKnown(keys, GivenNames);
    int knownName = FindKnown(keys, NameNames);
    const int knownNameOrGiven = FindKnown(keys, NameOrGivenNames);
    const int knownStyle = FindKnown(keys, StyleNames);
    if (knownNameOrGiven >= 0) {
        if (knownSurname >= 0 && knownGiven < 0) {
            knownGiven = knownNameOrGiven;
        } else if (knownSurname < 0 && knownName < 0) {
            knownName = knownNameOrGiven;
        }
    }
    const bool recognised =
        knownSurname >= 0 || knownGiven >= 0 || knownName >= 0 || knownStyle >= 0;
    // A column named by its header name can only mean there is a header.
    bool impliedHeader = false;
    for (const std::string* value : {&options.surnameColumn, &options.givenColumn,
                                     &options.nameColumn, &options.styleColumn}) {
        if (!value->empty() && !IsColumnNumber(*value)) impliedHeader = !recognised;
    }
    layout.header = options.header.value_or(recognised || impliedHeader);
    if (layout.header) {
        layout.columnNames = firstRow;
    } else {
        for (std::size_t i = 1; i <= firstRow.size(); ++i) {
            layout.columnNames.push_back(std::to_string(i));
        }
    }
    const bool byName = layout.header && recognised;
    const bool namesChosen = !options.surnameColumn.empty() || !options.givenColumn.empty() ||
                             !options.nameColumn.empty();
    if (byName && !namesChosen && knownName < 0 && (knownSurname < 0) != (knownGiven < 0)) {
        const int found = std::max(knownSurname, knownGiven);
        error = "見出し行に「" + std::string(TrimCell(firstRow[static_cast<std::size_t>(found)])) +
                "」（" + std::to_string(found + 1) + "列目）はありますが、" +
                (knownSurname < 0 ? "姓" : "名") + "の列がありません（" +
                (knownSurname < 0 ? "--surname-column" : "--given-column") +
                " で列を指定してください）";
        return std::nullopt;
    }
    for (auto [value, known, column, option] :
         {std::tuple{&options.surnameColumn, knownSurname, &layout.surname, "--surname-column"},
          std::tuple{&options.givenColumn, knownGiven, &layout.given, "--given-column"},
          std::tuple{&options.nameColumn, knownName, &layout.name, "--name-column"},
          std::tuple{&options.styleColumn, knownStyle, &layout.style, "--style-column"}}) {
        if (!value->empty()) {
            *column = ResolveColumn(*value, layout, impliedHeader, option, error);
            if (*column == -2) return std::nullopt;
        } else if (byName) {
            *column = known;
        }
    }
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

std::string DescribeLayout(const TableLayout& layout, long headerRow) {
    std::string text = layout.header ? std::to_string(headerRow) + "行目が見出し行。"
                                     : std::string("見出し行なし。");
    bool first = true;
    const auto column = [&](const char* use, int index) {
        if (index < 0) return;
        if (!first) text += "、";
        first = false;
        text += use;
        text += ": ";
        text += std::to_string(index + 1) + "列目";
        const auto i = static_cast<std::size_t>(index);
        if (layout.header && i < layout.columnNames.size()) {
            text += "「" + std::string(TrimCell(layout.columnNames[i])) + "」";
        }
    };
    column("氏名", layout.name);
    column("姓", layout.surname);
    column("名", layout.given);
    column("画数式", layout.style);
    return text;
}

}  // namespace soten::cli
