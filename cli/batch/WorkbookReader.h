#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace soten::cli {

// The spreadsheets --batch reads without an export to CSV.
enum class WorkbookKind { Xlsx, Ods };

// What the file's first bytes and its zip directory say it is: a zip with
// "[Content_Types].xml" and "xl/workbook.xml" is xlsx, one whose "mimetype"
// names an OpenDocument spreadsheet is ods. Nothing for anything else,
// including a file that cannot be read (its reader says why).
std::optional<WorkbookKind> DetectWorkbook(const std::string& path);

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

// The limits that keep a damaged or hostile workbook (a zip bomb) from
// taking the memory: the sheet is read as a stream, one row at a time, so
// only these are ever held.
inline constexpr std::size_t MaxWorkbookPartBytes = std::size_t{1} << 30;  // one XML part, unpacked
inline constexpr std::size_t MaxWorkbookRowBytes = 16u << 20;              // one row's XML
inline constexpr std::size_t MaxSharedStringBytes = 256u << 20;            // all shared strings
inline constexpr std::size_t MaxWorkbookInputBytes = 256u << 20;  // a workbook read from a pipe
inline constexpr long MaxSheetRows = 1'048'576;
inline constexpr std::size_t MaxSheetColumns = 16'384;

// The rows of one sheet, in order.
class SheetRows {
public:
    virtual ~SheetRows() = default;
    // The next row that holds a cell; false at the end of the sheet.
    // Throws WorkbookError.
    virtual bool Next(WorkbookRow& row) = 0;
};

// Reads the rows of one sheet of an xlsx or ods workbook, in order. A cell
// is what the sheet holds: text as typed (rich text runs joined), a number
// as its shortest exact decimal (1, 0.1, 1234567), a date as ISO 8601
// (2024-04-01, 2024-04-01 09:30:00), TRUE or FALSE; a formula gives its
// saved result. Throws WorkbookError.
class WorkbookReader : public SheetRows {
public:
    // `path` "-" reads the workbook from standard input (up to
    // MaxWorkbookInputBytes). `sheet` empty: the first sheet.
    WorkbookReader(const std::string& path, WorkbookKind kind, const std::string& sheet);
    ~WorkbookReader() override;
    WorkbookReader(const WorkbookReader&) = delete;
    WorkbookReader& operator=(const WorkbookReader&) = delete;

    bool Next(WorkbookRow& row) override;

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace soten::cli
