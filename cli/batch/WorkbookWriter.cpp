#include "cli/batch/WorkbookWriter.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <charconv>

#include "cli/batch/TableInput.h"

namespace soten::cli {
namespace {

// The result columns that are numbers wherever they are filled.
constexpr std::array<std::string_view, 10> NumberColumns = {
    "line",   "row",   "surname_strokes", "given_strokes", "heaven",
    "person", "earth", "outer",           "total",         "score"};

// An xlsx row holds at most this many rows, the header among them.
constexpr unsigned MaxRows = 1'048'576;

// Why libxlsxwriter failed, in our own words rather than its English.
std::string WriterReason(lxw_error error) {
    switch (error) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED:
            return "メモリが足りません";
        case LXW_ERROR_CREATING_XLSX_FILE:
        case LXW_ERROR_ZIP_FILE_OPERATION:
        case LXW_ERROR_ZIP_FILE_ADD:
        case LXW_ERROR_ZIP_CLOSE:
            return "ブックを書き出せません（ディスクの空きか書き込みの権限がないかもしれません）";
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE:
            return "作業用の一時ファイルを使えません";
        case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
            return "セルに入るより長い文字列があります";
        default:
            return std::string("libxlsxwriter のエラー ") + std::to_string(static_cast<int>(error));
    }
}

bool AsNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

WorkbookWriter::WorkbookWriter(const std::string& path, std::vector<std::string> resultColumns)
    : path_(path), resultColumns_(std::move(resultColumns)) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    workbook_ = workbook_new_opt(path_.c_str(), &options);
    if (workbook_) sheet_ = workbook_add_worksheet(workbook_, nullptr);
    if (!sheet_) Fail("ブックを作れません");
}

WorkbookWriter::~WorkbookWriter() {
    // A workbook not closed is not written: its file stays as it was.
    if (workbook_) lxw_workbook_free(workbook_);
}

void WorkbookWriter::Fail(const std::string& why) {
    if (error_.empty()) error_ = why;
}

WorkbookWriter::int_type WorkbookWriter::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

std::streamsize WorkbookWriter::xsputn(const char* data, std::streamsize size) {
    if (!error_.empty()) return 0;
    pending_.append(data, static_cast<std::size_t>(size));
    TakeRecords();
    return error_.empty() ? size : 0;
}

// Writes every whole record of pending_: one ends at a "\n" outside quotes.
void WorkbookWriter::TakeRecords() {
    std::size_t start = 0;
    for (std::size_t i = scanned_; i < pending_.size() && error_.empty(); ++i) {
        const char c = pending_[i];
        if (c == '"') {
            inQuotes_ = !inQuotes_;
        } else if (c == '\n' && !inQuotes_) {
            SplitRow(std::string_view(pending_).substr(start, i - start), '\t', cells_);
            WriteRow(cells_);
            start = i + 1;
        }
    }
    pending_.erase(0, start);
    scanned_ = pending_.size();
}

void WorkbookWriter::WriteRow(const std::vector<std::string>& cells) {
    if (row_ == 0) {
        const std::size_t carried = cells.size() - std::min(cells.size(), resultColumns_.size());
        numeric_.assign(cells.size(), false);
        for (std::size_t i = carried; i < cells.size(); ++i) {
            numeric_[i] = std::find(NumberColumns.begin(), NumberColumns.end(), cells[i]) !=
                          NumberColumns.end();
        }
        worksheet_freeze_panes(sheet_, 1, 0);
    }
    if (row_ >= MaxRows) {
        Fail(std::string("1 枚のシートに書けるのは ") + std::to_string(MaxRows - 1) +
             " 件までです");
        return;
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string& cell = cells[i];
        if (cell.empty()) continue;
        const auto column = static_cast<lxw_col_t>(i);
        double number = 0;
        lxw_error written = LXW_NO_ERROR;
        if (row_ > 0 && i < numeric_.size() && numeric_[i] && AsNumber(cell, number)) {
            written = worksheet_write_number(sheet_, row_, column, number, nullptr);
        } else {
            written = worksheet_write_string(sheet_, row_, column, cell.c_str(), nullptr);
        }
        if (written != LXW_NO_ERROR) {
            Fail(std::to_string(row_ + 1) + " 行目を書けません。" + WriterReason(written));
            return;
        }
    }
    ++row_;
}

std::string WorkbookWriter::Close() {
    if (!pending_.empty() && error_.empty()) {
        // A last record without its line end.
        pending_.push_back('\n');
        TakeRecords();
    }
    if (!workbook_) return error_;
    if (!error_.empty()) return error_;
    const lxw_error closed = workbook_close(workbook_);
    workbook_ = nullptr;
    if (closed != LXW_NO_ERROR) Fail(WriterReason(closed));
    return error_;
}

}  // namespace soten::cli
