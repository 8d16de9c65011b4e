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

MainWindowPanes::MainWindowPanes(const Tables& tables, Surfaces surfaces)
    : tables_(tables), surfaces_(surfaces) {
    surfaces_.namePane.SetRedraw([this] {
        ClearPane(surfaces_.namePane);
        if (shown_) DrawNameColumn();
    });
    surfaces_.fortunePane.SetRedraw([this] {
        ClearPane(surfaces_.fortunePane);
        if (shown_) DrawFortuneList();
    });
    surfaces_.readingPane.SetRedraw([this] {
        ClearPane(surfaces_.readingPane);
        if (shown_) DrawReadingLines();
    });
}

void MainWindowPanes::Show(const Reading& reading) {
    for (PaneImage* pane : {&surfaces_.namePane, &surfaces_.fortunePane, &surfaces_.readingPane}) {
        ClearPane(*pane);
        pane->SetContentText({});
    }
    shown_ = reading;
    DrawNameColumn();
    surfaces_.namePane.SetContentText(NameColumnText(shown_->Counted()));
    DrawFortuneList();
    surfaces_.fortunePane.SetContentText(FortuneListText(shown_->Counted(), tables_));
    surfaces_.reportHolder.Clear();
    surfaces_.reportHolder.SetText(shown_->Report());
    DrawReadingLines();
    surfaces_.readingPane.SetContentText(
        ReadingPaneText(shown_->Lines(), shown_->Lines().lastScreenLine));
}

void MainWindowPanes::DrawNameColumn() {
    surfaces_.namePane.Draw(
        [&](QPainter& painter) { PaintNameColumn(painter, shown_->Counted()); });
}

void MainWindowPanes::DrawFortuneList() {
    surfaces_.fortunePane.Draw(
        [&](QPainter& painter) { PaintFortuneList(painter, shown_->Counted(), tables_); });
}

void MainWindowPanes::DrawReadingLines() {
    surfaces_.readingPane.Draw([&](QPainter& painter) {
        PaintReadingLines(painter, shown_->Lines(), shown_->Lines().lastScreenLine);
    });
}

}  // namespace soten::ui
