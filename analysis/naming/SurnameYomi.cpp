#include "analysis/naming/SurnameYomi.h"

#include <algorithm>
#include <vector>

#include "analysis/text/TextLines.h"
#include "data/include/EmbeddedNameData.h"

namespace soten {
namespace {

// The rows "WRITTEN<TAB>READING", in the byte order of their written forms.
const std::vector<std::string_view>& Rows() {
    static const std::vector<std::string_view> rows = LinesOf(embedded::SurnameReadingsCp932());
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
