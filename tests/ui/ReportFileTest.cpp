// Writing the report file: the bytes exactly, and a failed write that leaves
// the old file as it was.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <functional>
#include <iostream>

#include "ui/reading/ReportFile.h"

namespace {

using soten::ui::FileErrorReason;
using soten::ui::FileWriteError;
using soten::ui::WriteReportFile;

QByteArray Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(ReportFileTest, WritesTheBytesUnchangedAndReplacesAnOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report"));
    WriteFile(path, "an older and longer report that must go entirely");
    const std::string bytes = "\x8E\x52\x93\x63\r\n\r\n\x82\xA0";  // 山田, CR LF, あ
    WriteReportFile(path, bytes);
    EXPECT_EQ(Read(path), QByteArray::fromStdString(bytes));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("report")});
}

TEST(ReportFileTest, AFolderThatDoesNotExistGivesTheCreateErrorWithTheFullPath) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/report.txt"));
    try {
        WriteReportFile(path, "text");
        FAIL() << "no error";
    } catch (const FileWriteError& error) {
        const QString message = QString::fromUtf8(error.what());
        EXPECT_TRUE(message.startsWith(QStringLiteral("ファイル \"") +
                                       QFileInfo(path).absoluteFilePath() +
                                       QStringLiteral("\" を作成できません。")))
            << error.what();
        EXPECT_GT(message.size(), path.size() + 16);  // the reason is in it
    }
}

// A disk that fills up half way: the file size limit makes the write fail
// after the file was created, as a full disk does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(ReportFileTest, AWriteThatFailsLeavesTheOldFileIntact) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("山田太郎.txt"));
    const QByteArray old = "the report saved last time";
    WriteFile(path, old);
    const std::string report(4096, 'x');
    {
        FileSizeLimit limit(64);
        EXPECT_THROW(WriteReportFile(path, report), FileWriteError);
    }
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no temporary file left
}

// A tmpfs of 64 KiB mounted for a test (as root; Mounted() tells).
class ScratchDisk {
public:
    explicit ScratchDisk(unsigned long flags) {
        mountPoint_ = folder_.path();
        mounted_ = ::geteuid() == 0 && ::mount("tmpfs", QFile::encodeName(mountPoint_), "tmpfs",
                                               flags, "size=64k") == 0;
    }
    ~ScratchDisk() {
        if (mounted_) ::umount2(QFile::encodeName(mountPoint_), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }
    QString Path(const QString& name) const { return mountPoint_ + u'/' + name; }

private:
    QTemporaryDir folder_;
    QString mountPoint_;
    bool mounted_ = false;
};

// The reason of the create error `save` throws, or what went wrong instead.
QString ReasonOf(const std::function<void()>& save, const QString& path) {
    try {
        save();
    } catch (const FileWriteError& error) {
        const QString message = QString::fromUtf8(error.what());
        const QString head = QStringLiteral("ファイル \"") + QFileInfo(path).absoluteFilePath() +
                             QStringLiteral("\" を作成できません。");
        if (!message.startsWith(head)) return message;
        return message.mid(head.size());
    }
    return QStringLiteral("saved");
}

// The same, as a user without the rights of root: root may write anywhere.
QString ReasonAsAnOrdinaryUser(const QString& path) {
    int pipe[2];
    if (::pipe(pipe) != 0) return QStringLiteral("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(1);
        const QByteArray reason = ReasonOf([&] { WriteReportFile(path, "text"); }, path).toUtf8();
        const ssize_t written = ::write(pipe[1], reason.data(), static_cast<size_t>(reason.size()));
        ::_exit(written == reason.size() ? 0 : 1);
    }
    ::close(pipe[1]);
    QByteArray reason;
    char buffer[256];
    for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
        reason.append(buffer, got);
    ::close(pipe[0]);
    ::waitpid(child, nullptr, 0);
    return QString::fromUtf8(reason);
}

struct Cause {
    const char* what;
    std::function<QString(const QTemporaryDir& dir)> reason;  // empty: cannot be set up here
    const char* expected;
};

TEST(ReportFileTest, TheReasonIsJapaneseForTheCommonCauses) {
    for (const Cause& cause : {
             Cause{"no such folder",
                   [](const QTemporaryDir& dir) {
                       const QString path = dir.filePath(QStringLiteral("missing/r.txt"));
                       return ReasonOf([&] { WriteReportFile(path, "text"); }, path);
                   },
                   "フォルダが見つかりません"},
             Cause{"permission denied",
                   [](const QTemporaryDir& dir) {
                       const QString folder = dir.filePath(QStringLiteral("locked"));
                       QDir().mkdir(folder);
                       ::chmod(QFile::encodeName(folder), 0555);
                       return ReasonAsAnOrdinaryUser(folder + QStringLiteral("/r.txt"));
                   },
                   "アクセスが拒否されました"},
             Cause{"disk full",
                   [](const QTemporaryDir&) {
                       ScratchDisk disk(0);
                       if (!disk.Mounted()) return QString();
                       const QString path = disk.Path(QStringLiteral("r.txt"));
                       return ReasonOf([&] { WriteReportFile(path, std::string(128 * 1024, 'x')); },
                                       path);
                   },
                   "ディスクに空きがありません"},
             Cause{"read-only file system",
                   [](const QTemporaryDir&) {
                       ScratchDisk disk(MS_RDONLY);
                       if (!disk.Mounted()) return QString();
                       const QString path = disk.Path(QStringLiteral("r.txt"));
                       return ReasonOf([&] { WriteReportFile(path, "text"); }, path);
                   },
                   "読み取り専用のファイルシステムです"},
         }) {
        QTemporaryDir dir;
        const QString reason = cause.reason(dir);
        if (reason.isEmpty()) {
            std::cout << "[ SKIPPED  ] " << cause.what << ": needs root to mount a tmpfs\n";
            continue;
        }
        EXPECT_EQ(reason, QString::fromUtf8(cause.expected)) << cause.what;
    }
    // Any other cause in words of our own too, never the system's English.
    EXPECT_EQ(FileErrorReason(EIO), QStringLiteral("入出力エラーが起きました"));
}

TEST(ReportFileTest, APathThatIsNotARegularFileIsRefusedAndLeftAsItWas) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    for (const QString& path : {fifo, QStringLiteral("/dev/full"), dir.path()}) {
        struct stat before {};
        ASSERT_EQ(::stat(QFile::encodeName(path), &before), 0);
        EXPECT_EQ(ReasonOf([&] { WriteReportFile(path, "text"); }, path),
                  QStringLiteral("通常のファイルではありません"))
            << path.toStdString();
        struct stat after {};
        ASSERT_EQ(::stat(QFile::encodeName(path), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode) << path.toStdString();
        EXPECT_EQ(after.st_rdev, before.st_rdev) << path.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("pipe")});
}

TEST(ReportFileTest, ASymbolicLinkKeepsPointingAtItsFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.txt"));
    const QString link = dir.filePath(QStringLiteral("link.txt"));
    WriteFile(target, "old");
    ASSERT_TRUE(QFile::link(QStringLiteral("target.txt"), link));
    WriteReportFile(link, "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Read(target), "new");
}

// Save As into a shared sticky folder where another user planted a link to
// a file only root may read: the link is not followed, whatever the
// machine's fs.protected_symlinks.
TEST(ReportFileTest, ALinkAnotherUserPlantedInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a link to another user";
    QTemporaryDir dir;
    const QString shared = dir.filePath(QStringLiteral("st"));
    ASSERT_TRUE(QDir().mkdir(shared));
    ASSERT_EQ(::chmod(QFile::encodeName(shared), 01777), 0);
    const QString secret = dir.filePath(QStringLiteral("secret.conf"));
    WriteFile(secret, "root only");
    const QString link = shared + QStringLiteral("/山田太郎.txt");
    ASSERT_TRUE(QFile::link(secret, link));
    ASSERT_EQ(::lchown(QFile::encodeName(link), 65534, 65534), 0);

    EXPECT_EQ(ReasonOf([&] { WriteReportFile(link, "report"); }, link),
              QStringLiteral("他のユーザーのシンボリックリンクはたどれません"));
    EXPECT_EQ(Read(secret), "root only");
    EXPECT_EQ(QDir(shared).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                     QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("山田太郎.txt")});
}

}  // namespace
