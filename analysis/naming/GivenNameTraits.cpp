#include "analysis/naming/GivenNameTraits.h"

#include <algorithm>

#include "analysis/naming/NameSearchData.h"
#include "analysis/naming/YomiPartsCache.h"

namespace soten {
namespace {

constexpr std::string_view LeanTags = "-fm";  // by GenderLean
// More than any rank of at most MaxGivenNames names takes, fewer than overflow.
constexpr std::size_t MaxRankDigits = 9;

}  // namespace

std::vector<GivenNameTraits> ComputeGivenNameTraits(const NameSearchData& data) {
    const YomiPartsCache partsCache(data);
    std::vector<double> likeness(data.NameCount());
    std::vector<GivenNameTraits> traits(data.NameCount());
    for (std::size_t i = 0; i < likeness.size(); ++i) {
        const GivenNameView entry = data.Name(i);
        const YomiCheck check = CheckYomi(entry.written, entry.yomi, data);
        likeness[i] = check.likeness;
        traits[i].lean = LeanOf(check.girls, check.boys, data.Likeness().Balance());
    }
    std::vector<double> distinct = likeness;
    std::sort(distinct.begin(), distinct.end(), std::greater<>());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    for (std::size_t i = 0; i < likeness.size(); ++i) {
        const auto place =
            std::lower_bound(distinct.begin(), distinct.end(), likeness[i], std::greater<>());
        traits[i].likenessRank = static_cast<std::uint32_t>(place - distinct.begin());
    }
    return traits;
}

std::string FormatGivenNameTraits(const std::vector<GivenNameTraits>& traits) {
    std::uint32_t largest = 0;
    for (const GivenNameTraits& name : traits) largest = std::max(largest, name.likenessRank);
    const std::size_t width = std::to_string(largest).size();
    std::string text;
    text.reserve(traits.size() * (width + 3));
    for (const GivenNameTraits& name : traits) {
        const std::string rank = std::to_string(name.likenessRank);
        text.append(width - rank.size(), '0').append(rank);
        text += '\t';
        text += LeanTags[static_cast<std::size_t>(name.lean)];
        text += '\n';
    }
    return text;
}

GivenNameTraitsTable::GivenNameTraitsTable(std::string_view text, std::size_t names) {
    const std::size_t width = text.find('\t');
    if (names == 0 || width == 0 || width > MaxRankDigits || text.size() != names * (width + 3)) {
        return;
    }
    text_ = text;
    rankWidth_ = width;
    rows_ = names;
}

GivenNameTraits GivenNameTraitsTable::operator[](std::size_t index) const {
    const char* row = text_.data() + index * (rankWidth_ + 3);
    GivenNameTraits name;
    for (std::size_t k = 0; k < rankWidth_; ++k) {
        name.likenessRank = name.likenessRank * 10 + static_cast<std::uint32_t>(row[k] - '0');
    }
    const char tag = row[rankWidth_ + 1];
    name.lean = tag == LeanTags[1]   ? GenderLean::Girls
                : tag == LeanTags[2] ? GenderLean::Boys
                                     : GenderLean::Neither;
    return name;
}

std::optional<std::size_t> GivenNameTraitsTable::FirstMalformedRow() const {
    for (std::size_t i = 0; i < rows_; ++i) {
        const std::string_view row = text_.substr(i * (rankWidth_ + 3), rankWidth_ + 3);
        const bool digits =
            std::all_of(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(rankWidth_),
                        [](char c) { return c >= '0' && c <= '9'; });
        if (!digits || row[rankWidth_] != '\t' ||
            LeanTags.find(row[rankWidth_ + 1]) == std::string_view::npos ||
            row[rankWidth_ + 2] != '\n') {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace soten
