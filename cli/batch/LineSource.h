#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace soten::cli {

// The longest name text --batch reads: a line of names, or a table's name
// cell; a longer one is answered with a too-long record.
inline constexpr std::size_t MaxBatchLineBytes = 4096;

// The longest row of a table read whole (without its line end); a longer
// one is answered with a too-long record, and reading goes on at the next
// line.
inline constexpr std::size_t MaxRowBytes = 1024 * 1024;

// The most lines a quoted cell may span. A cell still open after them (or
// after MaxRowBytes, or at the end of the input) is taken for a stray quote:
// its row is malformed and reading starts again at the line after the one
// the quote opened on, so the quote costs no other row.
inline constexpr long MaxCellLines = 100;

// Where one row lies in LineBatch::text, or, for a source that splits rows
// itself, in LineBatch::cells.
struct LineSpan {
    std::uint32_t offset = 0;    // into text, or the first of cells
    std::uint32_t length = 0;    // bytes of text, or the number of cells
    bool tooLong = false;        // longer than MaxRowBytes: only counted, no text
    bool unclosedQuote = false;  // a quoted cell that never closed: the row up to the line end
    long number = 0;             // the input line it starts on, counted from 1
    long row = 0;                // the row a spreadsheet shows, counted from 1
};

// A run of consecutive rows (one per line for text; a table's quoted cell
// may hold line breaks).
struct LineBatch {
    long firstLine = 1;  // the number of lines[0], counted from 1
    std::string text;    // the rows, without their line ends
    std::vector<LineSpan> lines;
    // Set by a source whose rows come as cells (a workbook): lines[i] names
    // its cells here, and text is unused.
    bool split = false;
    std::vector<std::string> cells;

    std::string_view Line(std::size_t i) const {
        return std::string_view(text).substr(lines[i].offset, lines[i].length);
    }
};

// Where --batch gets its rows: in order, numbered, in batches.
class RowSource {
public:
    virtual ~RowSource() = default;
    // Fills `batch` with the next rows; false when there are none left (or
    // the input could not be read: see ReadFailed).
    virtual bool Next(LineBatch& batch) = 0;
    // True when the last batch ended because the input paused.
    virtual bool Stalled() const { return false; }
    // The input held UTF-16: the rows are now UTF-8.
    virtual bool Utf16() const { return false; }
    // True when reading the input failed (rather than reaching its end);
    // `errno` of the failure, or 0.
    virtual bool ReadFailed() const { return false; }
    virtual int ReadError() const { return 0; }
};

// Splits an input into batches of rows, reading it in chunks, without ever
// holding more than one batch and one bounded partial row. Lines end in
// LF, CR LF or a lone CR; a last line without one is a line too. A UTF-8
// byte-order mark at the start is skipped; a UTF-16 one (either order) makes
// the input read as UTF-16 and handed on as UTF-8.
class LineSource : public RowSource {
public:
    // Lines and bytes per batch: big enough that handing a batch to a thread
    // costs nothing next to answering it, small enough that its records
    // (some 2.5 KB each with the report) stay in the processor's cache
    // until they are written.
    static constexpr std::size_t BatchLines = 128;
    static constexpr std::size_t BatchBytes = 128 * 1024;

    // `separator`: the cell separator of a table (',' or '\t'), whose quoted
    // cells may hold line breaks; 0 for lines of text. `utf16`: the input is
    // UTF-16 even without a byte-order mark (then little-endian).
    explicit LineSource(std::istream& in, char separator = 0, bool utf16 = false);

    // A batch ends early when the input has nothing more to give at once
    // (someone typing), so its records need not wait for more lines.
    bool Next(LineBatch& batch) override;
    bool Stalled() const override { return stalled_; }
    bool Utf16() const override { return utf16_; }
    // The row the read failure cut short is dropped.
    bool ReadFailed() const override { return readFailed_; }
    int ReadError() const override { return readError_; }

private:
    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted };

    bool Scan(LineBatch& batch);
    void Emit(LineBatch& batch, std::size_t end, std::size_t next, long lines);
    void EmitUnclosed(LineBatch& batch);
    bool SkipTooLong(LineBatch& batch);
    void ResetRow();
    bool Refill(bool wait);
    void Append(const char* bytes, std::size_t size);
    void AppendUtf16(const char* bytes, std::size_t size);
    void Compact();

    std::istream& in_;
    char separator_;
    bool utf16_;
    bool bigEndian_ = false;
    bool atStart_ = true;  // nothing read yet: a byte-order mark may come
    std::vector<char> raw_;
    std::string pendingRaw_;  // UTF-16 bytes of a character not yet whole
    std::string buffer_;      // what is read, as UTF-8 (or cp932)
    std::size_t start_ = 0;   // where the current row starts in buffer_
    std::size_t scan_ = 0;    // how far it has been scanned
    State state_ = State::FieldStart;
    long breaks_ = 0;               // line ends inside the row so far
    long cellBreaks_ = 0;           // inside the open quoted cell
    std::size_t quoteLineEnd_ = 0;  // the first line end in it; 0 while none
    std::size_t quoteLineEndSize_ = 0;
    long quoteLine_ = 0;     // lines of the row before the one the open quote is on
    bool skipping_ = false;  // in a row over MaxRowBytes, dropping to its line end
    long nextLine_ = 1;
    long nextRow_ = 1;
    bool eof_ = false;
    bool stalled_ = false;
    bool readFailed_ = false;
    int readError_ = 0;
};

}  // namespace soten::cli
