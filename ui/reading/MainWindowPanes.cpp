#include "ui/reading/MainWindowPanes.h"

#include <QPainter>

#include "platform/drawing/PixelLines.h"
#include "ui/reading/FortuneListPicture.h"
#include "ui/reading/NameColumnPicture.h"
#include "ui/reading/PaneColors.h"
#include "ui/reading/PaneTexts.h"
#include "ui/reading/ReadingPicture.h"
#include "ui/reading/ReportHolder.h"
#include "ui/widgets/PaneImage.h"

namespace soten::ui {

namespace {

// Right and bottom edges excluded, so the last column and row of a pane keep
// whatever they held.
void ClearPane(PaneImage& pane) {
    pane.Draw([&](QPainter& painter) {
        platform::FillRect(painter, 0, 0, pane.width() - 1, pane.height() - 1, colors::White);
    });
}

}  // namespace

MainWindowPanes::MainWindowPanes(ProgramState& state, const Tables& tables, Surfaces surfaces)
    : state_(state), tables_(tables), surfaces_(surfaces) {
    // At another pixel ratio each pane is drawn again from the reading on
    // show, as the main routine drew it.
    surfaces_.image1.SetRedraw([this] {
        ClearPane(surfaces_.image1);
        if (!state_.shown.valid) return;
        NameRecord record = state_.shown.record;
        surfaces_.image1.Draw([&](QPainter& painter) { PaintNameColumn(painter, record); });
    });
    surfaces_.image2.SetRedraw([this] {
        ClearPane(surfaces_.image2);
        if (!state_.shown.valid) return;
        surfaces_.image2.Draw(
            [&](QPainter& painter) { PaintFortuneList(painter, state_.shown.record, tables_); });
    });
    surfaces_.image3.SetRedraw([this] {
        ClearPane(surfaces_.image3);
        if (!state_.shown.valid) return;
        surfaces_.image3.Draw([&](QPainter& painter) {
            PaintReadingLines(painter, state_.shown.lines, state_.shown.record.ScreenLineIndex);
        });
    });
}

void MainWindowPanes::ClearResultPanes() {
    for (PaneImage* pane : {&surfaces_.image1, &surfaces_.image2, &surfaces_.image3}) {
        ClearPane(*pane);
        pane->SetContentText({});
    }
}

void MainWindowPanes::DrawNameColumn() {
    surfaces_.image1.Draw([&](QPainter& painter) { PaintNameColumn(painter, state_.record); });
    surfaces_.image1.SetContentText(NameColumnText(state_.record));
}

void MainWindowPanes::DrawFortuneList() {
    surfaces_.image2.Draw(
        [&](QPainter& painter) { PaintFortuneList(painter, state_.record, tables_); });
    surfaces_.image2.SetContentText(FortuneListText(state_.record, tables_));
}

void MainWindowPanes::SetReportHolder(const std::string& reportText) {
    surfaces_.memo1.Clear();
    surfaces_.memo1.SetText(reportText);
}

void MainWindowPanes::DrawReadingLines() {
    surfaces_.image3.Draw([&](QPainter& painter) {
        PaintReadingLines(painter, state_.lines, state_.record.ScreenLineIndex);
    });
    surfaces_.image3.SetContentText(ReadingPaneText(state_.lines, state_.record.ScreenLineIndex));
}

}  // namespace soten::ui
