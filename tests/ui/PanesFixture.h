#pragma once

// The three panes and the report holder of the main window, without the
// window, and a reading shown in them.

#include <gtest/gtest.h>

#include "tests/support/FixtureTables.h"
#include "ui/reading/MainWindowPanes.h"
#include "ui/reading/ReportHolder.h"
#include "ui/widgets/PaneImage.h"

namespace soten::test {

class PanesFixture : public ::testing::Test {
protected:
    void Read(const char* surname, const char* given) {
        reading.emplace(ReadingOf(surname, given, StrokeStyle::Shinji, tables));
        panes.Show(*reading);
    }

    const Tables& tables = BuiltInTables();
    std::optional<Reading> reading;
    ui::PaneImage namePane{nullptr, QStringLiteral("namePane"), {9, 9, 181, 301}};
    ui::PaneImage fortunePane{nullptr, QStringLiteral("fortunePane"), {9, 321, 181, 125}};
    ui::PaneImage readingPane{nullptr, QStringLiteral("readingPane"), {201, 9, 445, 469}};
    ui::ReportHolder reportHolder;
    ui::MainWindowPanes panes{tables, {namePane, fortunePane, readingPane, reportHolder}};
};

}  // namespace soten::test
