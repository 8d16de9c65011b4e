// Writing a PDF never destroys the file that was there: soten-cli's PDF and
// the print dialog's PDF file output go through a new file that is checked
// whole before it replaces the old one.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>

#include "analysis/reading/Reading.h"
#include "printing/device/PdfFile.h"
#include "printing/device/PrinterSession.h"
#include "printing/pages/PdfExport.h"
#include "tests/support/FixtureTables.h"
#include "tests/support/printing/PrintingTestSupport.h"

namespace soten {
namespace {

Reading YamadaTaro() {
    return test::ReadingOf("山田", "太郎", StrokeStyle::Shinji, BuiltInTables());
}

QByteArray Read(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void Write(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The names in a folder, as the system's bytes.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

const QByteArray& GoodPdf() {
    static const QByteArray bytes = [] {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("good.pdf")).toStdString();
        EXPECT_EQ(printing::WritePdfForCli(YamadaTaro(), path), "");
        return Read(path);
    }();
    return bytes;
}

// ---- What counts as a whole PDF ---------------------------------------------

struct Damage {
    const char* what;
    std::function<QByteArray(QByteArray)> apply;
    bool complete;
};

TEST(PdfFileTest, OnlyAWholePdfCountsAsComplete) {
    ASSERT_GT(GoodPdf().size(), 8192);
    for (const Damage& damage : {
             Damage{"as written", [](QByteArray b) { return b; }, true},
             Damage{"empty", [](QByteArray) { return QByteArray(); }, false},
             Damage{"cut after the first 4096 bytes", [](QByteArray b) { return b.left(4096); },
                    false},
             Damage{"last byte missing", [](QByteArray b) { return b.chopped(1); }, true},
             Damage{"end mark missing", [](QByteArray b) { return b.chopped(7); }, false},
             // A write lost in the middle, as when a full disk frees up again.
             Damage{"4096 bytes lost in the middle",
                    [](QByteArray b) { return b.remove(b.size() / 2, 4096); }, false},
             Damage{"a byte lost before the table",
                    [](QByteArray b) { return b.remove(b.lastIndexOf("\nxref") - 10, 1); }, false},
         }) {
        EXPECT_EQ(printing::IsCompletePdf(damage.apply(GoodPdf())), damage.complete) << damage.what;
    }
}

// ---- Failures leave the old file ----------------------------------------------

// The two ways a PDF is written: soten-cli's, and the print command with the
// dialog's PDF file output. Each returns the failure, empty on success.
struct Writer {
    const char* name;
    std::function<std::string(const std::string& path)> write;
};

std::vector<Writer> Writers() {
    return {
        {"soten-cli",
         [](const std::string& path) { return printing::WritePdfForCli(YamadaTaro(), path); }},
        {"print to file",
         [](const std::string& path) -> std::string {
             try {
                 test::PrintToPdfFile(YamadaTaro(), QString::fromStdString(path), BuiltInTables());
             } catch (const PrinterError& error) {
                 return error.what();
             }
             return {};
         }},
    };
}

// A tmpfs of 64 KiB mounted for the test, filled to the last block.
class FullDisk {
public:
    FullDisk() {
        if (::geteuid() != 0) return;
        mountPoint_ = folder_.path().toStdString();
        if (::mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0, "size=64k") != 0) return;
        mounted_ = true;
    }
    ~FullDisk() {
        if (mounted_) ::umount2(mountPoint_.c_str(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }
    std::string Path(const char* name) const { return mountPoint_ + "/" + name; }
    void Fill() const {
        QFile filler(QString::fromStdString(Path("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
    }

private:
    QTemporaryDir folder_;
    std::string mountPoint_;
    bool mounted_ = false;
};

TEST(PdfFileTest, AFullDiskKeepsTheOldFileAndIsReported) {
    for (const Writer& writer : Writers()) {
        FullDisk disk;
        if (!disk.Mounted()) GTEST_SKIP() << "needs root to mount a small tmpfs";
        const std::string path = disk.Path("山田太郎.pdf");
        const QByteArray old = "%PDF-1.4 the PDF written last time";
        Write(path, old);
        disk.Fill();

        const std::string failure = writer.write(path);

        EXPECT_NE(failure.find(path), std::string::npos) << writer.name << ": " << failure;
        EXPECT_EQ(Read(path), old) << writer.name;
        EXPECT_EQ(Entries(disk.Path("")), (std::vector<std::string>{"filler", "山田太郎.pdf"}))
            << writer.name;
    }
}

TEST(PdfFileTest, APathThatIsNotARegularFileIsRefusedAndLeftAsItWas) {
    QTemporaryDir dir;
    const std::string fifo = dir.filePath(QStringLiteral("pipe.pdf")).toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/full"), dir.path().toStdString()}) {
        for (const Writer& writer : Writers()) {
            struct stat before {};
            ASSERT_EQ(::stat(path.c_str(), &before), 0);
            EXPECT_NE(writer.write(path), "") << writer.name << " " << path;
            struct stat after {};
            ASSERT_EQ(::stat(path.c_str(), &after), 0);
            EXPECT_EQ(after.st_mode, before.st_mode) << writer.name << " " << path;
            EXPECT_EQ(after.st_rdev, before.st_rdev) << writer.name << " " << path;
        }
    }
    EXPECT_EQ(Entries(dir.path().toStdString()), std::vector<std::string>{"pipe.pdf"});
}

// ---- Names and links ---------------------------------------------------------------

// soten-cli takes the name as the shell gave it; the print dialog's names are
// text and always valid.
TEST(PdfFileTest, ANameThatIsNotUtf8IsWrittenByteForByte) {
    QTemporaryDir dir;
    const std::string name = "\x8E\x52\x93\x63.pdf";  // 山田 in code page 932
    const std::string path = dir.path().toStdString() + "/" + name;
    EXPECT_EQ(printing::WritePdfForCli(YamadaTaro(), path), "");
    EXPECT_EQ(Entries(dir.path().toStdString()), std::vector<std::string>{name});
    QFile file;
    const int descriptor = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(descriptor, 0);
    ASSERT_TRUE(file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
    EXPECT_TRUE(printing::IsCompletePdf(file.readAll()));
    ::unlink(path.c_str());  // Qt cannot name it to clean up
}

TEST(PdfFileTest, ASymbolicLinkKeepsPointingAtItsFileWithTheNewPdfInIt) {
    QTemporaryDir dir;
    const std::string target = dir.filePath(QStringLiteral("target.pdf")).toStdString();
    const std::string link = dir.filePath(QStringLiteral("link.pdf")).toStdString();
    Write(target, "old");
    ::chmod(target.c_str(), 0640);
    ASSERT_EQ(::symlink("target.pdf", link.c_str()), 0);

    EXPECT_EQ(printing::WritePdfForCli(YamadaTaro(), link), "");

    struct stat status {};
    ASSERT_EQ(::lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_TRUE(printing::IsCompletePdf(Read(target)));
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);  // the old file's permissions stay
}

// ---- Writers at the same time --------------------------------------------------------

// Four soten-cli processes print to the same file at once, three times over.
TEST(PdfFileTest, WritersAtTheSameTimeEachLeaveAWholeFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shared.pdf"));
    for (int round = 0; round < 3; ++round) {
        std::vector<std::unique_ptr<QProcess>> writers;
        for (int i = 0; i < 4; ++i) {
            auto& child = writers.emplace_back(std::make_unique<QProcess>());
            child->start(
                QStringLiteral(SOTEN_BINARY_DIR "/cli/soten-cli"),
                {QStringLiteral("山田"), QStringLiteral("太郎"), QStringLiteral("--pdf"), path});
        }
        for (auto& child : writers) {
            ASSERT_TRUE(child->waitForFinished(60000));
            EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardError().toStdString();
        }
        EXPECT_TRUE(printing::IsCompletePdf(Read(path.toStdString()))) << "round " << round;
        EXPECT_EQ(Entries(dir.path().toStdString()), std::vector<std::string>{"shared.pdf"});
    }
}

// ---- Quiet failure ---------------------------------------------------------------------

QStringList* capturedMessages = nullptr;

void Capture(QtMsgType, const QMessageLogContext&, const QString& text) {
    if (capturedMessages) capturedMessages->push_back(text);
}

TEST(PdfFileTest, AFailedPrintSaysNothingOnStandardError) {
    QStringList messages;
    capturedMessages = &messages;
    const QtMessageHandler previous = qInstallMessageHandler(&Capture);
    for (const Writer& writer : Writers()) {
        EXPECT_NE(writer.write("/nonexistent-folder/a.pdf"), "") << writer.name;
    }
    qInstallMessageHandler(previous);
    capturedMessages = nullptr;
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

}  // namespace
}  // namespace soten
