#pragma once

#include "analysis/reading/NewReading.h"
#include "analysis/reading/ProgramState.h"
#include "analysis/reading/Tables.h"

namespace soten::ui {

class PaneImage;
class ReportHolder;

// The main routine's view of the main window: the three panes and the report
// holder. Each operation draws what the analysis has just computed.
class MainWindowPanes final : public ResultPanes {
public:
    struct Surfaces {
        PaneImage& image1;  // name column
        PaneImage& image2;  // fortune list
        PaneImage& image3;  // reading
        ReportHolder& memo1;
    };

    MainWindowPanes(ProgramState& state, const Tables& tables, Surfaces surfaces);

    void ClearResultPanes() override;
    void DrawNameColumn() override;
    void DrawFortuneList() override;
    void SetReportHolder(const std::string& reportText) override;
    void DrawReadingLines() override;

private:
    ProgramState& state_;
    const Tables& tables_;
    Surfaces surfaces_;
};

}  // namespace soten::ui
