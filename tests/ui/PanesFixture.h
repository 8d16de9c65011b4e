#pragma once

// The three panes and the report holder of the main window, without the
// window, and the main routine run into them.

#include <gtest/gtest.h>

#include "analysis/text/ShiftJis.h"
#include "ui/reading/MainWindowPanes.h"
#include "ui/reading/ReportHolder.h"
#include "ui/widgets/PaneImage.h"

namespace soten::test {

class PanesFixture : public ::testing::Test {
protected:
    void Read(const char* surname, const char* given) {
        ReadNames(state.record, Cp932Text(surname), Cp932Text(given));
        ASSERT_FALSE(CheckNames(state, tables).has_value());
        RunMainRoutine(state, tables, panes);
    }

    const Tables& tables = BuiltInTables();
    ProgramState state;
    ui::PaneImage image1{nullptr, QStringLiteral("namePane"), {9, 9, 181, 301}};
    ui::PaneImage image2{nullptr, QStringLiteral("fortunePane"), {9, 321, 181, 125}};
    ui::PaneImage image3{nullptr, QStringLiteral("readingPane"), {201, 9, 445, 469}};
    ui::ReportHolder memo1;
    ui::MainWindowPanes panes{state, tables, {image1, image2, image3, memo1}};
};

}  // namespace soten::test
