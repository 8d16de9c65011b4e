#pragma once

#include <QDate>
#include <QString>
#include <cstddef>
#include <vector>

#include "analysis/shortlist/NameComparison.h"
#include "printing/device/PrinterSession.h"

namespace soten::printing {

// The print queue's title of the printed comparison.
inline constexpr const char* ComparisonDocumentTitle = "蒼天姓名判断 名前の比較";

// Rows of the table on one page; more names go on the pages after.
inline constexpr std::size_t NamesPerComparisonPage = 20;

// Pages the comparison of `nameCount` names takes: one for every twenty
// names begun, and one for none (the table's head and a line saying so).
int ComparisonPageCount(std::size_t nameCount);

// "2026年12月9日", as the page prints the date.
QString ComparisonDateText(const QDate& date);

// The name the print dialog proposes for a PDF file: "名前の比較_20261209.pdf".
QString ComparisonPdfFileName(const QDate& date);

// Draws the names, in the order given, as a table on A4 landscape pages of
// the document open on `printer`: the title, `date` and "1 / 2" on every
// page; per name its number in the list, surname, given name, reading,
// style, the given name's strokes, the five numbers with their grade marks,
// the score, ※ when a registry office would refuse the given name, 三才配置,
// 陰陽配列 and the note, and on a smaller line under them the passport
// romaji (the whole name and its initials when the surname's reading is
// known), the long-vowel spellings and the sound notes. A refused name shows
// the refusal in place of the numbers. The date is given, not read from the
// clock, so that a page can be printed again exactly.
void PaintComparisonPages(PrinterSession& printer, const std::vector<ComparedName>& names,
                          const QDate& date);

// A4 landscape, monochrome and 100 % where the printer supports them, then
// one document with the pages.
void PrintComparisonPages(PrinterSession& printer, const std::vector<ComparedName>& names,
                          const QDate& date);

// The print command of the comparison: the print dialog, then the pages.
void PrintComparison(PrintDialog& dialog, const std::vector<ComparedName>& names,
                     const QDate& date);

}  // namespace soten::printing
