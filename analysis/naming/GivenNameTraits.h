#pragma once

// What the name dictionary alone decides about each of its given names, for
// the search to look up rather than align every name's yomi again: where its
// name-likeness stands among all the names' and whom its yomi parts lean to.
// The built-in names' are computed ahead (data/given-name-traits.txt, by
// tools/GivenNameTraitsMain.cpp).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/naming/NameLikeness.h"

namespace soten {

class NameSearchData;

struct GivenNameTraits {
    // The place of the name's likeness among the distinct likenesses of all
    // the names, the most name-like 0: names compare by it as by their
    // likeness, ties included.
    std::uint32_t likenessRank = 0;
    GenderLean lean = GenderLean::Neither;
    bool operator==(const GivenNameTraits&) const = default;
};

// Every given name's traits, in the names' order, by CheckYomi().
std::vector<GivenNameTraits> ComputeGivenNameTraits(const NameSearchData& data);

// The rows "RANK<TAB>LEAN" (LEAN f, m or -), one a name, each ending in LF.
std::string FormatGivenNameTraits(const std::vector<GivenNameTraits>& traits);
// Throws std::invalid_argument on a malformed row.
std::vector<GivenNameTraits> ParseGivenNameTraits(std::string_view text);

}  // namespace soten
