#pragma once

#include <sys/stat.h>

#include <string>

namespace soten::platform {

// A file descriptor that closes itself.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    ~UniqueFd();
    int Get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_ = -1;
};

// Where a file to be replaced lives: its folder, open, and its name there.
struct ReplacementTarget {
    UniqueFd folder;
    // Opened for reading when it could be (so it can be flushed), else O_PATH.
    bool folderReadable = false;
    std::string name;
    bool exists = false;
    struct stat status {};  // the existing regular file's
};

// Resolves `path` (the system's bytes) to the entry a writer must replace,
// walking it one name at a time with no name ever looked up twice. Symbolic
// links are followed, at any step, as the system follows them when it opens
// a file, with the protection of fs.protected_symlinks whatever the
// machine's setting: a link in a sticky world-writable folder is followed
// only when it belongs to the user or to the folder's owner. An existing
// regular file there that belongs to neither is not to be replaced (as
// fs.protected_regular=2 has it, group-writable sticky folders included).
// Returns 0, an errno value (ELOOP after 40 links, EISDIR, ENOTDIR,
// ENAMETOOLONG, ...) or a code of FileErrors.h.
int ResolveReplacementTarget(const std::string& path, ReplacementTarget& target);

// The entry `name` (one name, no slash) of a folder already open, for a
// writer that must follow no link at all: a symbolic link there is refused
// as a FIFO or a device is (NotARegularFile). `target.folder` gets a
// descriptor of its own.
int ResolveReplacementEntry(int folder, const std::string& name, ReplacementTarget& target);

}  // namespace soten::platform
