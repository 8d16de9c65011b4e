#pragma once

#include <cstddef>
#include <string>
#include <variant>
#include <vector>

#include "analysis/shortlist/Shortlist.h"

namespace soten {

// The changes a user makes to the shortlist, said by name rather than by
// row, so that each can be made again on the list as its file holds it now:
// another window may have added, removed or moved names since this one read
// it.
struct AddName {
    ShortlistEntry entry;
};
struct RemoveName {
    ShortlistEntry name;
};
// The name takes the place of `anchor` (which was at `to` in the list the
// user saw): after it when moved down, before it when moved up. With the
// anchor gone, the name goes to `to`, or last when the list is shorter.
struct MoveName {
    ShortlistEntry name;
    ShortlistEntry anchor;
    std::size_t to = 0;
};
struct NoteName {
    ShortlistEntry name;
    std::string note;
};
// The names in the order given; names the order does not hold (added
// elsewhere meanwhile) follow in their own order.
struct ArrangeNames {
    std::vector<ShortlistEntry> order;
};

using ShortlistChange = std::variant<AddName, RemoveName, MoveName, NoteName, ArrangeNames>;

// Makes the change on `list`; false when it changes nothing there (the name
// is there already, or is gone).
bool ApplyChange(const ShortlistChange& change, Shortlist& list);

}  // namespace soten
