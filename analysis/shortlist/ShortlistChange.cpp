#include "analysis/shortlist/ShortlistChange.h"

#include <algorithm>

namespace soten {
namespace {

struct Applier {
    Shortlist& list;

    bool operator()(const AddName& change) const { return list.Add(change.entry); }

    bool operator()(const RemoveName& change) const {
        const auto index = list.Find(change.name);
        if (!index) return false;
        list.Remove(*index);
        return true;
    }

    bool operator()(const MoveName& change) const {
        const auto from = list.Find(change.name);
        if (!from) return false;
        std::size_t to = std::min(change.to, list.Size() - 1);
        if (const auto anchor = list.Find(change.anchor)) to = *anchor;
        if (to == *from) return false;
        list.Move(*from, to);
        return true;
    }

    bool operator()(const NoteName& change) const {
        const auto index = list.Find(change.name);
        if (!index || list.Entries()[*index].note == change.note) return false;
        list.SetNote(*index, change.note);
        return true;
    }

    bool operator()(const ArrangeNames& change) const {
        std::vector<std::size_t> order;
        order.reserve(list.Size());
        std::vector<bool> placed(list.Size(), false);
        for (const ShortlistEntry& name : change.order) {
            const auto index = list.Find(name);
            if (!index || placed[*index]) continue;
            placed[*index] = true;
            order.push_back(*index);
        }
        for (std::size_t i = 0; i < list.Size(); ++i) {
            if (!placed[i]) order.push_back(i);
        }
        bool moved = false;
        for (std::size_t i = 0; i < order.size() && !moved; ++i) moved = order[i] != i;
        if (moved) list.Reorder(order);
        return moved;
    }
};

}  // namespace

bool ApplyChange(const ShortlistChange& change, Shortlist& list) {
    return std::visit(Applier{list}, change);
}

}  // namespace soten
