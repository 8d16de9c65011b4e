#include "cli/batch/WorkbookInput.h"

namespace soten::cli {

void AppendTsvRecord(const std::vector<std::string>& cells, std::string& out) {
    bool first = true;
    for (const std::string& cell : cells) {
        if (!first) out.push_back('\t');
        first = false;
        if (cell.find_first_of("\t\r\n\"") == std::string::npos) {
            out += cell;
            continue;
        }
        out.push_back('"');
        for (const char c : cell) {
            if (c == '"') out.push_back('"');
            out.push_back(c);
        }
        out.push_back('"');
    }
}

bool WorkbookInput::Next(LineBatch& batch) {
    batch.text.clear();
    batch.lines.clear();
    while (batch.lines.size() < LineSource::BatchLines &&
           batch.text.size() < LineSource::BatchBytes && reader_.Next(row_)) {
        LineSpan span;
        span.offset = static_cast<std::uint32_t>(batch.text.size());
        span.number = row_.number;
        AppendTsvRecord(row_.cells, batch.text);
        span.length = static_cast<std::uint32_t>(batch.text.size() - span.offset);
        // A row longer than a table's line is answered as such a line is.
        if (span.length > MaxBatchLineBytes) {
            span.tooLong = true;
            batch.text.resize(span.offset);
            span.length = 0;
        }
        batch.lines.push_back(span);
    }
    if (batch.lines.empty()) return false;
    batch.firstLine = batch.lines.front().number;
    return true;
}

}  // namespace soten::cli
