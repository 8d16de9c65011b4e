#pragma once

namespace soten::ui {

// Makes the result panes known to assistive technology: each pane is a
// static text named by its accessible name (the name column and the list by
// their content) whose text is what the picture shows, read through the
// text interface line by line; the reading pane also reports its selection
// and the place of each character. Safe to call more than once.
void InstallPaneAccessibility();

}  // namespace soten::ui
