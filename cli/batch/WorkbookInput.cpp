#include "cli/batch/WorkbookInput.h"

namespace soten::cli {

bool WorkbookInput::Next(LineBatch& batch) {
    batch.text.clear();
    batch.lines.clear();
    batch.cells.clear();
    batch.split = true;
    std::size_t bytes = 0;
    while (batch.lines.size() < LineSource::BatchLines && bytes < LineSource::BatchBytes &&
           reader_.Next(row_)) {
        LineSpan span;
        span.offset = static_cast<std::uint32_t>(batch.cells.size());
        span.length = static_cast<std::uint32_t>(row_.cells.size());
        span.number = row_.number;
        span.row = row_.number;
        for (std::string& cell : row_.cells) {
            bytes += cell.size();
            batch.cells.push_back(std::move(cell));
        }
        batch.lines.push_back(span);
    }
    if (batch.lines.empty()) return false;
    batch.firstLine = batch.lines.front().number;
    return true;
}

}  // namespace soten::cli
