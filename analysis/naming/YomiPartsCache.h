#pragma once

// While one lives on a thread, CheckYomi() on that thread works out the yomi
// parts each kanji may take once per kanji and place (first, last, between,
// alone), not once per name: a search that weighs every name of the
// dictionary would otherwise spend most of its time rebuilding them.

#include <memory>

namespace soten {

class NameSearchData;

class YomiPartsCache {
public:
    // For CheckYomi() calls with this data, on this thread, until destroyed.
    explicit YomiPartsCache(const NameSearchData& data);
    ~YomiPartsCache();
    YomiPartsCache(const YomiPartsCache&) = delete;
    YomiPartsCache& operator=(const YomiPartsCache&) = delete;

    struct Parts;
    // What it holds for `data`; nullptr when it was made for other data.
    Parts* For(const NameSearchData& data) const;

private:
    std::unique_ptr<Parts> parts_;
    YomiPartsCache* previous_;
};

}  // namespace soten
