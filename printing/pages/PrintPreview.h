#pragma once

#include <QDate>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "analysis/shortlist/NameComparison.h"

class QWidget;

namespace soten::printing {

// The print preview: Qt's preview dialog showing the page of the reading on
// A4 landscape, drawn by PrintReadingPage exactly as it is printed. The page
// is fixed, so the preview offers no page setup or orientation. Its Print
// button closes the preview and returns true, for the caller to run the Print
// command (the print dialog, then the page on the printer chosen there).
// An error of the page closes the preview and is thrown.
bool PreviewReading(const Reading& reading, const Tables& tables, QWidget* parent);

// The same for the printed detail (DetailPage), on A4 portrait.
bool PreviewDetail(const Reading& reading, const Tables& tables, QWidget* parent);

// The same for the printed comparison (ComparisonPage), on A4 landscape, as
// many pages as it takes.
bool PreviewComparison(const std::vector<ComparedName>& names, const QDate& date, QWidget* parent);

}  // namespace soten::printing
