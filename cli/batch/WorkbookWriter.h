#pragma once

#include <string>
#include <vector>

#include "cli/batch/Sheets.h"

struct lxw_workbook;
struct lxw_worksheet;

namespace soten::cli {

// Writes the TSV records of --batch as the rows of an xlsx workbook, with
// libxlsxwriter's constant-memory mode, so a sheet of any length takes a
// few megabytes: the header row (frozen), then one row per record. The
// input columns carried over stay text, cell for cell (000001 stays
// 000001); the result columns that hold numbers (line, row, the stroke
// counts, the five numbers, score) are numbers.
class WorkbookWriter : public SheetWriter {
public:
    // `resultColumns`: the keys of the columns the records end with (after
    // the input columns), as the header row names them.
    WorkbookWriter(const std::string& path, std::vector<std::string> resultColumns);
    ~WorkbookWriter() override;
    WorkbookWriter(const WorkbookWriter&) = delete;
    WorkbookWriter& operator=(const WorkbookWriter&) = delete;

    std::string Close() override;
    bool Wrote() const override { return row_ > 0 || !pending_.empty(); }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize size) override;

private:
    void TakeRecords();
    void WriteRow(const std::vector<std::string>& cells);
    void Fail(const std::string& why);

    std::string path_;
    std::vector<std::string> resultColumns_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::string pending_;      // bytes of records not yet written
    std::size_t scanned_ = 0;  // how far pending_ was searched for a record's end
    bool inQuotes_ = false;
    std::vector<std::string> cells_;
    std::vector<bool> numeric_;  // by column, from the header row
    unsigned row_ = 0;
    std::string error_;
};

}  // namespace soten::cli
