#include "cli/batch/LineSource.h"

#include <cerrno>
#include <cstring>
#include <istream>

namespace soten::cli {
namespace {

constexpr std::size_t ReadBytes = 64 * 1024;
constexpr std::string_view Bom = "\xEF\xBB\xBF";

}  // namespace

LineSource::LineSource(std::istream& in, bool quotedBreaks)
    : in_(in), quotedBreaks_(quotedBreaks), buffer_(ReadBytes) {}

// The "\n" that ends the current line, or nothing in [begin, end).
const char* LineSource::FindLineEnd(const char* begin, const char* end) {
    if (!quotedBreaks_) {
        return static_cast<const char*>(
            std::memchr(begin, '\n', static_cast<std::size_t>(end - begin)));
    }
    for (const char* p = begin; p != end; ++p) {
        if (*p == '"') {
            inQuotes_ = !inQuotes_;
        } else if (*p == '\n') {
            if (!inQuotes_) return p;
            ++breaksInLine_;
        }
    }
    return nullptr;
}

bool LineSource::Next(LineBatch& batch) {
    batch.firstLine = nextLine_;
    batch.text.clear();
    batch.lines.clear();
    stalled_ = false;
    while (true) {
        if (position_ == filled_) {
            if (!batch.lines.empty() && !midLine_ && !Refill(false)) {
                stalled_ = !eof_;
                break;
            }
            if (position_ == filled_ && !Refill(true)) {
                if (midLine_ && readFailed_) DropLine(batch);
                if (midLine_) EndLine(batch);
                break;
            }
        }
        const char* begin = buffer_.data() + position_;
        const char* end = buffer_.data() + filled_;
        const char* newline = FindLineEnd(begin, end);
        const char* stop = newline ? newline : end;
        Take(batch, std::string_view(begin, static_cast<std::size_t>(stop - begin)));
        position_ = static_cast<std::size_t>(stop - buffer_.data());
        if (!newline) continue;
        ++position_;
        EndLine(batch);
        if (batch.lines.size() >= BatchLines || batch.text.size() >= BatchBytes) break;
    }
    nextLine_ = lineStart_;
    return !batch.lines.empty();
}

// Takes what the input holds at once; when `wait` is set, waits for at least
// one byte first. False at the end of the input or when it cannot be read
// (or, without `wait`, when nothing is there yet).
bool LineSource::Refill(bool wait) {
    if (eof_) return false;
    position_ = 0;
    filled_ = 0;
    errno = 0;
    std::streamsize got =
        in_.readsome(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    if (got == 0 && wait) {
        const auto c = in_.get();
        if (c == std::char_traits<char>::eof()) {
            eof_ = true;
            readFailed_ = in_.bad();
            readError_ = readFailed_ ? errno : 0;
            return false;
        }
        buffer_[0] = static_cast<char>(c);
        got =
            1 + in_.readsome(buffer_.data() + 1, static_cast<std::streamsize>(buffer_.size() - 1));
    }
    filled_ = static_cast<std::size_t>(got);
    return got > 0;
}

// Adds bytes of the current line; beyond the limit (plus a CR of a CR LF end)
// the line is only counted.
void LineSource::Take(LineBatch& batch, std::string_view bytes) {
    if (!midLine_) partialOffset_ = batch.text.size();
    midLine_ = true;
    if (partialTooLong_) return;
    if (partialLength_ + bytes.size() > MaxBatchLineBytes + 1) {
        partialTooLong_ = true;
        batch.text.resize(partialOffset_);
        partialLength_ = 0;
        return;
    }
    batch.text += bytes;
    partialLength_ += bytes.size();
}

void LineSource::EndLine(LineBatch& batch) {
    LineSpan span;
    span.offset = static_cast<std::uint32_t>(batch.text.size() - partialLength_);
    span.length = static_cast<std::uint32_t>(partialLength_);
    span.number = lineStart_;
    lineStart_ += 1 + breaksInLine_;
    breaksInLine_ = 0;
    inQuotes_ = false;
    const bool endsInCr = partialLength_ > 0 && batch.text.back() == '\r';
    span.tooLong = partialTooLong_ || span.length - (endsInCr ? 1 : 0) > MaxBatchLineBytes;
    if (span.tooLong) {
        batch.text.resize(span.offset);
        span.length = 0;
    }
    if (atStart_) {
        atStart_ = false;
        if (!span.tooLong && std::string_view(batch.text).substr(span.offset).starts_with(Bom)) {
            batch.text.erase(span.offset, Bom.size());
            span.length -= static_cast<std::uint32_t>(Bom.size());
        }
    }
    batch.lines.push_back(span);
    partialLength_ = 0;
    partialTooLong_ = false;
    midLine_ = false;
}

void LineSource::DropLine(LineBatch& batch) {
    breaksInLine_ = 0;
    batch.text.resize(batch.text.size() - partialLength_);
    partialLength_ = 0;
    partialTooLong_ = false;
    midLine_ = false;
}

}  // namespace soten::cli
