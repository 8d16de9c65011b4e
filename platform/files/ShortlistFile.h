#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/shortlist/Shortlist.h"
#include "analysis/shortlist/ShortlistChange.h"
#include "platform/files/UserDataFile.h"

namespace soten::platform {

// What loading the shortlist gave, and what the user must be told of it once.
struct LoadedShortlist {
    Shortlist list;
    // UTF-8; empty when the file was read or there was none yet.
    std::string problem;
    // Where a damaged file was moved; empty when none was.
    std::string movedTo;
    // Why the file (or its folder) could not be read now; 0 when it was
    // read, missing or moved aside. It is left as it is and not written over.
    int unread = 0;
};

// What making changes on the file gave.
struct ChangedShortlist {
    // The list as the file holds it now, with the changes when they were
    // saved, and what reading it met.
    LoadedShortlist loaded;
    // Why the changes were not saved; 0 when they were.
    int error = 0;
};

// The parent's shortlist in its file, shortlist.json in the user's data
// folder (UserDataFile has the rules). The file is the list: every window
// and command reads it under the lock beside it, and a change is made on
// the list as the file holds it at that moment, so that programs that
// change it at once lose nothing of each other's. A damaged file is never
// emptied: it is moved aside, the list starts empty and `problem` says so.
class ShortlistFile {
public:
    // Larger files are taken as damaged.
    static constexpr std::size_t MaxBytes = 4 << 20;

    ShortlistFile();

    // The file's path for messages; empty when there is no home for it.
    const std::string& Path() const { return file_.Path(); }

    // Reads the list under the lock (held while a damaged file is moved
    // aside); where no lock can be had, as on a read-only disk, the file is
    // still read as one whole version, since it is only ever replaced.
    LoadedShortlist Load();

    // Under the lock: reads the file as it is now, makes the changes on that
    // list in turn and replaces the file with it. A damaged file is moved
    // aside first, as Load does; one that cannot be read is left alone and
    // nothing is saved.
    ChangedShortlist Change(const std::vector<ShortlistChange>& changes);

    // Whether the file is not the one last read or written here: another
    // program changed it.
    bool ChangedElsewhere() const;

    // Replaces the file with the list, whatever it holds now: 0 or an error
    // for FileErrorReason (FileCreateErrorMessage with Path() says it to the
    // user). Refused after a Load that could not read the file; a list
    // longer than MaxBytes is not written (EFBIG).
    int Save(const Shortlist& list);

private:
    LoadedShortlist ReadLocked();

    UserDataFile file_;
    UserDataFile::Stamp stamp_;
};

}  // namespace soten::platform
