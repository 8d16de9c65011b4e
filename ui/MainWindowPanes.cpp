#include "MainWindowPanes.h"

#include <QPainter>

#include "FortuneListPicture.h"
#include "GdiLines.h"
#include "NameColumnPicture.h"
#include "PaneColors.h"
#include "PaneImage.h"
#include "ReadingPicture.h"
#include "ReportHolder.h"

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
    : state_(state), tables_(tables), surfaces_(surfaces) {}

void MainWindowPanes::ClearResultPanes() {
    ClearPane(surfaces_.image1);
    ClearPane(surfaces_.image2);
    ClearPane(surfaces_.image3);
}

void MainWindowPanes::DrawNameColumn() {
    surfaces_.image1.Draw([&](QPainter& painter) { PaintNameColumn(painter, state_.record); });
}

void MainWindowPanes::DrawFortuneList() {
    surfaces_.image2.Draw(
        [&](QPainter& painter) { PaintFortuneList(painter, state_.record, tables_); });
}

void MainWindowPanes::SetReportHolder(const std::string& reportText) {
    surfaces_.memo1.Clear();
    surfaces_.memo1.SetText(reportText);
}

void MainWindowPanes::DrawReadingLines() {
    surfaces_.image3.Draw([&](QPainter& painter) {
        PaintReadingLines(painter, state_.lines, state_.record.ScreenLineIndex);
    });
}

}  // namespace soten::ui
