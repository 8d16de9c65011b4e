#pragma once

#include <string>

#include "cli/batch/LineSource.h"
#include "cli/batch/Sheets.h"

namespace soten::cli {

// The rows of a sheet as --batch reads a table's rows: each row is one
// row of a batch, numbered as the sheet numbers it, handed on as its cells.
// Empty rows get no row but keep their numbers.
class WorkbookInput : public RowSource {
public:
    explicit WorkbookInput(SheetRows& reader) : reader_(reader) {}

    // Fills `batch` with the next rows; false at the end of the sheet.
    // Throws WorkbookError when the sheet turns out damaged.
    // A sheet never pauses and its reading fails by WorkbookError.
    bool Next(LineBatch& batch) override;

private:
    SheetRows& reader_;
    WorkbookRow row_;
};

}  // namespace soten::cli
