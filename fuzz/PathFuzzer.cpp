// Feeds arbitrary bytes as a file name to the writer's path handling, inside
// a sandbox of folders, links (good, dangling, looping, absolute, up and out
// of the sandbox) and odd names. Every answer must be sound: a resolved
// target is one plain name in an open folder, never a link, and an existing
// one is a regular file. Names that stay in the sandbox are written, and the
// sandbox must then hold no temporary file.
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/files/FileReplacement.h"
#include "platform/files/PathResolution.h"

namespace {

std::string& Sandbox() {
    static std::string root;
    return root;
}

void RemoveSandbox();

std::string MakeSandbox() {
    char pattern[] = "/tmp/soten-path-fuzz-XXXXXX";
    if (!::mkdtemp(pattern)) __builtin_trap();
    const std::string root = pattern;
    Sandbox() = root;
    std::atexit(&RemoveSandbox);
    // The fuzzer keeps its corpus by relative names: the sandbox is entered
    // by its descriptor only for setting it up.
    const int previous = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (previous < 0 || ::chdir(root.c_str()) != 0) __builtin_trap();
    ::mkdir("d", 0755);
    ::mkdir("d/e", 0755);
    ::mkdir("shared", 01777);
    if (int fd = ::open("f", O_CREAT | O_WRONLY, 0644); fd >= 0) ::close(fd);
    if (int fd = ::open("d/g", O_CREAT | O_WRONLY, 0644); fd >= 0) ::close(fd);
    ::mkfifo("fifo", 0644);
    for (const auto& [target, link] : {std::pair{"f", "to-f"},
                                       {"d", "to-d"},
                                       {"missing", "dangling"},
                                       {"loop2", "loop1"},
                                       {"loop1", "loop2"},
                                       {"..", "up"},
                                       {"/dev/null", "to-null"},
                                       {"d/e/../../f", "winding"},
                                       {"fifo", "to-fifo"},
                                       {"../f", "d/e/back"},
                                       {"self", "self"}}) {
        (void)::symlink(target, link);
    }
    // Links in the shared folder: the user's own, and (when root can give it
    // away) another user's.
    (void)::symlink("../f", "shared/own");
    if (::symlink("../f", "shared/planted") == 0 && ::geteuid() == 0) {
        (void)::lchown("shared/planted", 65534, 65534);
    }
    if (::fchdir(previous) != 0) __builtin_trap();
    ::close(previous);
    return root;
}

int RemoveEntry(const char* path, const struct stat*, int, FTW*) {
    return ::remove(path);
}

void RemoveSandbox() {
    ::nftw(Sandbox().c_str(), &RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

bool InSandbox(int folder, const std::string& root) {
    char buffer[4096];
    const std::string self = "/proc/self/fd/" + std::to_string(folder);
    const ssize_t length = ::readlink(self.c_str(), buffer, sizeof buffer - 1);
    if (length <= 0) return false;
    const std::string where(buffer, static_cast<std::size_t>(length));
    return where == root || where.starts_with(root + "/");
}

bool HasTemporaryFile(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::string(entry->d_name).starts_with(".soten-")) found = true;
    }
    ::closedir(dir);
    return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string root = MakeSandbox();
    // Relative names start in the sandbox.
    std::string path(reinterpret_cast<const char*>(data), size);
    if (!path.starts_with('/')) path = root + "/" + path;

    soten::platform::ReplacementTarget target;
    if (soten::platform::ResolveReplacementTarget(path, target) != 0) return 0;
    const std::string& name = target.name;
    if (target.folder.Get() < 0 || name.empty() || name == "." || name == ".." ||
        name.find('/') != std::string::npos) {
        __builtin_trap();
    }
    struct stat status {};
    if (::fstatat(target.folder.Get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!target.exists || !S_ISREG(status.st_mode)) __builtin_trap();
    } else if (target.exists) {
        __builtin_trap();
    }
    // Written only where it cannot touch anything outside the sandbox.
    if (!InSandbox(target.folder.Get(), root) || name.size() > 64) return 0;
    {
        // New names are only begun and dropped, so the sandbox stays small.
        soten::platform::FileReplacement replacement(path);
        if (replacement.Begin() == 0 && target.exists) {
            if (replacement.Write("x", 1) != 0 || replacement.Commit() != 0) __builtin_trap();
        }
    }
    if (HasTemporaryFile(root) || HasTemporaryFile(root + "/d") ||
        HasTemporaryFile(root + "/shared")) {
        __builtin_trap();
    }
    return 0;
}
