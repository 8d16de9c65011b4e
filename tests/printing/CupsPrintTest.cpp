// A real print: the reading goes through the program's one PrinterSession and
// Qt's CUPS engine to the cups-pdf queue "soten-pdf", and the page is found
// in cups-pdf's output. scripts/start-cups.sh (as root) starts the scheduler
// and sets the queue up. Without them these tests are skipped, unless
// SOTEN_REQUIRE_CUPS=1 (as in CI) makes that a failure.
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QSet>
#include <QThread>
#include <optional>

#include "printing/pages/PrintedReading.h"
#include "tests/support/FixtureTables.h"
#include "tests/support/printing/PrintingTestSupport.h"

namespace soten {
namespace {

const QString Queue = QStringLiteral("soten-pdf");
const QString VanishingQueue = QStringLiteral("soten-vanish");
const QString CupsPdfPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd");

std::optional<std::string> WhyNoCups() {
    if (!QPrinterInfo::availablePrinterNames().contains(Queue)) {
        return "CUPS has no queue \"soten-pdf\" (the scheduler is not running or the queue was "
               "never made): run scripts/start-cups.sh as root first";
    }
    return std::nullopt;
}

#define SKIP_OR_FAIL_WITHOUT_CUPS()                                                  \
    do {                                                                             \
        if (const auto why = WhyNoCups()) {                                          \
            if (qEnvironmentVariable("SOTEN_REQUIRE_CUPS") == QStringLiteral("1")) { \
                FAIL() << *why;                                                      \
            }                                                                        \
            GTEST_SKIP() << *why;                                                    \
        }                                                                            \
    } while (false)

// Where cups-pdf writes the files of our jobs: the "Out" line of its
// configuration, with the job's user (ours) filled in.
QString CupsPdfFolder() {
    QString out = QStringLiteral("${HOME}/PDF");  // cups-pdf's own default on Debian
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly | QIODevice::Text)) {
        while (!conf.atEnd()) {
            const QString line = QString::fromUtf8(conf.readLine()).trimmed();
            if (line.startsWith(QStringLiteral("Out "))) out = line.mid(4).trimmed();
        }
    }
    const passwd* user = getpwuid(geteuid());
    if (user) {
        out.replace(QStringLiteral("${USER}"), QString::fromLocal8Bit(user->pw_name));
        out.replace(QStringLiteral("${HOME}"), QString::fromLocal8Bit(user->pw_dir));
    }
    return out;
}

QSet<QString> PdfFilesIn(const QString& folder) {
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

const QString Heading = QStringLiteral("蒼 天 姓 名 判 断");

// Waits for a new file in the folder whose text holds the heading and
// `nameCharacter`. The tests print different names, so that each finds its
// own page when they run side by side.
std::optional<QString> WaitForPage(const QString& folder, const QSet<QString>& before,
                                   const QString& nameCharacter) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60000) {
        for (const QString& name : PdfFilesIn(folder) - before) {
            const QString path = QDir(folder).filePath(name);
            try {
                const QString text = test::ReadPdfText(path);
                if (text.contains(Heading) && text.contains(nameCharacter)) return path;
            } catch (const std::exception&) {
                // Still being written.
            }
        }
        QThread::msleep(250);
    }
    return std::nullopt;
}

int Run(const QString& program, const QStringList& arguments) {
    return QProcess::execute(program, arguments);
}

TEST(CupsPrintTest, PrintedReadingArrivesInCupsPdf) {
    SKIP_OR_FAIL_WITHOUT_CUPS();
    const QString folder = CupsPdfFolder();
    const QSet<QString> before = PdfFilesIn(folder);

    PrintDialog dialog;  // over the program's one PrinterSession
    test::AnswerPrintDialog(dialog, {true, Queue.toStdString(), ""});
    printing::PrintReading(dialog, test::ReadingOf("山田", "太郎"), test::FixtureTables());

    const auto file = WaitForPage(folder, before, QStringLiteral("郎"));
    ASSERT_TRUE(file) << "no page with the heading appeared in " << folder.toStdString();
    QFile::remove(*file);
}

// A queue made for the test and removed again whatever happens.
struct TemporaryQueue {
    TemporaryQueue() {
        made = Run(QStringLiteral("lpadmin"),
                   {QStringLiteral("-p"), VanishingQueue, QStringLiteral("-v"),
                    QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), CupsPdfPpd,
                    QStringLiteral("-E")}) == 0;
    }
    ~TemporaryQueue() { Remove(); }
    void Remove() {
        if (made) Run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), VanishingQueue});
        made = false;
    }
    bool made = false;
};

TEST(CupsPrintTest, QueueRemovedBetweenTheDialogAndThePage) {
    SKIP_OR_FAIL_WITHOUT_CUPS();
    TemporaryQueue queue;
    if (!queue.made) GTEST_SKIP() << "lpadmin could not add a queue (needs root)";

    PrintDialog dialog;
    test::AnswerPrintDialog(dialog, {true, VanishingQueue.toStdString(), ""});
    ASSERT_TRUE(dialog.Execute());
    queue.Remove();

    const Reading reading = test::ReadingOf("林", "一");
    EXPECT_THROW(printing::PrintReadingPage(dialog.Printer(), reading, test::FixtureTables()),
                 PrinterError);
    EXPECT_FALSE(dialog.Printer().DocumentOpen());

    // The command can be given again, on a queue that is there.
    const QString folder = CupsPdfFolder();
    const QSet<QString> before = PdfFilesIn(folder);
    test::AnswerPrintDialog(dialog, {true, Queue.toStdString(), ""});
    printing::PrintReading(dialog, reading, test::FixtureTables());
    const auto file = WaitForPage(folder, before, QStringLiteral("林"));
    ASSERT_TRUE(file) << "no page with the heading appeared in " << folder.toStdString();
    QFile::remove(*file);
}

}  // namespace
}  // namespace soten
