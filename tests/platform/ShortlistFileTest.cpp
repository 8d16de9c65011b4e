// The shortlist's file as the program may meet it: fresh, damaged, half
// written when the program was killed, or in a folder another user planted.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "analysis/text/ShiftJis.h"
#include "platform/files/FileErrors.h"
#include "platform/files/ShortlistFile.h"
#include "platform/files/UserDataFile.h"

namespace soten::platform {
namespace {

namespace fs = std::filesystem;

constexpr uid_t Nobody = 65534;

// Sets an environment variable (or unsets it, for nullptr) until destroyed.
class Environment {
public:
    Environment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~Environment() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A scratch folder under /tmp (or `in`), removed with all it holds, as
// XDG_DATA_HOME (or a folder below it, not made yet).
class DataHome {
public:
    explicit DataHome(const std::string& below = "",
                      const fs::path& in = fs::temp_directory_path()) {
        std::string pattern = (in / "soten-data-XXXXXX").string();
        if (::mkdtemp(pattern.data())) root_ = pattern;
        home_ = below.empty() ? root_ : root_ + "/" + below;
        xdg_.emplace("XDG_DATA_HOME", home_.c_str());
    }
    ~DataHome() {
        std::error_code ignored;
        if (!root_.empty()) fs::remove_all(root_, ignored);
    }
    const std::string& Root() const { return root_; }
    std::string Soten() const { return home_ + "/soten"; }
    std::string File() const { return home_ + "/soten/shortlist.json"; }

private:
    std::string root_;
    std::string home_;
    std::optional<Environment> xdg_;
};

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

Shortlist Names(int count, std::size_t noteSize = 0) {
    Shortlist list;
    for (int i = 0; i < count; ++i) {
        std::string given = Cp932Text("太郎");
        given += std::to_string(i);
        ShortlistEntry entry{Cp932Text("山田"), given, Cp932Text("たろう"),
                             i % 2 ? StrokeStyle::Honji : StrokeStyle::Shinji,
                             Cp932Text("「候補」\n\"一\"") + std::string(noteSize, 'a')};
        list.Add(std::move(entry));
    }
    return list;
}

void ExpectSameList(const Shortlist& read, const Shortlist& written) {
    ASSERT_EQ(read.Size(), written.Size());
    for (std::size_t i = 0; i < read.Size(); ++i) {
        EXPECT_TRUE(read.Entries()[i].SameName(written.Entries()[i])) << i;
        EXPECT_EQ(read.Entries()[i].note, written.Entries()[i].note) << i;
    }
}

TEST(ShortlistFileTest, TheFolderFollowsTheXdgRulesAndTrustsOnlyAbsolutePaths) {
    const struct passwd* user = ::getpwuid(::geteuid());
    ASSERT_NE(user, nullptr);
    const std::string own = std::string(user->pw_dir) + "/.local/share/soten";
    struct Case {
        const char* xdg;
        const char* home;
        std::string folder;
    };
    for (const Case& c : {
             Case{"/data/x/", "/h", "/data/x/soten"},
             Case{"data/x", "/h/", "/h/.local/share/soten"},
             Case{nullptr, "/h", "/h/.local/share/soten"},
             Case{"", "h", own},
             Case{nullptr, nullptr, own},
         }) {
        Environment xdg("XDG_DATA_HOME", c.xdg);
        Environment home("HOME", c.home);
        const UserDataFile file("shortlist.json");
        EXPECT_EQ(file.Folder(), c.folder) << (c.xdg ? c.xdg : "-") << (c.home ? c.home : "-");
        EXPECT_EQ(file.Path(), c.folder + "/shortlist.json");
    }
}

TEST(ShortlistFileTest, TheListReadsBackFromPrivateFoldersAndFile) {
    const DataHome home("made/share");
    const mode_t umask = ::umask(0);
    ShortlistFile file;
    const Shortlist list = Names(3);
    EXPECT_EQ(file.Save(Shortlist{}), 0);
    EXPECT_EQ(file.Save(list), 0);  // replaces the file made just before
    ::umask(umask);
    for (const std::string& folder :
         {home.Root() + "/made", home.Root() + "/made/share", home.Soten()}) {
        EXPECT_EQ(ModeOf(folder), 0700u) << folder;
    }
    EXPECT_EQ(ModeOf(home.File()), 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(home.Soten()), {}), 1);
    const LoadedShortlist loaded = ShortlistFile().Load();
    EXPECT_EQ(loaded.problem, "");
    ExpectSameList(loaded.list, list);
}

using Where = const std::string&;

struct Damage {
    const char* what;
    // Puts the damaged file at `path`; `elsewhere` is a folder outside.
    std::function<void(Where path, Where elsewhere)> plant;
    const char* reason;
    bool needsRoot = false;
};

TEST(ShortlistFileTest, ADamagedFileIsMovedAsideWholeAndNeverOverAnEarlierOne) {
    const std::string goodList = "{\"version\": 1, \"entries\": []}";
    for (const Damage& damage : {
             Damage{"not a list", [](Where path, Where) { WriteFile(path, "[]"); },
                    "候補リストの形ではありません"},
             Damage{"another version",
                    [](Where path, Where) { WriteFile(path, "{\"version\": 2, \"entries\": []}"); },
                    "この版の候補リストではありません（version が 1 ではありません）"},
             Damage{"a FIFO", [](Where path, Where) { ::mkfifo(path.c_str(), 0600); },
                    "通常のファイルではありません"},
             Damage{"nested 200,000 deep",
                    [](Where path, Where) { WriteFile(path, std::string(200000, '[')); },
                    "JSON の入れ子が 32 段を超えています"},
             Damage{"over 4 MiB",
                    [&](Where path, Where) {
                        WriteFile(path, goodList + std::string(ShortlistFile::MaxBytes, ' '));
                    },
                    "ファイルが大きすぎます"},
             Damage{"another user's file",
                    [&](Where path, Where) {
                        WriteFile(path, goodList);
                        EXPECT_EQ(::chown(path.c_str(), Nobody, Nobody), 0);
                    },
                    "他のユーザーのファイルです", true},
         }) {
        if (damage.needsRoot && ::geteuid() != 0) {
            GTEST_SKIP() << "needs root to give the file to another user: " << damage.what;
        }
        const DataHome home;
        const std::string path = home.File();
        ASSERT_EQ(::mkdir(home.Soten().c_str(), 0700), 0);
        damage.plant(path, home.Root());
        struct stat planted {};
        ASSERT_EQ(::lstat(path.c_str(), &planted), 0) << damage.what;

        LoadedShortlist loaded = ShortlistFile().Load();
        std::string expected = "候補リストのファイル ";
        expected += path;
        expected += " が読めないため、";
        expected += path;
        expected += ".bak に移して空のリストで始めます。（";
        expected += damage.reason;
        expected += "）";
        EXPECT_EQ(loaded.problem, expected) << damage.what;
        EXPECT_TRUE(loaded.list.Empty()) << damage.what;
        EXPECT_EQ(loaded.movedTo, path + ".bak") << damage.what;
        // The very file, moved: a link still names what it did.
        struct stat aside {};
        ASSERT_EQ(::lstat((path + ".bak").c_str(), &aside), 0) << damage.what;
        EXPECT_EQ(aside.st_ino, planted.st_ino) << damage.what;
        EXPECT_EQ(aside.st_size, planted.st_size) << damage.what;

        WriteFile(path, "second");
        loaded = ShortlistFile().Load();
        EXPECT_EQ(loaded.movedTo, path + ".bak.1") << damage.what;
        EXPECT_EQ(ReadFile(path + ".bak.1"), "second") << damage.what;
        ASSERT_EQ(::lstat((path + ".bak").c_str(), &aside), 0) << damage.what;
        EXPECT_EQ(aside.st_ino, planted.st_ino) << damage.what;
    }
}

TEST(ShortlistFileTest, AListLargerThanTheLoaderTakesIsNotWritten) {
    const DataHome home;
    ASSERT_EQ(ShortlistFile().Save(Names(3)), 0);
    const std::string before = ReadFile(home.File());
    Shortlist big = Names(270, 16000);
    ASSERT_GT(ShortlistToJson(big).size(), ShortlistFile::MaxBytes);
    EXPECT_EQ(ShortlistFile().Save(big), EFBIG);
    EXPECT_TRUE(ReadFile(home.File()) == before) << "the old file changed";
    EXPECT_EQ(std::distance(fs::directory_iterator(home.Soten()), {}), 1);
}

// The largest file in `folder`, in bytes.
off_t LargestFileIn(const std::string& folder) {
    off_t largest = 0;
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) return 0;
    while (const dirent* entry = ::readdir(listing)) {
        struct stat status {};
        if (::fstatat(::dirfd(listing), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode)) {
            largest = std::max(largest, status.st_size);
        }
    }
    ::closedir(listing);
    return largest;
}

TEST(ShortlistFileTest, AKillWhileSavingLeavesTheOldListWhole) {
    const DataHome home;
    const Shortlist old = Names(3);
    ASSERT_EQ(ShortlistFile().Save(old), 0);
    const std::string before = ReadFile(home.File());
    // Nearly the most a list may hold, killed when the first megabyte is
    // written, wherever it goes: the rest and the flush to the disk leave
    // time to spare.
    const Shortlist big = Names(255, 16000);
    ASSERT_LE(ShortlistToJson(big).size(), ShortlistFile::MaxBytes);
    const pid_t child = ::fork();
    if (child == 0) ::_exit(ShortlistFile().Save(big) == 0 ? 0 : 1);
    bool writing = false;
    int status = 0;
    for (int waited = 0; waited < 20000 && !writing; ++waited) {
        writing = LargestFileIn(home.Soten()) >= (1 << 20);
        if (!writing && ::waitpid(child, &status, WNOHANG) == child) break;
        if (!writing) ::usleep(1000);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(writing) << "the new list was never written";
    ASSERT_TRUE(WIFSIGNALED(status)) << "the save ended before the kill";

    EXPECT_TRUE(ReadFile(home.File()) == before) << "the old file changed";
    const LoadedShortlist loaded = ShortlistFile().Load();
    EXPECT_EQ(loaded.problem, "");
    ExpectSameList(loaded.list, old);
}

struct Planted {
    const char* what;
    // Plants what is refused; the folder whose content must stay as it was.
    std::function<std::string(const DataHome&)> plant;
    int error;
    bool seenOnLoad = true;  // else there is nothing to load yet
    bool needsRoot = false;
};

TEST(ShortlistFileTest, AFolderThatIsALinkOrNotTheUsersOwnIsRefused) {
    for (const Planted& planted : {
             Planted{"a link to a folder of the user's own",
                     [](const DataHome& home) {
                         const std::string target = home.Root() + "/elsewhere";
                         fs::create_directory(target);
                         ::chmod(target.c_str(), 0700);
                         fs::create_directory_symlink(target, home.Soten());
                         return target;
                     },
                     NotAFolder},
             Planted{"a folder others may write",
                     [](const DataHome& home) {
                         fs::create_directory(home.Soten());
                         ::chmod(home.Soten().c_str(), 0777);
                         return home.Soten();
                     },
                     UntrustedFolder},
             Planted{"another user's folder",
                     [](const DataHome& home) {
                         fs::create_directory(home.Soten());
                         ::chmod(home.Soten().c_str(), 0700);
                         EXPECT_EQ(::chown(home.Soten().c_str(), Nobody, Nobody), 0);
                         return home.Soten();
                     },
                     UntrustedFolder, true, true},
             Planted{"a data home to be made in another user's folder",
                     [](const DataHome& home) {
                         // XDG_DATA_HOME is <root>/nobodys/share.
                         const std::string theirs = home.Root() + "/nobodys";
                         fs::create_directory(theirs);
                         ::chmod(theirs.c_str(), 0777);
                         EXPECT_EQ(::chown(theirs.c_str(), Nobody, Nobody), 0);
                         return theirs;
                     },
                     UntrustedFolder, false, true},
         }) {
        if (planted.needsRoot && ::geteuid() != 0) {
            GTEST_SKIP() << "needs root to give a folder to another user: " << planted.what;
        }
        const DataHome home(planted.seenOnLoad ? "" : "nobodys/share");
        const std::string kept = planted.plant(home);
        EXPECT_EQ(ShortlistFile().Save(Names(1)), planted.error) << planted.what;
        const LoadedShortlist loaded = ShortlistFile().Load();
        std::string expected;
        if (planted.seenOnLoad) {
            expected = "候補リストのフォルダ ";
            expected += home.Soten();
            expected += " が使えないため、空のリストで始めます。（";
            expected += FileErrorReason(planted.error);
            expected += "）";
        }
        EXPECT_EQ(loaded.problem, expected) << planted.what;
        EXPECT_EQ(loaded.movedTo, "") << planted.what;
        EXPECT_TRUE(fs::is_empty(kept)) << planted.what;
    }
}

// What makes a good list unreadable for a while, and what mends it.
struct Unreadable {
    const char* what;
    std::function<void(const DataHome&)> spoil;
    std::function<void(const DataHome&)> mend;
    int error;
    bool folder = false;  // else the file is what cannot be read
    bool rootReads = false;
};

TEST(ShortlistFileTest, AListThatCannotBeReadIsLeftAloneAndNotWrittenOverUntilItIsRead) {
    const std::string elsewhere = "/kept.json";
    for (const Unreadable& unreadable : {
             Unreadable{"a folder others may write",
                        [](const DataHome& home) { ::chmod(home.Soten().c_str(), 0770); },
                        [](const DataHome& home) { ::chmod(home.Soten().c_str(), 0700); },
                        UntrustedFolder, true},
             Unreadable{
                 "the user's own link to the list",
                 [&](const DataHome& home) {
                     fs::rename(home.File(), home.Root() + elsewhere);
                     fs::create_symlink(home.Root() + elsewhere, home.File());
                 },
                 [&](const DataHome& home) { fs::rename(home.Root() + elsewhere, home.File()); },
                 NotARegularFile},
             Unreadable{"a file with no right to read it",
                        [](const DataHome& home) { ::chmod(home.File().c_str(), 0); },
                        [](const DataHome& home) { ::chmod(home.File().c_str(), 0600); }, EACCES,
                        false, true},
         }) {
        if (unreadable.rootReads && ::geteuid() == 0) {
            // The other cases still stand; skipping the test would hide them.
            std::cout << "not tried as root, who reads any file: " << unreadable.what << "\n";
            continue;
        }
        const DataHome home;
        const Shortlist old = Names(5);
        ASSERT_EQ(ShortlistFile().Save(old), 0);
        unreadable.spoil(home);
        struct stat spoilt {};
        ASSERT_EQ(::lstat(home.File().c_str(), &spoilt), 0);

        ShortlistFile file;
        const LoadedShortlist loaded = file.Load();
        EXPECT_EQ(loaded.unread, unreadable.error) << unreadable.what;
        EXPECT_TRUE(loaded.list.Empty()) << unreadable.what;
        EXPECT_EQ(loaded.movedTo, "") << unreadable.what;
        if (!unreadable.folder) {
            EXPECT_EQ(loaded.problem, "候補リストのファイル " + home.File() +
                                          " が読めないため、空のリストで始めます。"
                                          "読めるようになるまで、このファイルは上書きしません。（" +
                                          FileErrorReason(unreadable.error) + "）")
                << unreadable.what;
        }
        EXPECT_EQ(file.Change({AddName{Names(6).Entries()[5]}}).error, unreadable.error)
            << unreadable.what;
        struct stat after {};
        ASSERT_EQ(::lstat(home.File().c_str(), &after), 0) << unreadable.what;
        EXPECT_EQ(after.st_ino, spoilt.st_ino) << unreadable.what;
        EXPECT_FALSE(fs::exists(fs::symlink_status(home.File() + ".bak"))) << unreadable.what;

        // Mended while the program runs: what was never read is still not
        // written over, and the next change is made on what is there.
        unreadable.mend(home);
        EXPECT_EQ(file.Save(Names(1)), unreadable.error) << unreadable.what;
        const ChangedShortlist changed = file.Change({AddName{Names(6).Entries()[5]}});
        EXPECT_EQ(changed.error, 0) << unreadable.what;
        ExpectSameList(changed.loaded.list, Names(6));
        ExpectSameList(ShortlistFile().Load().list, Names(6));
    }
}

// Names no other writer uses, each with a note of its own.
Shortlist OwnNames(const std::string& writer, int count) {
    Shortlist list;
    for (int i = 0; i < count; ++i) {
        const std::string given = writer + std::to_string(i);
        list.Add({Cp932Text("山田"), given, {}, StrokeStyle::Shinji, given});
    }
    return list;
}

// Adds each name and notes every fourth, one change at a time; true when
// every change was saved.
bool AddAndNote(const Shortlist& names) {
    ShortlistFile file;
    for (std::size_t i = 0; i < names.Size(); ++i) {
        ShortlistEntry plain = names.Entries()[i];
        plain.note.clear();
        if (file.Change({AddName{plain}}).error != 0) return false;
        if (i % 4 == 0 && file.Change({NoteName{plain, names.Entries()[i].note}}).error != 0) {
            return false;
        }
    }
    return true;
}

TEST(ShortlistFileTest, TwoProgramsChangingTheListAtOnceLoseNothing) {
    // In memory where there is a place for it, so that the flushes to the
    // disk do not set the pace.
    const fs::path memory = "/dev/shm";
    const DataHome home("", fs::is_directory(memory) ? memory : fs::temp_directory_path());
    constexpr int PerWriter = 200;
    const Shortlist theirs = OwnNames("child", PerWriter);
    const Shortlist ours = OwnNames("parent", PerWriter);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(AddAndNote(theirs) ? 0 : 1);
    EXPECT_TRUE(AddAndNote(ours));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const Shortlist kept = ShortlistFile().Load().list;
    EXPECT_EQ(kept.Size(), 2u * PerWriter);
    for (const Shortlist* names : {&theirs, &ours}) {
        for (std::size_t i = 0; i < names->Size(); ++i) {
            const ShortlistEntry& entry = names->Entries()[i];
            const auto index = kept.Find(entry);
            ASSERT_TRUE(index) << entry.given;
            EXPECT_EQ(kept.Entries()[*index].note, i % 4 == 0 ? entry.note : "") << entry.given;
        }
    }
}

}  // namespace
}  // namespace soten::platform
