#include "platform/files/PathResolution.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "platform/files/FileErrors.h"

namespace soten::platform {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.Release();
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
}

namespace {

constexpr int MaxLinks = 40;  // the kernel's limit

int Error() {
    return errno != 0 ? errno : EIO;
}

// Only the user's own links and root's are followed, in any folder: a link
// anyone else made would let them choose the file that gets replaced, even
// where the kernel would follow it (a group-writable sticky folder, a folder
// everyone may write, a sticky folder of that user's own).
bool MayFollow(const struct stat& link) {
    return link.st_uid == ::geteuid() || link.st_uid == 0;
}

// A file another user put in a folder others may write, sticky or not, is
// not replaced: its owner would get the new content, under rights they chose.
bool MayReplace(const struct stat& folder, const struct stat& file) {
    return (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0 || file.st_uid == folder.st_uid ||
           file.st_uid == ::geteuid();
}

// Whether the link `name` at the end of a path leads to something that is
// neither a regular file nor a folder: a FIFO, a device, or what a link of
// /proc/self/fd names with no path ("pipe:[...]", "socket:[...]"), which
// walking its text would take for a missing file.
bool LeadsToASpecialFile(int folder, const char* name) {
    struct stat status {};
    return ::fstatat(folder, name, &status, 0) == 0 && !S_ISREG(status.st_mode) &&
           !S_ISDIR(status.st_mode);
}

// Pushes the names of `path` so that the first is popped first.
void PushNames(const std::string& path, std::vector<std::string>& pending) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        std::string name = path.substr(start, end - start);
        if (!name.empty() && name != ".") names.push_back(std::move(name));
        start = end + 1;
    }
    pending.insert(pending.end(), names.rbegin(), names.rend());
}

UniqueFd OpenFolder(int at, const char* name) {
    return UniqueFd(::openat(at, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// Walks the names pending from `folder`, one at a time, following links as
// MayFollow allows. For a `target`, the last name is the entry to replace and
// `folder` ends as its folder; without one, every name is a folder and
// `folder` ends as the last.
int Walk(UniqueFd& folder, std::vector<std::string>& pending, bool folderOnly,
         ReplacementTarget* target) {
    struct stat folderStatus {};
    if (::fstat(folder.Get(), &folderStatus) != 0) return Error();
    int links = 0;
    while (!pending.empty()) {
        const std::string name = std::move(pending.back());
        pending.pop_back();
        const bool last = pending.empty() && target;
        if (name.size() > NAME_MAX) return ENAMETOOLONG;
        if (name == "..") {
            if (last) return EISDIR;
            UniqueFd parent = OpenFolder(folder.Get(), "..");
            if (parent.Get() < 0 || ::fstat(parent.Get(), &folderStatus) != 0) return Error();
            folder = std::move(parent);
            continue;
        }
        struct stat status {};
        if (::fstatat(folder.Get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT || !last) return Error();
            if (folderOnly) return EISDIR;
            target->name = name;
            target->exists = false;
            return 0;
        }
        if (S_ISLNK(status.st_mode)) {
            if (++links > MaxLinks) return ELOOP;
            if (!MayFollow(status)) return UntrustedLink;
            if (last && LeadsToASpecialFile(folder.Get(), name.c_str())) return NotARegularFile;
            char buffer[PATH_MAX];
            const ssize_t length = ::readlinkat(folder.Get(), name.c_str(), buffer, sizeof buffer);
            if (length < 0) return Error();
            if (length == 0) return ENOENT;
            if (static_cast<std::size_t>(length) >= sizeof buffer) return ENAMETOOLONG;
            const std::string link(buffer, static_cast<std::size_t>(length));
            if (link.front() == '/') {
                UniqueFd root = OpenFolder(AT_FDCWD, "/");
                if (root.Get() < 0 || ::fstat(root.Get(), &folderStatus) != 0) return Error();
                folder = std::move(root);
            }
            if (last && link.back() == '/') folderOnly = true;
            PushNames(link, pending);
            if (pending.empty() && target) return EISDIR;  // a link to "/" or "."
            continue;
        }
        if (last) {
            if (S_ISDIR(status.st_mode)) return EISDIR;
            if (folderOnly) return ENOTDIR;
            if (!S_ISREG(status.st_mode)) return NotARegularFile;
            if (!MayReplace(folderStatus, status)) return UntrustedFile;
            target->name = name;
            target->exists = true;
            target->status = status;
            return 0;
        }
        if (!S_ISDIR(status.st_mode)) return ENOTDIR;
        UniqueFd next = OpenFolder(folder.Get(), name.c_str());
        if (next.Get() < 0 || ::fstat(next.Get(), &folderStatus) != 0) return Error();
        folder = std::move(next);
    }
    return target ? EISDIR : 0;
}

}  // namespace

int ResolveReplacementTarget(const std::string& path, ReplacementTarget& target) {
    if (path.empty()) return ENOENT;
    if (path.size() >= PATH_MAX) return ENAMETOOLONG;
    if (path.find('\0') != std::string::npos) return ENOENT;
    UniqueFd folder = OpenFolder(AT_FDCWD, path.front() == '/' ? "/" : ".");
    if (folder.Get() < 0) return Error();
    std::vector<std::string> pending;
    PushNames(path, pending);
    // A path that ends in a slash (or names "/", "." or "..") is a folder.
    const std::string tail = path.substr(path.rfind('/') + 1);
    const bool folderOnly = tail.empty() || tail == "." || tail == "..";
    if (const int error = Walk(folder, pending, folderOnly, &target)) return error;
    UniqueFd readable(::openat(folder.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    target.folderReadable = readable.Get() >= 0;
    target.folder = target.folderReadable ? std::move(readable) : std::move(folder);
    return 0;
}

int ResolveFolder(int at, const std::string& path, UniqueFd& folder) {
    if (path.empty() || path.find('\0') != std::string::npos) return ENOENT;
    if (path.size() >= PATH_MAX) return ENAMETOOLONG;
    UniqueFd walked =
        OpenFolder(path.front() == '/' ? AT_FDCWD : at, path.front() == '/' ? "/" : ".");
    if (walked.Get() < 0) return Error();
    std::vector<std::string> pending;
    PushNames(path, pending);
    if (const int error = Walk(walked, pending, true, nullptr)) return error;
    folder = std::move(walked);
    return 0;
}

int ResolveReplacementEntry(int folder, const std::string& name, ReplacementTarget& target) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos) {
        return EINVAL;
    }
    if (name.size() > NAME_MAX) return ENAMETOOLONG;
    struct stat status {};
    if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT) return Error();
        target.exists = false;
    } else if (S_ISDIR(status.st_mode)) {
        return EISDIR;
    } else if (!S_ISREG(status.st_mode)) {
        return NotARegularFile;
    } else {
        target.exists = true;
        target.status = status;
    }
    target.name = name;
    UniqueFd own(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    target.folderReadable = own.Get() >= 0;
    if (!target.folderReadable) own = UniqueFd(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
    if (own.Get() < 0) return Error();
    target.folder = std::move(own);
    return 0;
}

}  // namespace soten::platform
