#pragma once

#include <string>

#include "cli/batch/LineSource.h"
#include "cli/batch/WorkbookReader.h"

namespace soten::cli {

// The rows of a sheet as --batch reads a table's rows: each row is one
// line of a batch, numbered as the sheet numbers it, its cells written as a
// TSV record (quoted where they hold tabs, line breaks or quotes), which
// the table's reader splits back into the same cells. Empty rows get no
// line but keep their numbers.
class WorkbookInput {
public:
    explicit WorkbookInput(WorkbookReader& reader) : reader_(reader) {}

    // Fills `batch` with the next rows; false at the end of the sheet.
    // Throws WorkbookError when the sheet turns out damaged.
    bool Next(LineBatch& batch);

    // A sheet never pauses and its reading fails by WorkbookError.
    bool Stalled() const { return false; }
    bool ReadFailed() const { return false; }
    int ReadError() const { return 0; }

private:
    WorkbookReader& reader_;
    WorkbookRow row_;
};

// Appends `cells` to `out` as one TSV record (without its line end).
void AppendTsvRecord(const std::vector<std::string>& cells, std::string& out);

}  // namespace soten::cli
