#include "FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

namespace soten::platform {

namespace {

// The file a path names, following symbolic links, as the system would open
// it; a link to a file that does not exist yet names that file.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        std::array<char, PATH_MAX> target{};
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size() - 1);
        if (length <= 0) return path;
        std::string next(target.data(), static_cast<std::size_t>(length));
        if (next.front() != '/') {
            const std::size_t slash = path.rfind('/');
            if (slash != std::string::npos) next = path.substr(0, slash + 1) + next;
        }
        path = std::move(next);
    }
    return path;
}

std::string RandomSuffix() {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    std::string suffix(8, 'x');
    for (char& c : suffix) c = letters[pick(random)];
    return suffix;
}

int Error() {
    return errno != 0 ? errno : EIO;
}

}  // namespace

FileReplacement::FileReplacement(std::string path) : path_(std::move(path)) {}

FileReplacement::~FileReplacement() {
    if (!committed_) Discard();
    if (folder_ >= 0) ::close(folder_);
}

void FileReplacement::Discard() {
    if (file_ >= 0) ::close(file_);
    file_ = -1;
    if (!temporaryName_.empty() && folder_ >= 0) {
        ::unlinkat(folder_, temporaryName_.c_str(), 0);
    }
    temporaryName_.clear();
}

int FileReplacement::Begin() {
    if (path_.empty()) return ENOENT;
    const std::string target = FollowLinks(path_);
    struct stat status {};
    mode_t mode = 0666;
    bool exists = false;
    if (::stat(target.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) return EISDIR;
        if (!S_ISREG(status.st_mode)) return NotARegularFile;
        mode = status.st_mode & 07777;
        exists = true;
    }
    const std::size_t slash = target.rfind('/');
    folderPath_ = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    targetName_ = slash == std::string::npos ? target : target.substr(slash + 1);
    if (targetName_.empty()) return EISDIR;

    folder_ = ::open(folderPath_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0) return Error();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = ".soten-" + RandomSuffix() + ".part";
        // New files get the user's usual permissions (the umask applies).
        file_ = ::openat(folder_, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file_ >= 0) {
            temporaryName_ = std::move(name);
            if (exists && ::fchmod(file_, mode) != 0) {
                const int error = Error();
                Discard();
                return error;
            }
            return 0;
        }
        if (errno != EEXIST) return Error();
    }
    return EEXIST;
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
    if (::fsync(file_) != 0) return Error();
    const int file = file_;
    file_ = -1;
    if (::close(file) != 0) return Error();
    if (::renameat(folder_, temporaryName_.c_str(), folder_, targetName_.c_str()) != 0) {
        return Error();
    }
    committed_ = true;
    // The rename itself reaches the disk with the folder.
    ::fsync(folder_);
    return 0;
}

}  // namespace soten::platform
