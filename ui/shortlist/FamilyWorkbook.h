#pragma once

#include <QString>
#include <string>
#include <vector>

namespace soten::ui {

// Writes a table of UTF-8 cells (FamilyTable: the headings first) as an
// xlsx workbook, the file a family opens in Excel or LibreOffice with its
// Japanese intact and no character set to choose, as neither does for a
// CSV file on its own: the heading row bold and frozen, the score
// (評点) a number, every other cell text as written. Replaces the file as
// WriteReportFile does; throws FileWriteError.
void WriteFamilyWorkbook(const QString& path, const std::vector<std::vector<std::string>>& table);

}  // namespace soten::ui
