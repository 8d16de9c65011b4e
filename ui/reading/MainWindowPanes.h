#pragma once

#include <optional>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"

namespace soten::ui {

class PaneImage;
class ReportHolder;

// The main window's three result panes and its report holder, showing one
// reading. At another pixel ratio each pane is drawn again from it.
class MainWindowPanes final {
public:
    struct Surfaces {
        PaneImage& namePane;
        PaneImage& fortunePane;
        PaneImage& readingPane;
        ReportHolder& reportHolder;
    };

    MainWindowPanes(const Tables& tables, Surfaces surfaces);

    // Clears the panes, draws the name column, the fortune list and the
    // reading, and keeps the report in the holder.
    void Show(const Reading& reading);

private:
    void DrawNameColumn();
    void DrawFortuneList();
    void DrawReadingLines();

    const Tables& tables_;
    Surfaces surfaces_;
    std::optional<Reading> shown_;
};

}  // namespace soten::ui
