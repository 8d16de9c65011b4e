#include "ui/shortlist/FamilyWorkbook.h"

#include <xlsxwriter.h>

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <charconv>

#include "analysis/records/JudgedColumns.h"
#include "ui/reading/ReportFile.h"

namespace soten::ui {
namespace {

bool IsWholeNumber(const std::string& text, double& value) {
    int number = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, number);
    value = number;
    return !text.empty() && error == std::errc() && last == end;
}

}  // namespace

void WriteFamilyWorkbook(const QString& path, const std::vector<std::vector<std::string>>& table) {
    // libxlsxwriter writes to a file name only: the workbook is made in a
    // private folder, then put in place by the one routine that replaces a
    // user's file safely.
    const QTemporaryDir folder;
    if (!folder.isValid()) throw FileWriteError(path, FileErrorReason(errno));
    const QString made = folder.filePath(QStringLiteral("family.xlsx"));
    lxw_workbook* workbook = workbook_new(QFile::encodeName(made).constData());
    if (!workbook) throw FileWriteError(path, FileErrorReason(errno));
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    std::size_t scoreColumn = table.empty() ? 0 : table[0].size();
    for (std::size_t row = 0; row < table.size(); ++row) {
        for (std::size_t column = 0; column < table[row].size(); ++column) {
            const std::string& cell = table[row][column];
            const auto r = static_cast<lxw_row_t>(row);
            const auto c = static_cast<lxw_col_t>(column);
            if (row == 0) {
                if (cell == TitleOf(JudgedColumn::Score)) scoreColumn = column;
                worksheet_write_string(sheet, r, c, cell.c_str(), bold);
                continue;
            }
            double number = 0;
            if (column == scoreColumn && IsWholeNumber(cell, number)) {
                worksheet_write_number(sheet, r, c, number, nullptr);
            } else if (!cell.empty()) {
                worksheet_write_string(sheet, r, c, cell.c_str(), nullptr);
            }
        }
    }
    worksheet_freeze_panes(sheet, 1, 0);
    const lxw_error closed = workbook_close(workbook);
    QFile file(made);
    if (closed != LXW_NO_ERROR || !file.open(QIODevice::ReadOnly)) {
        throw FileWriteError(path, FileErrorReason(errno));
    }
    const QByteArray bytes = file.readAll();
    WriteReportFile(path, bytes.toStdString());
}

}  // namespace soten::ui
