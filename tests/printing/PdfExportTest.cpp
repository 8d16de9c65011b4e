// soten-cli --pdf (through soten-pdf): the printed reading into a PDF file.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include "analysis/reading/Reading.h"
#include "printing/pages/PdfExport.h"
#include "tests/support/FixtureTables.h"
#include "tests/support/printing/PrintingTestSupport.h"

namespace soten {
namespace {

Reading ReadingOfYamadaTaro() {
    return test::ReadingOf("山田", "太郎", StrokeStyle::Shinji, BuiltInTables());
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

}  // namespace
}  // namespace soten
