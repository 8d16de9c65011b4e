#include "cli/batch/LineSource.h"
#include "cli/batch/NameText.h"

#include <cerrno>
#include <cstring>
#include <istream>

namespace soten::cli {
namespace {

constexpr std::size_t ReadBytes = 64 * 1024;
constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
// Stands for UTF-16 that is no character (a lone surrogate, an odd last
// byte): not UTF-8, so its row is answered as badly encoded.
constexpr char NotUtf8 = '\xFF';

}  // namespace

LineSource::LineSource(std::istream& in, char separator, bool utf16)
    : in_(in), separator_(separator), utf16_(utf16), raw_(ReadBytes) {}

bool LineSource::Next(LineBatch& batch) {
    batch.firstLine = nextLine_;
    batch.text.clear();
    batch.lines.clear();
    batch.split = false;
    stalled_ = false;
    while (batch.lines.size() < BatchLines && batch.text.size() < BatchBytes) {
        if (Scan(batch)) continue;
        if (!eof_) {
            const bool midRow = start_ < buffer_.size() || skipping_;
            if (!batch.lines.empty() && !midRow && !Refill(false)) {
                stalled_ = !eof_;
                break;
            }
            if (!eof_ && (batch.lines.empty() || midRow)) Refill(true);
            continue;
        }
        // The end of the input: what is left is the last row.
        if (readFailed_) {
            buffer_.clear();
            start_ = scan_ = 0;
            skipping_ = false;
            break;
        }
        if (skipping_) {
            Emit(batch, start_, start_, 1);
        } else if (start_ < buffer_.size()) {
            if (state_ == State::Quoted && quoteLineEnd_ != 0) {
                EmitUnclosed(batch);
                continue;
            }
            const bool open = state_ == State::Quoted;
            Emit(batch, buffer_.size(), buffer_.size(), 1);
            batch.lines.back().unclosedQuote = open;
        }
        break;
    }
    if (!batch.lines.empty()) batch.firstLine = batch.lines.front().number;
    return !batch.lines.empty();
}

// Scans the current row on; true when it ended (and is in `batch`), false
// when more input is needed to tell.
bool LineSource::Scan(LineBatch& batch) {
    if (skipping_) return SkipTooLong(batch);
    const char* data = buffer_.data();
    const std::size_t size = buffer_.size();
    std::size_t i = scan_;
    for (; i < size; ++i) {
        const char c = data[i];
        if (c == '\n' || c == '\r') {
            std::size_t end = 1;
            if (c == '\r') {
                if (i + 1 == size && !eof_) break;  // a CR LF may be cut in two
                if (i + 1 < size && data[i + 1] == '\n') end = 2;
            }
            if (state_ != State::Quoted) {
                scan_ = i;
                Emit(batch, i, i + end, breaks_ + 1);
                return true;
            }
            ++breaks_;
            if (quoteLineEnd_ == 0) {
                quoteLineEnd_ = i - start_;
                quoteLineEndSize_ = end;
            }
            i += end - 1;
            if (++cellBreaks_ >= MaxCellLines) {
                EmitUnclosed(batch);
                return true;
            }
            continue;
        }
        if (separator_ == 0) continue;
        switch (state_) {
            case State::FieldStart:
                if (c == '"') {
                    state_ = State::Quoted;
                    quoteLine_ = breaks_;
                    cellBreaks_ = 0;
                    quoteLineEnd_ = 0;
                } else if (c != separator_) {
                    state_ = State::Unquoted;
                }
                break;
            case State::Unquoted:
                if (c == separator_) state_ = State::FieldStart;
                break;
            case State::Quoted:
                if (c == '"') state_ = State::QuoteInQuoted;
                break;
            case State::QuoteInQuoted:
                // A doubled quote is one quote; anything else after the
                // closing one is kept as it is, up to the separator.
                state_ = c == '"'          ? State::Quoted
                         : c == separator_ ? State::FieldStart
                                           : State::Unquoted;
                break;
        }
    }
    scan_ = i;
    if (size - start_ > MaxRowBytes) {
        if (state_ == State::Quoted && quoteLineEnd_ != 0) {
            EmitUnclosed(batch);
            return true;
        }
        // Too long to hold: counted up to the line end, its bytes dropped.
        skipping_ = true;
        start_ = scan_ = size;
    }
    return false;
}

// Drops the bytes of a row over the limit up to its line end.
bool LineSource::SkipTooLong(LineBatch& batch) {
    const char* data = buffer_.data();
    const std::size_t size = buffer_.size();
    for (std::size_t i = scan_; i < size; ++i) {
        if (data[i] != '\n' && data[i] != '\r') continue;
        std::size_t end = 1;
        if (data[i] == '\r') {
            if (i + 1 == size && !eof_) {
                start_ = scan_ = i;
                return false;
            }
            if (i + 1 < size && data[i + 1] == '\n') end = 2;
        }
        Emit(batch, i, i + end, breaks_ + 1);
        return true;
    }
    start_ = scan_ = size;
    return false;
}

// Ends the current row at `end`; the next one starts at `next`, `lines`
// lines on.
void LineSource::Emit(LineBatch& batch, std::size_t end, std::size_t next, long lines) {
    LineSpan span;
    span.number = nextLine_;
    span.row = nextRow_;
    span.tooLong = skipping_ || end - start_ > MaxRowBytes;
    if (!span.tooLong) {
        span.offset = static_cast<std::uint32_t>(batch.text.size());
        span.length = static_cast<std::uint32_t>(end - start_);
        batch.text.append(buffer_, start_, end - start_);
    } else {
        span.offset = static_cast<std::uint32_t>(batch.text.size());
    }
    batch.lines.push_back(span);
    nextLine_ += lines;
    ++nextRow_;
    start_ = scan_ = next;
    ResetRow();
}

// The row with a quoted cell that does not close: its text up to the end of
// the line the quote opened on. Reading goes on at the next line.
void LineSource::EmitUnclosed(LineBatch& batch) {
    const std::size_t end = start_ + quoteLineEnd_;
    const std::size_t next = end + quoteLineEndSize_;
    Emit(batch, end, next, quoteLine_ + 1);
    batch.lines.back().unclosedQuote = true;
}

void LineSource::ResetRow() {
    state_ = State::FieldStart;
    breaks_ = 0;
    cellBreaks_ = 0;
    quoteLineEnd_ = 0;
    quoteLineEndSize_ = 0;
    quoteLine_ = 0;
    skipping_ = false;
}

// Drops the rows already handed on from the buffer.
void LineSource::Compact() {
    if (start_ == 0) return;
    buffer_.erase(0, start_);
    scan_ -= start_;
    start_ = 0;
}

// Takes what the input holds at once; when `wait` is set, waits for at least
// one byte first. False at the end of the input or when it cannot be read
// (or, without `wait`, when nothing is there yet).
bool LineSource::Refill(bool wait) {
    if (eof_) return false;
    Compact();
    errno = 0;
    std::streamsize got = in_.readsome(raw_.data(), static_cast<std::streamsize>(raw_.size()));
    if (got == 0 && wait) {
        const auto c = in_.get();
        if (c == std::char_traits<char>::eof()) {
            eof_ = true;
            readFailed_ = in_.bad();
            readError_ = readFailed_ ? errno : 0;
            Append(nullptr, 0);
            return false;
        }
        raw_[0] = static_cast<char>(c);
        got = 1 + in_.readsome(raw_.data() + 1, static_cast<std::streamsize>(raw_.size() - 1));
    }
    Append(raw_.data(), static_cast<std::size_t>(got));
    return got > 0;
}

// Adds bytes read to the buffer: the first few tell the encoding by their
// byte-order mark, which is dropped.
void LineSource::Append(const char* bytes, std::size_t size) {
    if (atStart_) {
        pendingRaw_.append(bytes, size);
        if (pendingRaw_.size() < Utf8Bom.size() && !eof_) return;
        atStart_ = false;
        std::string first = std::move(pendingRaw_);
        pendingRaw_.clear();
        std::string_view view(first);
        if (view.starts_with("\xFF\xFE") || view.starts_with("\xFE\xFF")) {
            utf16_ = true;
            bigEndian_ = view[0] == '\xFE';
            view.remove_prefix(2);
        } else if (!utf16_ && view.starts_with(Utf8Bom)) {
            view.remove_prefix(Utf8Bom.size());
        }
        if (utf16_) {
            AppendUtf16(view.data(), view.size());
        } else {
            buffer_.append(view);
        }
        return;
    }
    if (utf16_) {
        AppendUtf16(bytes, size);
    } else {
        buffer_.append(bytes, size);
    }
}

void LineSource::AppendUtf16(const char* bytes, std::size_t size) {
    pendingRaw_.append(bytes, size);
    const auto* data = reinterpret_cast<const unsigned char*>(pendingRaw_.data());
    const std::size_t count = pendingRaw_.size();
    const auto unitAt = [&](std::size_t i) {
        return static_cast<char16_t>(bigEndian_ ? data[i] << 8 | data[i + 1]
                                                : data[i + 1] << 8 | data[i]);
    };
    std::size_t i = 0;
    while (i + 2 <= count) {
        const char16_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00) {
            if (i + 4 > count) break;  // its pair is still to come
            const char16_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00), buffer_);
                i += 4;
                continue;
            }
            buffer_.push_back(NotUtf8);
        } else if (unit >= 0xDC00 && unit < 0xE000) {
            buffer_.push_back(NotUtf8);
        } else {
            AppendUtf8(unit, buffer_);
        }
        i += 2;
    }
    pendingRaw_.erase(0, i);
    if (eof_ && !pendingRaw_.empty()) {
        buffer_.push_back(NotUtf8);
        pendingRaw_.clear();
    }
}

}  // namespace soten::cli
