// Replacing a file as a hostile local user would attack it: links and files
// planted in shared folders, link loops, the owner and rights of the file
// replaced, hard links, and the runtime folder in the shared /tmp.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <grp.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/files/FileErrors.h"
#include "platform/files/FileReplacement.h"
#include "platform/files/RuntimeFolder.h"

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

// ---- Shared sticky folders --------------------------------------------------------

struct Planted {
    const char* what;
    // Sets up `st/report.pdf` (or deeper) in the shared folder; the path to write.
    std::function<std::string(const Scratch&)> plant;
    int expected;
};

TEST(FileReplacementTest, SharedFoldersFollowOnlyTrustedLinksAndReplaceOnlyTrustedFiles) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give links and files to another user";
    Scratch dir;
    const std::string shared = dir / "st";
    ASSERT_EQ(::mkdir(shared.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(::mkdir((dir / "victim").c_str(), 0755), 0);
    const std::string secret = dir / "victim/secret.conf";
    const auto link = [](const std::string& target, const std::string& at, uid_t owner) {
        EXPECT_EQ(::symlink(target.c_str(), at.c_str()), 0);
        EXPECT_EQ(::lchown(at.c_str(), owner, owner), 0);
    };
    for (const Planted& planted : {
             Planted{"another user's link",
                     [&](const Scratch&) {
                         link(secret, shared + "/report.pdf", Nobody);
                         return shared + "/report.pdf";
                     },
                     UntrustedLink},
             Planted{"another user's link to a folder, as a step of the path",
                     [&](const Scratch& d) {
                         link(d / "victim", shared + "/sub", Nobody);
                         return shared + "/sub/secret.conf";
                     },
                     UntrustedLink},
             Planted{"another user's link reached through a link of the user's own",
                     [&](const Scratch& d) {
                         link(secret, shared + "/report.pdf", Nobody);
                         link(shared + "/report.pdf", d / "mine.pdf", 0);
                         return d / "mine.pdf";
                     },
                     UntrustedLink},
             Planted{"another user's file",
                     [&](const Scratch&) {
                         WriteFile(shared + "/report.pdf", "planted");
                         EXPECT_EQ(::chown((shared + "/report.pdf").c_str(), Nobody, Nobody), 0);
                         return shared + "/report.pdf";
                     },
                     UntrustedFile},
             Planted{"the user's own link",
                     [&](const Scratch&) {
                         link(secret, shared + "/report.pdf", 0);
                         return shared + "/report.pdf";
                     },
                     0},
         }) {
        WriteFile(secret, "root only", 0600);
        const std::string path = planted.plant(dir);
        EXPECT_EQ(Replace(path, "%PDF-"), planted.expected) << planted.what;
        EXPECT_EQ(ReadFile(secret), planted.expected == 0 ? "%PDF-" : "root only") << planted.what;
        EXPECT_FALSE(HasTemporaryFile(shared)) << planted.what;
        for (const auto& entry : fs::directory_iterator(shared)) fs::remove(entry.path());
        fs::remove(dir / "mine.pdf");
    }
    // A link of the folder's owner is as good as the user's own.
    const std::string owned = dir / "owned";
    ASSERT_EQ(::mkdir(owned.c_str(), 01777), 0);
    ASSERT_EQ(::chmod(owned.c_str(), 01777), 0);
    ASSERT_EQ(::chown(owned.c_str(), Nobody, Nobody), 0);
    link(secret, owned + "/report.pdf", Nobody);
    EXPECT_EQ(Replace(owned + "/report.pdf", "by the owner's link"), 0);
    EXPECT_EQ(ReadFile(secret), "by the owner's link");
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
