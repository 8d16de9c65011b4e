#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch/Sheets.h"

namespace soten::cli {

// What the zip directory of a file that begins as a zip (StartsLikeZip, in
// WorkbookModule.h) says it is: a zip with "[Content_Types].xml" and
// "xl/workbook.xml" is xlsx, one whose "mimetype" names an OpenDocument
// spreadsheet is ods. Nothing for anything else, including a file that
// cannot be read (its reader says why).
std::optional<WorkbookKind> DetectWorkbook(const std::string& path);

// The limits that keep a damaged or hostile workbook (a zip bomb) from
// taking the memory: the sheet is read as a stream, one row at a time, so
// only these are ever held.
inline constexpr std::size_t MaxWorkbookPartBytes = std::size_t{1} << 30;  // one XML part, unpacked
inline constexpr std::size_t MaxWorkbookRowBytes = 16u << 20;              // one row's XML
inline constexpr std::size_t MaxSharedStringBytes = 256u << 20;            // all shared strings
inline constexpr std::size_t MaxWorkbookInputBytes = 256u << 20;  // a workbook read from a pipe
inline constexpr long MaxSheetRows = 1'048'576;
inline constexpr std::size_t MaxSheetColumns = 16'384;

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
