// Feeds arbitrary bytes as the shortlist file: the reader must refuse or
// read them, never crash, and a list it reads must save to a file that reads
// back as the same list, with every name still there.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/shortlist/Shortlist.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto list = soten::ShortlistFromJson(text, error);
    if (!list) {
        if (error.empty()) __builtin_trap();  // a refusal always says why
        return 0;
    }
    const auto again = soten::ShortlistFromJson(soten::ShortlistToJson(*list), error);
    if (!again || again->Size() != list->Size()) __builtin_trap();
    for (std::size_t i = 0; i < list->Size(); ++i) {
        const soten::ShortlistEntry& read = list->Entries()[i];
        const soten::ShortlistEntry& saved = again->Entries()[i];
        if (!saved.SameName(read) || saved.note != read.note) __builtin_trap();
        if (list->Find(read) != i) __builtin_trap();
    }
    return 0;
}
