// What the desktop program does before its event loop: the questions it
// answers without a window, and a start that fails.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <sstream>
#include <stdexcept>

#include "SotenIdentity.h"
#include "tests/ui/ModalDriver.h"
#include "ui/app/ProgramOptions.h"
#include "ui/app/StartupFailure.h"

namespace {

using soten::ui::AnswerWithoutWindow;

std::optional<std::string> Answer(std::vector<const char*> args) {
    args.insert(args.begin(), "soten");
    return AnswerWithoutWindow(static_cast<int>(args.size()), args.data());
}

TEST(ProgramOptionsTest, HelpAndVersionAreAnsweredAndEverythingElseStartsTheProgram) {
    const std::string version = "soten " SOTEN_VERSION "\n";
    EXPECT_EQ(Answer({"--version"}), version);
    EXPECT_EQ(Answer({"-v"}), version);
    EXPECT_EQ(Answer({"-platform", "offscreen", "--version"}), version);
    for (const char* help : {"--help", "-h"}) {
        const auto text = Answer({help});
        ASSERT_TRUE(text.has_value()) << help;
        EXPECT_TRUE(text->starts_with("Usage: soten ")) << *text;
    }
    EXPECT_FALSE(Answer({}).has_value());
    EXPECT_FALSE(Answer({"-platform", "offscreen"}).has_value());
    EXPECT_FALSE(Answer({"--", "--help"}).has_value());
    EXPECT_FALSE(Answer({"--helpful"}).has_value());
}

TEST(StartupFailureTest, AFailedStartIsShownCaptionedWithTheProgramAndExitsNonZero) {
    QString caption;
    QString text;
    soten::test::ModalDriver driver;
    driver.Then([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        caption = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    std::ostringstream err;
    const int status =
        soten::ui::ReportStartupFailure(std::runtime_error("CP932 が使えません"), err);
    EXPECT_TRUE(driver.Done());
    EXPECT_NE(status, 0);
    EXPECT_EQ(caption, QStringLiteral("蒼天姓名判断"));
    EXPECT_EQ(text, QStringLiteral("CP932 が使えません"));
    EXPECT_TRUE(err.str().empty());
}

}  // namespace
