#include "analysis/naming/SurnameYomi.h"

#include <algorithm>
#include <vector>

#include "data/include/EmbeddedNameData.h"

namespace soten {
namespace {

// The rows "WRITTEN<TAB>READING", in the byte order of their written forms.
const std::vector<std::string_view>& Rows() {
    static const std::vector<std::string_view> rows = [] {
        std::vector<std::string_view> lines;
        std::string_view text = embedded::SurnameReadingsCp932();
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            lines.push_back(text.substr(0, end));
            if (end == std::string_view::npos) break;
            text.remove_prefix(end + 1);
        }
        return lines;
    }();
    return rows;
}

std::string_view Written(std::string_view row) {
    return row.substr(0, row.find('\t'));
}

}  // namespace

std::string SurnameYomiOf(std::string_view surnameCp932) {
    if (surnameCp932.empty()) return {};
    const std::vector<std::string_view>& rows = Rows();
    const auto byWritten = [](std::string_view row, std::string_view written) {
        return Written(row) < written;
    };
    const auto found = std::lower_bound(rows.begin(), rows.end(), surnameCp932, byWritten);
    if (found == rows.end() || Written(*found) != surnameCp932) return {};
    return std::string(found->substr(found->find('\t') + 1));
}

}  // namespace soten
