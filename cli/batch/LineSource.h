#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace soten::cli {

// The longest input line --batch reads, without its line end; a longer line
// is answered with an error record.
inline constexpr std::size_t MaxBatchLineBytes = 4096;

// Where one line lies in LineBatch::text.
struct LineSpan {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    bool tooLong = false;  // longer than MaxBatchLineBytes: only counted, no text
    long number = 0;       // the input line it starts on, counted from 1
};

// A run of consecutive input lines (records, for a table: a quoted cell may
// hold line breaks).
struct LineBatch {
    long firstLine = 1;  // the number of lines[0], counted from 1
    std::string text;    // the lines, without their "\n" (a final "\r" is kept)
    std::vector<LineSpan> lines;

    std::string_view Line(std::size_t i) const {
        return std::string_view(text).substr(lines[i].offset, lines[i].length);
    }
};

// Splits an input into batches of lines, reading it in chunks, without ever
// holding more than one batch and one bounded partial line. A last line
// without "\n" is a line too. A UTF-8 byte-order mark at the start is skipped.
class LineSource {
public:
    // Lines and bytes per batch: big enough that handing a batch to a thread
    // costs nothing next to answering it, small enough that the batches in
    // flight stay a few megabytes.
    static constexpr std::size_t BatchLines = 512;
    static constexpr std::size_t BatchBytes = 128 * 1024;

    // `quotedBreaks`: a line break inside double quotes (a CSV or TSV cell)
    // does not end the line.
    explicit LineSource(std::istream& in, bool quotedBreaks = false);

    // Fills `batch` with the next lines; false when the input had none left
    // (or could not be read: see ReadError). A batch ends early when the
    // input has nothing more to give at once (someone typing), so its records
    // need not wait for more lines.
    bool Next(LineBatch& batch);

    // True when the last batch ended because the input paused.
    bool Stalled() const { return stalled_; }

    // True when reading the input failed (rather than reaching its end); the
    // line it cut short is dropped. `errno` of the failure, or 0.
    bool ReadFailed() const { return readFailed_; }
    int ReadError() const { return readError_; }

private:
    bool Refill(bool wait);
    void Take(LineBatch& batch, std::string_view bytes);
    void EndLine(LineBatch& batch);
    void DropLine(LineBatch& batch);

    const char* FindLineEnd(const char* begin, const char* end);

    std::istream& in_;
    bool quotedBreaks_;
    bool inQuotes_ = false;
    bool atStart_ = true;    // nothing taken yet: a byte-order mark may come
    long lineStart_ = 1;     // the line the current one starts on
    long breaksInLine_ = 0;  // line breaks inside quotes so far
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    long nextLine_ = 1;
    bool eof_ = false;
    bool stalled_ = false;
    bool readFailed_ = false;
    int readError_ = 0;
    bool midLine_ = false;  // bytes of a line taken, its end not yet seen
    std::size_t partialOffset_ = 0;
    std::size_t partialLength_ = 0;
    bool partialTooLong_ = false;
};

}  // namespace soten::cli
