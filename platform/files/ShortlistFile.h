#pragma once

#include <cstddef>
#include <string>

#include "analysis/shortlist/Shortlist.h"
#include "platform/files/UserDataFile.h"

namespace soten::platform {

// What loading the shortlist gave, and what the user must be told of it once.
struct LoadedShortlist {
    Shortlist list;
    // UTF-8; empty when the file was read or there was none yet.
    std::string problem;
    // Where a damaged file was moved; empty when none was.
    std::string movedTo;
};

// The parent's shortlist in its file, shortlist.json in the user's data
// folder (UserDataFile has the rules), for the caller to save after every
// change. A damaged file is never emptied: it is moved aside, the list
// starts empty and `problem` says so.
class ShortlistFile {
public:
    // Larger files are taken as damaged.
    static constexpr std::size_t MaxBytes = 4 << 20;

    ShortlistFile();

    // The file's path for messages; empty when there is no home for it.
    const std::string& Path() const { return file_.Path(); }

    LoadedShortlist Load();

    // Replaces the file with the list: 0 or an error for FileErrorReason
    // (FileCreateErrorMessage with Path() says it to the user). A list
    // longer than MaxBytes is not written (EFBIG).
    int Save(const Shortlist& list);

private:
    UserDataFile file_;
};

}  // namespace soten::platform
