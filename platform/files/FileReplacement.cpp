#include "platform/files/FileReplacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <random>
#include <string_view>

#include "platform/files/InterruptCleanup.h"

namespace soten::platform {

namespace {

constexpr const char* AclAttribute = "system.posix_acl_access";

// New files are named ".soten-" + eight of these + ".part".
constexpr std::string_view TemporaryPrefix = ".soten-";
constexpr std::string_view TemporarySuffix = ".part";
constexpr std::string_view Letters = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t RandomLength = 8;
// A new file left this long untouched, and not locked, was left by a writer
// that was killed.
constexpr time_t StaleAfterSeconds = 60;

std::string TemporaryName() {
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, Letters.size() - 1);
    std::string name(TemporaryPrefix);
    for (std::size_t i = 0; i < RandomLength; ++i) name += Letters[pick(random)];
    name += TemporarySuffix;
    return name;
}

bool IsTemporaryName(std::string_view name) {
    if (name.size() != TemporaryPrefix.size() + RandomLength + TemporarySuffix.size() ||
        !name.starts_with(TemporaryPrefix) || !name.ends_with(TemporarySuffix)) {
        return false;
    }
    const std::string_view random = name.substr(TemporaryPrefix.size(), RandomLength);
    return random.find_first_not_of(Letters) == std::string_view::npos;
}

// Removes the new files that writers killed before they could finish (by
// SIGKILL, or a signal nothing catches) left in `folder`: this program's
// names only, regular files of the user's own, untouched for a minute and
// not locked by a writer still at work. Never through a link, never
// another user's file.
void SweepStaleTemporaryFiles(int folder) {
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0) return;
    DIR* entries = ::fdopendir(listed);
    if (!entries) {
        ::close(listed);
        return;
    }
    const time_t staleBefore = std::time(nullptr) - StaleAfterSeconds;
    while (const dirent* entry = ::readdir(entries)) {
        if (!IsTemporaryName(entry->d_name)) continue;
        struct stat named {};
        if (::fstatat(folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(named.st_mode) || named.st_uid != ::geteuid() ||
            named.st_mtime >= staleBefore) {
            continue;
        }
        const UniqueFd file(::openat(folder, entry->d_name,
                                     O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat opened {};
        if (file.Get() < 0 || ::fstat(file.Get(), &opened) != 0 || opened.st_ino != named.st_ino ||
            opened.st_dev != named.st_dev || ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(entries);
}

int Error() {
    return errno != 0 ? errno : EIO;
}

// The attributes carried over: the access ACL and the user's own ones; never
// security.* (capabilities, labels) or trusted.*.
bool IsKept(const std::string& name) {
    return name == AclAttribute || name.starts_with("user.");
}

// The permissions of the ACL's owning group entry, from the kernel's
// attribute format (a 4-byte version, then 8-byte entries: tag, permissions,
// id). -1 when the ACL cannot be read.
int AclGroupPermissions(const std::string& acl) {
    constexpr std::uint16_t GroupObject = 0x04;
    if (acl.size() < 4 || (acl.size() - 4) % 8 != 0) return -1;
    for (std::size_t at = 4; at < acl.size(); at += 8) {
        std::uint16_t tag = 0;
        std::uint16_t permissions = 0;
        std::memcpy(&tag, acl.data() + at, 2);
        std::memcpy(&permissions, acl.data() + at + 2, 2);
        if (tag == GroupObject) return permissions & 7;
    }
    return -1;
}

}  // namespace

FileReplacement::FileReplacement(std::string path) : path_(std::move(path)) {}

FileReplacement::FileReplacement(int folder, std::string name, std::string path)
    : path_(std::move(path)), givenFolder_(folder), givenName_(std::move(name)) {}

FileReplacement::~FileReplacement() {
    if (!committed_) Discard();
}

void FileReplacement::Discard() {
    if (file_ >= 0) ::close(file_);
    file_ = -1;
    if (!temporaryName_.empty()) ::unlinkat(target_.folder.Get(), temporaryName_.c_str(), 0);
    cleanup_.reset();
    temporaryName_.clear();
}

std::string FileReplacement::DescriptorPath() const {
    return "/proc/self/fd/" + std::to_string(file_);
}

bool FileReplacement::SplitsHardLinks() const {
    return target_.exists && target_.status.st_nlink > 1;
}

int FileReplacement::Begin() {
    if (const int error = givenFolder_ >= 0
                              ? ResolveReplacementEntry(givenFolder_, givenName_, target_)
                              : ResolveReplacementTarget(path_, target_)) {
        return error;
    }
    const int folder = target_.folder.Get();
    if (target_.exists) {
        // A file the user may not write is not replaced behind their back.
        if (::faccessat(folder, target_.name.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) !=
            0) {
            return Error();
        }
        ReadAttributes();
    }
    if (target_.folderReadable) SweepStaleTemporaryFiles(folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryName_ = TemporaryName();
        // Registered before it exists: a signal at any moment after the file
        // appears removes it.
        cleanup_ = std::make_unique<RemovedOnInterrupt>(folder, temporaryName_.c_str());
        // A new file gets the mode asked for less the umask (and the default
        // ACL); a replacement starts private and takes the old file's at Commit.
        const mode_t mode = target_.exists ? 0600 : newFileMode_;
        file_ = ::openat(folder, temporaryName_.c_str(),
                         O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (file_ >= 0) {
            // Held while the file is written: no sweep takes it for stale.
            (void)::flock(file_, LOCK_EX | LOCK_NB);
            return 0;
        }
        const int error = Error();
        // The name is someone else's file, not one to remove.
        cleanup_.reset();
        temporaryName_.clear();
        if (error != EEXIST) return error;
    }
    return EEXIST;
}

void FileReplacement::ReadAttributes() {
    const UniqueFd old(::openat(target_.folder.Get(), target_.name.c_str(),
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (old.Get() < 0 || ::fstat(old.Get(), &status) != 0 ||
        status.st_ino != target_.status.st_ino || status.st_dev != target_.status.st_dev) {
        return;
    }
    target_.status = status;
    const ssize_t size = ::flistxattr(old.Get(), nullptr, 0);
    if (size <= 0) return;
    std::string names(static_cast<std::size_t>(size), '\0');
    const ssize_t got = ::flistxattr(old.Get(), names.data(), names.size());
    if (got <= 0) return;
    names.resize(static_cast<std::size_t>(got));
    for (std::size_t at = 0; at < names.size();) {
        const std::string name(names.c_str() + at);
        at += name.size() + 1;
        if (!IsKept(name)) continue;
        const ssize_t length = ::fgetxattr(old.Get(), name.c_str(), nullptr, 0);
        if (length < 0) continue;
        std::string value(static_cast<std::size_t>(length), '\0');
        const ssize_t read = ::fgetxattr(old.Get(), name.c_str(), value.data(), value.size());
        if (read < 0) continue;
        value.resize(static_cast<std::size_t>(read));
        attributes_.emplace_back(name, std::move(value));
    }
}

void FileReplacement::CopyAttributes() {
    const struct stat& old = target_.status;
    // Root gives the file back to its owner; anyone may keep a group they
    // are in. Either may fail, which only narrows the rights below.
    if (::fchown(file_, old.st_uid, old.st_gid) != 0 &&
        ::fchown(file_, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Neither: the file stays the writer's; the rights narrow below.
    }
    struct stat now {};
    if (::fstat(file_, &now) != 0) now = old;
    mode_t mode = old.st_mode & 07777;
    if (now.st_uid != old.st_uid) mode &= ~(S_ISUID | S_ISGID);
    if (now.st_gid != old.st_gid) {
        // Another group gets no more than everyone else.
        mode &= ~(S_ISGID | (070 & ~((mode & 07) << 3)));
    }
    bool aclKept = false;
    for (const auto& [name, value] : attributes_) {
        const bool set = ::fsetxattr(file_, name.c_str(), value.data(), value.size(), 0) == 0;
        if (name != AclAttribute) continue;
        aclKept = set;
        // Without the ACL the group bits (its mask) would give the owning
        // group what only named entries had.
        const int group = AclGroupPermissions(value);
        if (!set) mode &= ~(070 & ~((group < 0 ? 0 : group) << 3));
    }
    // An ACL the folder passed down to the new file has no place on it.
    if (!aclKept) (void)::fremovexattr(file_, AclAttribute);
    (void)::fchmod(file_, mode);
}

int FileReplacement::Write(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(file_, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return Error();
        }
        if (written == 0) return EIO;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

int FileReplacement::Commit() {
    if (file_ < 0) return EBADF;
    if (target_.exists) CopyAttributes();
    if (::fsync(file_) != 0) return Error();
    // Whoever may write the folder may swap the new file's name for a link
    // or a file of their own; what was written is never written elsewhere,
    // but the name must still be the file written before it is renamed.
    struct stat written {};
    struct stat named {};
    const int folder = target_.folder.Get();
    if (::fstat(file_, &written) != 0) return Error();
    if (::fstatat(folder, temporaryName_.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        named.st_ino != written.st_ino || named.st_dev != written.st_dev) {
        // Not ours to remove.
        cleanup_.reset();
        temporaryName_.clear();
        return TemporaryFileTaken;
    }
    const int file = file_;
    file_ = -1;
    if (::close(file) != 0) return Error();
    if (::renameat(folder, temporaryName_.c_str(), folder, target_.name.c_str()) != 0) {
        return Error();
    }
    committed_ = true;
    cleanup_.reset();
    if (SplitsHardLinks()) NoteAboutFile(SplitHardLinkNote(path_));
    // The rename itself reaches the disk with the folder.
    if (target_.folderReadable) ::fsync(folder);
    return 0;
}

}  // namespace soten::platform
