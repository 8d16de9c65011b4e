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
// a file, but only the user's own and root's, whatever folder they are in
// and whatever the machine's fs.protected_symlinks: any other is refused
// (UntrustedLink). An existing regular file that belongs neither to the user
// nor to the folder's owner, in a folder its group or everyone may write
// (sticky or not), is not to be replaced (UntrustedFile). A link at the end
// that leads to a FIFO, a device or a pipe (as /dev/stdout may) is
// NotARegularFile. Returns 0, an errno value (ELOOP after 40 links, EISDIR,
// ENOTDIR, ENAMETOOLONG, ...) or a code of FileErrors.h.
int ResolveReplacementTarget(const std::string& path, ReplacementTarget& target);

// The folder `path` names (relative to the open folder `at` unless
// absolute), its links followed under the same rule; `folder` gets it as an
// O_PATH descriptor. ENOENT when a name on the way is missing.
int ResolveFolder(int at, const std::string& path, UniqueFd& folder);

// The entry `name` (one name, no slash) of a folder already open, for a
// writer that must follow no link at all: a symbolic link there is refused
// as a FIFO or a device is (NotARegularFile). `target.folder` gets a
// descriptor of its own.
int ResolveReplacementEntry(int folder, const std::string& name, ReplacementTarget& target);

}  // namespace soten::platform
