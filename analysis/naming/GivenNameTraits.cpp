#include "analysis/naming/GivenNameTraits.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "analysis/naming/NameSearchData.h"
#include "analysis/naming/YomiPartsCache.h"

namespace soten {
namespace {

constexpr std::string_view LeanTags = "-fm";  // by GenderLean

}  // namespace

std::vector<GivenNameTraits> ComputeGivenNameTraits(const NameSearchData& data) {
    const YomiPartsCache partsCache(data);
    std::vector<double> likeness(data.NameCount());
    std::vector<GivenNameTraits> traits(data.NameCount());
    for (std::size_t i = 0; i < likeness.size(); ++i) {
        const GivenNameView entry = data.Name(i);
        const YomiCheck check = CheckYomi(entry.written, entry.yomi, data);
        likeness[i] = check.likeness;
        traits[i].lean = LeanOf(check.girls, check.boys);
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
    std::string text;
    for (const GivenNameTraits& name : traits) {
        text += std::to_string(name.likenessRank);
        text += '\t';
        text += LeanTags[static_cast<std::size_t>(name.lean)];
        text += '\n';
    }
    return text;
}

std::vector<GivenNameTraits> ParseGivenNameTraits(std::string_view text) {
    std::vector<GivenNameTraits> traits;
    traits.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    while (at != end) {
        GivenNameTraits name;
        const auto [afterRank, error] = std::from_chars(at, end, name.likenessRank);
        // The rank, a tab, the lean's tag, then LF (or CR LF).
        if (error != std::errc() || end - afterRank < 3 || afterRank[0] != '\t') {
            throw std::invalid_argument("malformed given-name traits row");
        }
        const std::size_t lean = LeanTags.find(afterRank[1]);
        at = afterRank + 2;
        if (*at == '\r') ++at;
        if (lean == std::string_view::npos || at == end || *at != '\n') {
            throw std::invalid_argument("malformed given-name traits row");
        }
        ++at;
        name.lean = static_cast<GenderLean>(lean);
        traits.push_back(name);
    }
    return traits;
}

}  // namespace soten
