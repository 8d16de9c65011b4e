// soten-cli --pdf: the printed reading into a PDF file, with or without a Qt
// application in the process.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "FixtureTables.h"
#include "HeadlessReading.h"
#include "PdfExport.h"
#include "PrintingTestSupport.h"

namespace soten {
namespace {

ProgramState ReadingOfYamadaTaro() {
    ProgramState state;
    const auto refusal =
        ReadHeadless(state, BuiltInTables(), {test::Sjis("山田"), test::Sjis("太郎")});
    EXPECT_FALSE(refusal.has_value());
    return state;
}

TEST(PdfExportTest, WritesThePrintedReading) {
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("山田太郎.pdf"));
    EXPECT_EQ(printing::WritePdfForCli(ReadingOfYamadaTaro(), path.toStdString()), "");
    const auto pages = test::ReadPdfWords(path);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].width, 2970, 2);
    EXPECT_NEAR(pages[0].height, 2100, 2);
    EXPECT_TRUE(test::FindWord(pages[0], QStringLiteral("蒼")));
}

TEST(PdfExportTest, UnwritableFileIsReportedWithItsName) {
    const std::string path = "/nonexistent-folder/a.pdf";
    const std::string failure = printing::WritePdfForCli(ReadingOfYamadaTaro(), path);
    EXPECT_NE(failure.find(path), std::string::npos) << failure;
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));
}

TEST(PdfExportTest, WorksInAProcessWithoutAQtApplication) {
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("cli.pdf"));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // As from a terminal without a display; the export picks its own platform.
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--write-pdf-without-app"), path});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
    EXPECT_TRUE(test::ReadPdfText(path).contains(QStringLiteral("蒼 天 姓 名 判 断")));
}

}  // namespace
}  // namespace soten
