#include "platform/files/RuntimeFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace soten::platform {

namespace {

std::string& PrivateFolder() {
    static std::string folder;
    return folder;
}

void RemovePrivateFolder() {
    if (!PrivateFolder().empty()) ::rmdir(PrivateFolder().c_str());
}

bool IsOwnPrivateFolder(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
}

}  // namespace

void EnsureRuntimeFolder() {
    const char* current = std::getenv("XDG_RUNTIME_DIR");
    if (current && *current) return;
    // Where Qt looks for temporary files.
    std::string temporary = "/tmp";
    if (const char* folder = std::getenv("TMPDIR"); folder && *folder == '/') temporary = folder;
    while (temporary.size() > 1 && temporary.back() == '/') temporary.pop_back();
    const std::string usual =
        temporary + "/runtime-" + std::to_string(static_cast<unsigned long>(::geteuid()));
    if ((::mkdir(usual.c_str(), 0700) == 0 || errno == EEXIST) && IsOwnPrivateFolder(usual)) {
        ::setenv("XDG_RUNTIME_DIR", usual.c_str(), 1);
        return;
    }
    std::string pattern = usual + "-XXXXXX";
    if (::mkdtemp(pattern.data()) && IsOwnPrivateFolder(pattern)) {
        PrivateFolder() = pattern;
        std::atexit(&RemovePrivateFolder);
        ::setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
    }
}

}  // namespace soten::platform
