#pragma once

// What the name dictionary alone decides about each of its given names, for
// the search to look up rather than align every name's yomi again: where its
// name-likeness stands among all the names' and whom its yomi parts lean to.
// The built-in names' are computed ahead (data/given-name-traits.txt, by
// tools/GivenNameTraitsMain.cpp).

#include <cstdint>
#include <optional>
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

// The rows "RANK<TAB>LEAN\n", one a name: RANK in decimal with leading zeros
// to the width of the largest, LEAN f, m or -.
std::string FormatGivenNameTraits(const std::vector<GivenNameTraits>& traits);

// Those rows read in place: all of one width, so a name's row is found
// without reading the others, and a search in a fresh process reads only
// the rows it needs.
class GivenNameTraitsTable {
public:
    // Empty() unless `text` is `names` rows of one width (the rows' content
    // is checked by FirstMalformedRow(), not here).
    GivenNameTraitsTable(std::string_view text, std::size_t names);

    bool Empty() const { return rows_ == 0; }
    std::size_t Size() const { return rows_; }
    GivenNameTraits operator[](std::size_t index) const;
    // The first row that is not a rank, a tab, a lean's tag and LF.
    std::optional<std::size_t> FirstMalformedRow() const;

private:
    std::string_view text_;
    std::size_t rankWidth_ = 0;
    std::size_t rows_ = 0;
};

}  // namespace soten
