// The printing tests need a QApplication (the print dialog and the fonts) and
// the face substitutes the program installs at start-up.
//
// Run with --write-pdf-without-app FILE, the binary instead writes the PDF of
// a fixed reading the way soten-cli does, in a process that has no Qt
// application, and exits (see PdfExportTest).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>
#include <iostream>

#include "FontSubstitutes.h"
#include "PrintingTestSupport.h"

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], "--write-pdf-without-app") == 0) {
        return soten::test::WritePdfWithoutApplication(argv[2], std::cerr);
    }
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest's discovery) needs no Qt, and Qt's start-up
    // warnings would end up in the test names.
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    // CTest sets the offscreen platform; there may be no display either way.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    soten::platform::InstallFontSubstitutes();
    return RUN_ALL_TESTS();
}
