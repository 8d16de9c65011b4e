// Replacing a file as a hostile local user would attack it: links and files
// planted in shared folders, link loops, the owner and rights of the file
// replaced, hard links, and the runtime folder in the shared /tmp.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <grp.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/files/FileErrors.h"
#include "platform/files/FileReplacement.h"
#include "platform/files/RuntimeFolder.h"
#include "platform/files/UserDataFile.h"

namespace soten::platform {
namespace {

namespace fs = std::filesystem;

constexpr uid_t Nobody = 65534;

// A folder of the test's own under /tmp, removed with all it holds.
class Scratch {
public:
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "soten-replace-XXXXXX").string();
        if (::mkdtemp(pattern.data())) root_ = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        if (!root_.empty()) fs::remove_all(root_, ignored);
    }
    std::string operator/(const std::string& name) const { return root_ + "/" + name; }
    const std::string& Root() const { return root_; }

private:
    std::string root_;
};

void WriteFile(const std::string& path, const std::string& text, mode_t mode = 0644) {
    std::ofstream(path, std::ios::binary) << text;
    ::chmod(path.c_str(), mode);
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

int Replace(const std::string& path, const std::string& text) {
    FileReplacement file(path);
    int error = file.Begin();
    if (!error) error = file.Write(text.data(), text.size());
    if (!error) error = file.Commit();
    return error;
}

bool HasTemporaryFile(const std::string& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(".soten-")) return true;
    }
    return false;
}

// Runs `body` in a child process as nobody; its exit status.
int AsNobody(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0) {
            ::_exit(120);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 121;
}

// ---- Folders others may write --------------------------------------------------------

struct Planted {
    const char* what;
    // Sets up `<shared>/report.pdf` (or deeper); the path to write.
    std::function<std::string(const Scratch&, const std::string& shared)> plant;
    int expected;
};

struct SharedFolder {
    const char* what;
    mode_t mode;
    uid_t owner;
    gid_t group;
    // What becomes of another user's file there (the folder owner's is theirs).
    int anotherUsersFile;
};

TEST(FileReplacementTest, OnlyTheUsersOwnAndRootsLinksAreFollowedInAnyFolder) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give links and files to another user";
    Scratch dir;
    ASSERT_EQ(::mkdir((dir / "victim").c_str(), 0755), 0);
    const std::string secret = dir / "victim/secret.conf";
    const auto link = [](const std::string& target, const std::string& at, uid_t owner) {
        EXPECT_EQ(::symlink(target.c_str(), at.c_str()), 0);
        EXPECT_EQ(::lchown(at.c_str(), owner, owner), 0);
    };
    const std::vector<Planted> plantings = {
        {"another user's link",
         [&](const Scratch&, const std::string& shared) {
             link(secret, shared + "/report.pdf", Nobody);
             return shared + "/report.pdf";
         },
         UntrustedLink},
        {"another user's link to a folder, as a step of the path",
         [&](const Scratch& d, const std::string& shared) {
             link(d / "victim", shared + "/sub", Nobody);
             return shared + "/sub/secret.conf";
         },
         UntrustedLink},
        {"another user's link reached through a link of the user's own",
         [&](const Scratch& d, const std::string& shared) {
             link(secret, shared + "/report.pdf", Nobody);
             link(shared + "/report.pdf", d / "mine.pdf", 0);
             return d / "mine.pdf";
         },
         UntrustedLink},
        {"another user's file",
         [&](const Scratch&, const std::string& shared) {
             WriteFile(shared + "/report.pdf", "planted");
             EXPECT_EQ(::chown((shared + "/report.pdf").c_str(), Nobody, Nobody), 0);
             return shared + "/report.pdf";
         },
         UntrustedFile},
        {"the user's own link",
         [&](const Scratch&, const std::string& shared) {
             link(secret, shared + "/report.pdf", 0);
             return shared + "/report.pdf";
         },
         0},
    };
    for (const SharedFolder& folder : {
             SharedFolder{"sticky, everyone may write", 01777, 0, 0, UntrustedFile},
             SharedFolder{"sticky, the group may write", 01770, 0, Nobody, UntrustedFile},
             SharedFolder{"not sticky, everyone may write", 0777, 0, 0, UntrustedFile},
             SharedFolder{"sticky, of the link's owner", 01777, Nobody, Nobody, 0},
             SharedFolder{"private, of the link's owner", 0755, Nobody, Nobody, 0},
         }) {
        const std::string shared = dir / "shared";
        ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
        ASSERT_EQ(::chown(shared.c_str(), folder.owner, folder.group), 0);
        ASSERT_EQ(::chmod(shared.c_str(), folder.mode), 0);
        for (const Planted& planted : plantings) {
            const int expected =
                planted.expected == UntrustedFile ? folder.anotherUsersFile : planted.expected;
            WriteFile(secret, "root only", 0600);
            const std::string path = planted.plant(dir, shared);
            const std::string what = std::string(planted.what) + " in a folder " + folder.what;
            EXPECT_EQ(Replace(path, "%PDF-"), expected) << what;
            EXPECT_EQ(ReadFile(secret),
                      expected == 0 && planted.expected == 0 ? "%PDF-" : "root only")
                << what;
            EXPECT_FALSE(HasTemporaryFile(shared)) << what;
            for (const auto& entry : fs::directory_iterator(shared)) fs::remove(entry.path());
            fs::remove(dir / "mine.pdf");
        }
        fs::remove(shared);
    }
}

// What /dev/stdout leads to when the output is a pipe or a socket: nothing to
// replace, and no missing folder either.
TEST(FileReplacementTest, ALinkToAPipeOrASocketIsNotARegularFile) {
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    int sockets[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, sockets), 0);
    for (const int fd : {pipe[1], sockets[0]}) {
        EXPECT_EQ(Replace("/proc/self/fd/" + std::to_string(fd), "%PDF-"), NotARegularFile) << fd;
    }
    for (const int fd : {pipe[0], pipe[1], sockets[0], sockets[1]}) ::close(fd);
}

// The data folder is reached as a file to write is: HOME in a shared folder
// where another user links .local to a folder of root's.
TEST(FileReplacementTest, TheDataFolderIsReachedOnlyThroughTrustedLinks) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a link to another user";
    Scratch dir;
    const std::string home = dir / "home";
    ASSERT_EQ(::mkdir(home.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(home.c_str(), 01777), 0);
    ASSERT_EQ(::mkdir((dir / "rootonly").c_str(), 0700), 0);
    ASSERT_EQ(::symlink((dir / "rootonly").c_str(), (home + "/.local").c_str()), 0);
    ASSERT_EQ(::lchown((home + "/.local").c_str(), Nobody, Nobody), 0);
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const std::string oldXdg = xdg ? xdg : "";
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", home.c_str(), 1);
    UserDataFile file("shortlist.json");
    EXPECT_EQ(file.Write("[]"), UntrustedLink);
    EXPECT_EQ(file.Read(1024).error, UntrustedLink);
    ::setenv("HOME", oldHome.c_str(), 1);
    if (xdg) ::setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
    EXPECT_TRUE(fs::is_empty(dir / "rootonly"));
}

// ---- Temporary files left behind -------------------------------------------------

struct Leftover {
    const char* name;
    int ageSeconds;
    bool anotherUsers;  // else the test's own user's
    bool link;
    bool locked;  // held by a writer still at work
    bool swept;
};

TEST(FileReplacementTest, StaleTemporaryFilesOfTheUsersOwnAreSweptOnTheNextWrite) {
    Scratch dir;
    const bool root = ::geteuid() == 0;
    std::vector<int> locks;
    const std::vector<Leftover> leftovers = {
        {".soten-a1b2c3d4.part", 120, false, false, false, true},
        {".soten-e5f6g7h8.part", 5, false, false, false, false},
        {".soten-i9j0k1l2.part", 120, true, false, false, false},
        {".soten-m3n4o5p6.part", 120, false, true, false, false},
        {".soten-q7r8s9t0.part", 120, false, false, true, false},
        {".soten-u1v2w3x4.part.bak", 120, false, false, false, false},
        {".soten-U1V2W3X4.part", 120, false, false, false, false},
        {".soten-u1v2w3x.part", 120, false, false, false, false},
    };
    for (const Leftover& leftover : leftovers) {
        if (leftover.anotherUsers && !root) continue;
        const std::string path = dir / leftover.name;
        if (leftover.link) {
            ASSERT_EQ(::symlink("report.pdf", path.c_str()), 0);
        } else {
            WriteFile(path, "part", 0600);
            if (leftover.anotherUsers) {
                ASSERT_EQ(::chown(path.c_str(), Nobody, Nobody), 0);
            }
        }
        if (leftover.locked) {
            locks.push_back(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
            ASSERT_EQ(::flock(locks.back(), LOCK_EX), 0);
        }
        const timespec then{std::time(nullptr) - leftover.ageSeconds, 0};
        const timespec times[2] = {then, then};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    }
    EXPECT_EQ(Replace(dir / "report.pdf", "%PDF-"), 0);
    for (const Leftover& leftover : leftovers) {
        if (leftover.anotherUsers && !root) continue;
        EXPECT_EQ(!fs::is_symlink(dir / leftover.name) && !fs::exists(dir / leftover.name),
                  leftover.swept)
            << leftover.name;
    }
    for (const int fd : locks) ::close(fd);
}

TEST(FileReplacementTest, ALinkLoopIsRefusedAndLeftAsItWas) {
    Scratch dir;
    ASSERT_EQ(::symlink("loop2", (dir / "loop1").c_str()), 0);
    ASSERT_EQ(::symlink("loop1", (dir / "loop2").c_str()), 0);
    ASSERT_EQ(::symlink("self", (dir / "self").c_str()), 0);
    for (const char* name : {"loop1", "self", "loop1/below"}) {
        EXPECT_EQ(Replace(dir / name, "x"), ELOOP) << name;
    }
    EXPECT_TRUE(fs::is_symlink(dir / "loop1"));
    EXPECT_EQ(fs::read_symlink(dir / "loop1"), "loop2");
    EXPECT_FALSE(HasTemporaryFile(dir.Root()));
}

// ---- Owner and rights ----------------------------------------------------------------

// The kernel's ACL attribute: version 2, then tag, permissions, id.
std::string Acl(std::initializer_list<std::array<std::uint32_t, 3>> entries) {
    std::string bytes(4, '\0');
    const std::uint32_t version = 2;
    std::memcpy(bytes.data(), &version, 4);
    for (const auto& [tag, permissions, id] : entries) {
        const std::uint16_t head[2] = {static_cast<std::uint16_t>(tag),
                                       static_cast<std::uint16_t>(permissions)};
        bytes.append(reinterpret_cast<const char*>(head), 4);
        bytes.append(reinterpret_cast<const char*>(&id), 4);
    }
    return bytes;
}

std::string Attribute(const std::string& path, const char* name) {
    char value[256];
    const ssize_t size = ::getxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? std::string("(none)") : std::string(value, static_cast<std::size_t>(size));
}

TEST(FileReplacementTest, RootKeepsTheOwnerGroupRightsAclAndUserAttributes) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to replace another user's file";
    Scratch dir;
    const std::string path = dir / "users.pdf";
    WriteFile(path, "old");
    ASSERT_EQ(::chown(path.c_str(), Nobody, Nobody), 0);
    const std::string acl = Acl({{0x01, 6, ~0u},    // owner rw
                                 {0x02, 6, 1000},   // user 1000 rw
                                 {0x04, 4, ~0u},    // group r
                                 {0x10, 6, ~0u},    // mask rw
                                 {0x20, 0, ~0u}});  // others nothing
    if (::setxattr(path.c_str(), "user.origin", "scan", 4, 0) != 0 ||
        ::setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0) {
        GTEST_SKIP() << "the file system under /tmp holds no ACL or user attributes";
    }
    ASSERT_EQ(::chmod(path.c_str(), 04760), 0);  // the mask: group rw
    const bool trusted = ::setxattr(path.c_str(), "trusted.secret", "t", 1, 0) == 0;
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    const std::string aclBefore = Attribute(path, "system.posix_acl_access");

    ASSERT_EQ(Replace(path, "new"), 0);

    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(after.st_uid, Nobody);
    EXPECT_EQ(after.st_gid, Nobody);
    EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
    EXPECT_EQ(Attribute(path, "system.posix_acl_access"), aclBefore);
    EXPECT_EQ(Attribute(path, "user.origin"), "scan");
    if (trusted) {
        EXPECT_EQ(Attribute(path, "trusted.secret"), "(none)");
    }
}

TEST(FileReplacementTest, AnotherOwnersSetuidFileLosesSetuidAndGainsNoRights) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to switch to a second user";
    Scratch dir;
    const std::string folder = dir / "nobodys";
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    ASSERT_EQ(::chown(folder.c_str(), Nobody, Nobody), 0);
    ::chmod(dir.Root().c_str(), 0755);
    const std::string path = folder + "/tool";
    WriteFile(path, "root's", 0);
    ASSERT_EQ(::chmod(path.c_str(), 06775), 0);  // root:root, anyone in group root may write

    // Nobody may not write it: refused, not replaced.
    EXPECT_EQ(AsNobody([&] { return Replace(path, "nobody's"); }), EACCES);
    ASSERT_EQ(::chmod(path.c_str(), 06777), 0);
    EXPECT_EQ(AsNobody([&] { return Replace(path, "nobody's"); }), 0);

    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(ReadFile(path), "nobody's");
    EXPECT_EQ(after.st_uid, Nobody);
    EXPECT_EQ(after.st_mode & 07777, 0777u);  // no setuid, setgid of another owner
}

TEST(FileReplacementTest, AFileWithOtherHardLinksIsSplitAndSaysSo) {
    Scratch dir;
    WriteFile(dir / "h1.pdf", "old");
    ASSERT_EQ(::link((dir / "h1.pdf").c_str(), (dir / "h2.pdf").c_str()), 0);
    std::vector<std::string> notes;
    SetFileNoteHandler([&](const std::string& note) { notes.push_back(note); });
    EXPECT_EQ(Replace(dir / "h1.pdf", "new"), 0);
    EXPECT_EQ(Replace(dir / "h1.pdf", "newer"), 0);  // now a file of its own
    SetFileNoteHandler(nullptr);
    EXPECT_EQ(ReadFile(dir / "h1.pdf"), "newer");
    EXPECT_EQ(ReadFile(dir / "h2.pdf"), "old");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find(dir / "h1.pdf"), std::string::npos) << notes[0];
}

// ---- The runtime folder ----------------------------------------------------------------

// EnsureRuntimeFolder in a child with `temporary` as TMPDIR; its XDG_RUNTIME_DIR.
std::string RuntimeFolderIn(const std::string& temporary) {
    int pipe[2];
    if (::pipe(pipe) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("TMPDIR", temporary.c_str(), 1);
        EnsureRuntimeFolder();
        const char* chosen = std::getenv("XDG_RUNTIME_DIR");
        const std::string answer = chosen ? chosen : "";
        // exit, not _exit: the private folder goes at exit.
        std::exit(::write(pipe[1], answer.data(), answer.size()) >= 0 ? 0 : 1);
    }
    ::close(pipe[1]);
    std::string answer;
    char buffer[512];
    for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, got);
    ::close(pipe[0]);
    ::waitpid(child, nullptr, 0);
    return answer;
}

TEST(FileReplacementTest, TheRuntimeFolderIsNeverSomeoneElsesOrChanged) {
    Scratch dir;
    const std::string usual = dir / ("runtime-" + std::to_string(::geteuid()));
    // Created fresh: the usual name, private.
    EXPECT_EQ(RuntimeFolderIn(dir.Root()), usual);
    struct stat status {};
    ASSERT_EQ(::lstat(usual.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0700u);
    fs::remove(usual);

    // A link planted under the usual name, to a folder open to others.
    const std::string other = dir / "someone-elses";
    ASSERT_EQ(::mkdir(other.c_str(), 0755), 0);
    ::chmod(other.c_str(), 0755);
    ASSERT_EQ(::symlink(other.c_str(), usual.c_str()), 0);
    const std::string chosen = RuntimeFolderIn(dir.Root());
    EXPECT_NE(chosen, usual);
    EXPECT_TRUE(chosen.starts_with(usual + "-")) << chosen;
    ASSERT_EQ(::stat(other.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0755u);  // untouched
    EXPECT_FALSE(fs::exists(chosen)) << "the private folder outlives the program";
}

}  // namespace
}  // namespace soten::platform
