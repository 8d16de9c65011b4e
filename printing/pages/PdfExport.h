#pragma once

#include <QDate>
#include <string>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/shortlist/NameComparison.h"

namespace soten::printing {

// The printed reading, written to a PDF file through
// the same layer and page as the Print command (A4 landscape). Needs a
// QGuiApplication in the process (soten-pdf, behind soten-cli --pdf, makes
// one). Returns an empty string on success, else the reason.
std::string WritePdfForCli(const Reading& reading, const std::string& path);

// The printed comparison of the names (A4 landscape, as many pages as it
// takes) written the same way, dated `date`.
std::string WriteComparisonPdfForCli(const std::vector<ComparedName>& names, const QDate& date,
                                     const std::string& path);

}  // namespace soten::printing
