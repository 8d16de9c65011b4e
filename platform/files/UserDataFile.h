#pragma once

#include <sys/types.h>

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

#include "platform/files/PathResolution.h"

namespace soten::platform {

// A file the program keeps for the user from one run to the next, in
// $XDG_DATA_HOME/soten (XDG_DATA_HOME only when absolute; else
// $HOME/.local/share, HOME only when absolute, else the home the password
// database gives the effective user).
//
// The program may run as root with another user's environment, so nothing
// there is trusted: the soten folder must be a real folder of the effective
// user's own that nobody else may write, and the file in it is never reached
// through a link. Missing folders are created 0700, only inside a folder of
// the user's own (or root's); the file is created 0600 and always replaced
// whole (FileReplacement).
//
// Errors are errno values or codes of FileErrors.h.
class UserDataFile {
public:
    // Which file a path names and when it was last written: a replaced file
    // is a new file, so any write by any program changes this.
    struct Stamp {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        bool operator==(const Stamp& other) const;
    };

    // `name`: one file name, such as "shortlist.json".
    explicit UserDataFile(std::string name);

    // The file and its folder as paths for messages; both empty when there
    // is no home to keep them in.
    const std::string& Path() const { return path_; }
    const std::string& Folder() const { return folder_; }

    enum class State {
        Missing,      // no file yet (or no folder yet)
        Read,         // `bytes` holds the file
        Damaged,      // the file is there but cannot be used: set it aside
        Unreadable,   // the file is there but could not be read now
        Unavailable,  // the folder cannot be used; nothing there is touched
    };
    struct Content {
        State state = State::Missing;
        std::string bytes;
        int error = 0;  // why the file is damaged or unreadable, or the folder unavailable
        Stamp stamp;    // of the file read
    };
    // Reads the whole file. A file that is not a regular file of the user's
    // own or holds more than `maxSize` bytes is Damaged. One that may be
    // good but could not be read (no right to, an I/O error, no descriptor
    // left, a link, which is never followed) is Unreadable and left alone:
    // until a Read succeeds, neither that nor an Unavailable folder is ever
    // written over.
    Content Read(std::size_t maxSize);

    // The file as it is now (not existing when it cannot be looked at).
    Stamp Current() const;

    // Takes an advisory lock on "<name>.lock" beside the file, held until
    // `lock` closes: whoever reads the file to write it back holds it, so no
    // change made in between is lost. The lock file is made 0600 in the
    // folder as the file is, never through a link. ENOENT when the folder is
    // missing and not `create`.
    int Lock(bool create, UniqueFd& lock);

    // Renames the file to "<name>.bak", or ".bak.1", ".bak.2", ... when that
    // is taken, never over another file; `movedTo` gets its path. Once a
    // file has been found Damaged or is to be set aside, Write never
    // replaces it: it tries this again first.
    int SetAside(std::string& movedTo);

    // Replaces the file with `bytes`, creating the folders it needs; the
    // error of the last Read when that did not read the file.
    int Write(std::string_view bytes);

private:
    Content ReadContent(std::size_t maxSize) const;

    std::string name_;
    std::string base_;  // the data home, e.g. ~/.local/share
    std::string folder_;
    std::string path_;
    bool keepOut_ = false;  // a damaged file is still in place
    int unread_ = 0;        // why the last Read could not read what is there
};

}  // namespace soten::platform
