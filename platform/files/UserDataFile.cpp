#include "platform/files/UserDataFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/files/FileErrors.h"
#include "platform/files/FileReplacement.h"
#include "platform/files/PathResolution.h"

namespace soten::platform {

namespace {

constexpr const char* FolderName = "soten";
constexpr int MaxAsideNames = 1000;

int Error() {
    return errno != 0 ? errno : EIO;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string PasswordHome() {
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir) {
        return {};
    }
    return found->pw_dir;
}

// The XDG data home; empty when there is none to trust.
std::string DataHome() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
        return WithoutTrailingSlashes(data);
    }
    std::string home;
    if (const char* variable = std::getenv("HOME"); variable && *variable == '/') {
        home = variable;
    } else {
        home = PasswordHome();
    }
    if (home.empty() || home.front() != '/') return {};
    home = WithoutTrailingSlashes(home);
    if (home.back() != '/') home += '/';
    home += ".local/share";
    return home;
}

std::string Join(const std::string& folder, const std::string& name) {
    std::string path = folder;
    if (path.back() != '/') path += '/';
    path += name;
    return path;
}

// A folder may be made inside one of the user's own or root's; never in
// another user's (root with that user's HOME would leave folders they
// cannot remove).
bool MayCreateIn(int folder) {
    struct stat status {};
    return ::fstat(folder, &status) == 0 && (status.st_uid == ::geteuid() || status.st_uid == 0);
}

// The folder `name` in `at`, made 0700 when missing and `create`. Links on
// the way to the data home are followed as a writer follows them: the user's
// own and root's only (ResolveFolder).
int OpenStep(UniqueFd& at, const std::string& name, bool create) {
    UniqueFd next;
    const int error = ResolveFolder(at.Get(), name, next);
    if (error == ENOENT && create) {
        if (!MayCreateIn(at.Get())) return UntrustedFolder;
        if (::mkdirat(at.Get(), name.c_str(), 0700) != 0 && errno != EEXIST) return Error();
        next = UniqueFd(
            ::openat(at.Get(), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (next.Get() < 0) return Error();
    } else if (error) {
        return error;
    }
    at = std::move(next);
    return 0;
}

// The soten folder, open for reading; refused unless it is a real folder of
// the user's own that only they may write. ENOENT when it (or the data home)
// is missing and not `create`.
int OpenDataFolder(const std::string& base, bool create, UniqueFd& folder) {
    if (base.empty()) return NoHomeFolder;
    UniqueFd at(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (at.Get() < 0) return Error();
    std::size_t start = 1;
    while (start < base.size()) {
        std::size_t end = base.find('/', start);
        if (end == std::string::npos) end = base.size();
        const std::string name = base.substr(start, end - start);
        start = end + 1;
        if (name.empty() || name == ".") continue;
        if (const int error = OpenStep(at, name, create)) return error;
    }
    struct stat status {};
    if (::fstatat(at.Get(), FolderName, &status, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT || !create) return Error();
        if (!MayCreateIn(at.Get())) return UntrustedFolder;
        if (::mkdirat(at.Get(), FolderName, 0700) != 0 && errno != EEXIST) return Error();
    }
    UniqueFd opened(
        ::openat(at.Get(), FolderName, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (opened.Get() < 0) return errno == ELOOP || errno == ENOTDIR ? NotAFolder : Error();
    if (::fstat(opened.Get(), &status) != 0) return Error();
    if (!S_ISDIR(status.st_mode)) return NotAFolder;
    if (status.st_uid != ::geteuid() || (status.st_mode & 022) != 0) return UntrustedFolder;
    folder = std::move(opened);
    return 0;
}

bool IsOwnRegularFile(const struct stat& status, int& error) {
    if (!S_ISREG(status.st_mode)) {
        error = NotARegularFile;
    } else if (status.st_uid != ::geteuid()) {
        error = AnotherUsersFile;
    } else {
        return true;
    }
    return false;
}

UserDataFile::Stamp StampOf(const struct stat& status) {
    return {true, status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

}  // namespace

UserDataFile::UserDataFile(std::string name) : name_(std::move(name)), base_(DataHome()) {
    if (!base_.empty()) {
        folder_ = Join(base_, FolderName);
        path_ = Join(folder_, name_);
    }
}

bool UserDataFile::Stamp::operator==(const Stamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           size == other.size && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec;
}

UserDataFile::Content UserDataFile::Read(std::size_t maxSize) {
    Content content = ReadContent(maxSize);
    const bool unread = content.state == State::Unreadable || content.state == State::Unavailable;
    unread_ = unread ? content.error : 0;
    if (content.state == State::Damaged) keepOut_ = true;
    return content;
}

UserDataFile::Content UserDataFile::ReadContent(std::size_t maxSize) const {
    Content content;
    UniqueFd folder;
    if (const int error = OpenDataFolder(base_, false, folder)) {
        if (error != ENOENT) content = {State::Unavailable, {}, error, {}};
        return content;
    }
    const auto damaged = [](int error) { return Content{State::Damaged, {}, error, {}}; };
    const auto unreadable = [](int error) { return Content{State::Unreadable, {}, error, {}}; };
    struct stat status {};
    if (::fstatat(folder.Get(), name_.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT ? content : unreadable(Error());
    }
    // Maybe the user's own way to keep the list elsewhere: never followed,
    // never moved.
    if (S_ISLNK(status.st_mode)) return unreadable(NotARegularFile);
    int error = 0;
    if (!IsOwnRegularFile(status, error)) return damaged(error);
    if (static_cast<std::size_t>(status.st_size) > maxSize) return damaged(EFBIG);
    // No link, and no blocking on a FIFO put there after the look above.
    const UniqueFd file(::openat(folder.Get(), name_.c_str(),
                                 O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Get() < 0) {
        if (errno == ENOENT) return content;
        return unreadable(errno == ELOOP ? NotARegularFile : Error());
    }
    if (::fstat(file.Get(), &status) != 0) return unreadable(Error());
    if (!IsOwnRegularFile(status, error)) return damaged(error);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return unreadable(Error());
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > maxSize) return damaged(EFBIG);
    }
    content.state = State::Read;
    content.bytes = std::move(bytes);
    content.stamp = StampOf(status);
    return content;
}

UserDataFile::Stamp UserDataFile::Current() const {
    UniqueFd folder;
    struct stat status {};
    if (OpenDataFolder(base_, false, folder) != 0 ||
        ::fstatat(folder.Get(), name_.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return {};
    }
    return StampOf(status);
}

int UserDataFile::Lock(bool create, UniqueFd& lock) {
    UniqueFd folder;
    if (const int error = OpenDataFolder(base_, create, folder)) return error;
    const std::string name = name_ + ".lock";
    UniqueFd file(::openat(folder.Get(), name.c_str(),
                           O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                           0600));
    if (file.Get() < 0) return errno == ELOOP ? NotARegularFile : Error();
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) return Error();
    int error = 0;
    if (!IsOwnRegularFile(status, error)) return error;
    while (::flock(file.Get(), LOCK_EX) != 0) {
        if (errno != EINTR) return Error();
    }
    lock = std::move(file);
    return 0;
}

int UserDataFile::SetAside(std::string& movedTo) {
    keepOut_ = true;
    movedTo.clear();
    UniqueFd folder;
    if (const int error = OpenDataFolder(base_, false, folder)) return error;
    for (int attempt = 0; attempt < MaxAsideNames; ++attempt) {
        std::string aside = name_ + ".bak";
        if (attempt > 0) {
            aside += '.';
            aside += std::to_string(attempt);
        }
        int result =
            ::renameat2(folder.Get(), name_.c_str(), folder.Get(), aside.c_str(), RENAME_NOREPLACE);
        if (result != 0 && errno == EINVAL) {
            // A file system without RENAME_NOREPLACE: a new name that must not
            // exist yet, then the old one goes.
            result = ::linkat(folder.Get(), name_.c_str(), folder.Get(), aside.c_str(), 0);
            if (result == 0) ::unlinkat(folder.Get(), name_.c_str(), 0);
        }
        if (result == 0) {
            keepOut_ = false;
            movedTo = Join(folder_, aside);
            ::fsync(folder.Get());
            return 0;
        }
        if (errno == ENOENT) {
            // Nothing left to keep out.
            keepOut_ = false;
            return 0;
        }
        if (errno != EEXIST) return Error();
    }
    return EEXIST;
}

int UserDataFile::Write(std::string_view bytes) {
    if (unread_) return unread_;
    UniqueFd folder;
    if (const int error = OpenDataFolder(base_, true, folder)) return error;
    if (keepOut_) {
        std::string movedTo;
        if (const int error = SetAside(movedTo)) return error;
    }
    FileReplacement file(folder.Get(), name_, path_);
    file.SetNewFileMode(0600);
    int error = file.Begin();
    if (!error) error = file.Write(bytes.data(), bytes.size());
    if (!error) error = file.Commit();
    return error;
}

}  // namespace soten::platform
