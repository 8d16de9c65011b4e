// The desktop program's tests need a QApplication and the face substitutes
// the program installs at start-up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "platform/drawing/FontSubstitutes.h"
#include "ui/widgets/ProgramSettings.h"

namespace {

// What one test's windows remember (a dialog's conditions, its size) is
// not the next test's starting point.
class ForgetSettings : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { soten::ui::ProgramSettings().clear(); }
};

}  // namespace

int main(int argc, char* argv[]) {
    // CTest lists the tests by running this program without the test
    // environment; the suites never need a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The shortlist is saved in the user's data folder: the tests keep
    // theirs in a scratch folder, never in the home of whoever runs them.
    const QTemporaryDir dataHome;
    if (!dataHome.isValid()) return 2;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    // So are the settings the windows keep.
    const QTemporaryDir configHome;
    if (!configHome.isValid()) return 2;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    QApplication application(argc, argv);
    soten::platform::InstallFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ForgetSettings);
    return RUN_ALL_TESTS();
}
