// Writing the report file: the bytes exactly, and a failed write that leaves
// the old file as it was.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>

#include "ReportFile.h"

namespace {

using soten::ui::EFCreateError;
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
    } catch (const EFCreateError& error) {
        const QString message = QString::fromUtf8(error.what());
        EXPECT_TRUE(message.startsWith(QStringLiteral("ファイル \"") +
                                       QFileInfo(path).absoluteFilePath() + QStringLiteral("\". ")))
            << error.what();
        EXPECT_TRUE(message.endsWith(QStringLiteral(" を作成できません"))) << error.what();
        EXPECT_GT(message.size(), path.size() + 16);  // the system's reason is in it
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
        EXPECT_THROW(WriteReportFile(path, report), EFCreateError);
    }
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no temporary file left
}

}  // namespace
