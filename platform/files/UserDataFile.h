#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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
        Unavailable,  // the folder cannot be used; nothing there is touched
    };
    struct Content {
        State state = State::Missing;
        std::string bytes;
        int error = 0;  // why the file is damaged or the folder unavailable
    };
    // Reads the whole file. A file that is not a regular file of the user's
    // own, cannot be read or holds more than `maxSize` bytes is Damaged.
    Content Read(std::size_t maxSize);

    // Renames the file to "<name>.bak", or ".bak.1", ".bak.2", ... when that
    // is taken, never over another file; `movedTo` gets its path. Once a
    // file has been found Damaged or is to be set aside, Write never
    // replaces it: it tries this again first.
    int SetAside(std::string& movedTo);

    // Replaces the file with `bytes`, creating the folders it needs.
    int Write(std::string_view bytes);

private:
    std::string name_;
    std::string base_;  // the data home, e.g. ~/.local/share
    std::string folder_;
    std::string path_;
    bool keepOut_ = false;  // a damaged file is still in place
};

}  // namespace soten::platform
