#pragma once

#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

// What soten-cli and its workbook plug-in share (see WorkbookModule.h).
namespace soten::cli {

// The spreadsheets --batch reads without an export to CSV.
enum class WorkbookKind { Xlsx, Ods };

// A workbook that cannot be read: damaged, not a workbook, or over a limit.
// The message (in Japanese, like every message of soten-cli) names the file.
class WorkbookError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The sheet asked for is not in the workbook: a usage error.
class MissingSheetError : public WorkbookError {
public:
    using WorkbookError::WorkbookError;
};

// One row of a sheet that holds something: its number as the sheet shows it
// (empty rows counted) and its cells from column A in UTF-8, without the
// empty cells at its end.
struct WorkbookRow {
    long number = 0;
    std::vector<std::string> cells;
};

// The rows of one sheet, in order.
class SheetRows {
public:
    virtual ~SheetRows() = default;
    // The next row that holds a cell; false at the end of the sheet.
    // Throws WorkbookError.
    virtual bool Next(WorkbookRow& row) = 0;
};

// The TSV records of --batch written as a workbook's rows.
class SheetWriter : public std::streambuf {
public:
    // Writes the rows still held and the workbook's file; an empty string,
    // or why the workbook could not be written.
    virtual std::string Close() = 0;
    // Whether any record came.
    virtual bool Wrote() const = 0;
};

}  // namespace soten::cli
