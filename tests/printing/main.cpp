// The printing tests need a QApplication (the print dialog and the fonts) and
// the face substitutes the program installs at start-up.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/drawing/FontSubstitutes.h"
#include "tests/support/printing/PrintingTestSupport.h"

int main(int argc, char* argv[]) {
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
