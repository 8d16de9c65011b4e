#include "BatchStream.h"

#include <sched.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <istream>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>
#include <vector>

#include "BatchLine.h"
#include "CliRunner.h"

namespace soten::cli {
namespace {

// Lines and bytes per chunk: big enough that handing a chunk to a thread
// costs nothing next to answering it, small enough that the chunks in flight
// stay a few megabytes.
constexpr std::size_t ChunkLines = 512;
constexpr std::size_t ChunkBytes = 128 * 1024;
constexpr std::size_t ReadBytes = 64 * 1024;

struct LineSpan {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    bool tooLong = false;
};

// A run of consecutive input lines and, once answered, their records.
struct Chunk {
    long firstLine = 1;
    std::string text;  // the lines, without their "\n"
    std::vector<LineSpan> lines;
    std::string output;
    BatchStatus status;
    std::exception_ptr failure;  // what stopped a thread answering it
    bool done = false;
};

// Splits the input into lines without ever holding more than one chunk and
// one bounded partial line.
class LineSource {
public:
    explicit LineSource(std::istream& in) : in_(in), buffer_(ReadBytes) {}

    // Fills `chunk` with the next lines; false when the input had none left.
    // A chunk ends early when the input has nothing more to give at once
    // (someone typing), so its records need not wait for more lines.
    bool Next(Chunk& chunk, long& nextLine) {
        chunk.firstLine = nextLine;
        chunk.text.clear();
        chunk.lines.clear();
        stalled_ = false;
        while (true) {
            if (position_ == filled_) {
                if (!chunk.lines.empty() && !midLine_ && !Refill(false)) {
                    stalled_ = !eof_;
                    break;
                }
                if (position_ == filled_ && !Refill(true)) {
                    if (midLine_) EndLine(chunk);
                    break;
                }
            }
            const char* begin = buffer_.data() + position_;
            const char* end = buffer_.data() + filled_;
            const char* newline = static_cast<const char*>(std::memchr(begin, '\n', end - begin));
            const char* stop = newline ? newline : end;
            Take(chunk, std::string_view(begin, static_cast<std::size_t>(stop - begin)));
            position_ = static_cast<std::size_t>(stop - buffer_.data());
            if (!newline) continue;
            ++position_;
            EndLine(chunk);
            if (chunk.lines.size() >= ChunkLines || chunk.text.size() >= ChunkBytes) break;
        }
        nextLine = chunk.firstLine + static_cast<long>(chunk.lines.size());
        return !chunk.lines.empty();
    }

    // True when the last chunk ended because the input paused.
    bool Stalled() const { return stalled_; }

private:
    // Takes what the input holds at once; when `wait` is set, waits for at
    // least one byte first. False at the end of the input (or, without
    // `wait`, when nothing is there yet).
    bool Refill(bool wait) {
        if (eof_) return false;
        position_ = 0;
        filled_ = 0;
        std::streamsize got =
            in_.readsome(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        if (got == 0 && wait) {
            const auto c = in_.get();
            if (c == std::char_traits<char>::eof()) {
                eof_ = true;
                return false;
            }
            buffer_[0] = static_cast<char>(c);
            got = 1 + in_.readsome(buffer_.data() + 1,
                                   static_cast<std::streamsize>(buffer_.size() - 1));
        }
        filled_ = static_cast<std::size_t>(got);
        return got > 0;
    }

    // Adds bytes of the current line; beyond the limit (plus a CR of a CR LF
    // end) the line is only counted.
    void Take(Chunk& chunk, std::string_view bytes) {
        if (!midLine_) partialOffset_ = chunk.text.size();
        midLine_ = true;
        if (partialTooLong_) return;
        if (partialLength_ + bytes.size() > MaxBatchLineBytes + 1) {
            partialTooLong_ = true;
            chunk.text.resize(partialOffset_);
            partialLength_ = 0;
            return;
        }
        chunk.text += bytes;
        partialLength_ += bytes.size();
    }

    void EndLine(Chunk& chunk) {
        LineSpan span;
        span.offset = static_cast<std::uint32_t>(chunk.text.size() - partialLength_);
        span.length = static_cast<std::uint32_t>(partialLength_);
        const bool endsInCr = partialLength_ > 0 && chunk.text.back() == '\r';
        span.tooLong = partialTooLong_ || span.length - (endsInCr ? 1 : 0) > MaxBatchLineBytes;
        if (span.tooLong) {
            chunk.text.resize(span.offset);
            span.length = 0;
        }
        chunk.lines.push_back(span);
        partialLength_ = 0;
        partialTooLong_ = false;
        midLine_ = false;
    }

    std::istream& in_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    bool eof_ = false;
    bool stalled_ = false;
    bool midLine_ = false;  // bytes of a line taken, its end not yet seen
    std::size_t partialOffset_ = 0;
    std::size_t partialLength_ = 0;
    bool partialTooLong_ = false;
};

void Answer(BatchLine& answerer, Chunk& chunk) {
    chunk.output.clear();
    long number = chunk.firstLine;
    for (const LineSpan& span : chunk.lines) {
        const LineOutcome outcome =
            span.tooLong
                ? answerer.AnswerTooLong(number, chunk.output)
                : answerer.Answer(std::string_view(chunk.text).substr(span.offset, span.length),
                                  number, chunk.output);
        chunk.status.Add(outcome);
        ++number;
    }
}

// Writes a chunk's records; false (with a message on `err`) when the output
// refuses them.
bool Write(std::ostream& out, std::ostream& err, const std::string& bytes, bool flush = false) {
    errno = 0;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (flush) out.flush();
    if (out) return true;
    ReportWriteFailure(err, errno);
    return false;
}

// Threads that answer chunks from a queue; the caller reads, hands out,
// answers while it waits, and writes in input order.
class Workers {
public:
    Workers(unsigned count, const Tables& tables, const CliOptions& options) {
        for (unsigned i = 0; i < count; ++i) {
            threads_.emplace_back([this, &tables, &options] { Work(tables, options); });
        }
    }
    ~Workers() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
            queue_.clear();
        }
        wake_.notify_all();
        for (std::thread& thread : threads_) thread.join();
    }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;

    void Submit(const std::shared_ptr<Chunk>& chunk) {
        {
            const std::lock_guard lock(mutex_);
            queue_.push_back(chunk);
        }
        wake_.notify_one();
    }

    // Waits until `chunk` is answered, answering queued chunks with
    // `helper` meanwhile, so the calling thread is one of the workers too.
    void WaitFor(const Chunk& chunk, BatchLine& helper) {
        std::unique_lock lock(mutex_);
        while (!chunk.done) {
            if (queue_.empty()) {
                finished_.wait(lock);
                continue;
            }
            AnswerNext(helper, lock);
        }
    }

private:
    void Work(const Tables& tables, const CliOptions& options) {
        BatchLine answerer(tables, options);
        std::unique_lock lock(mutex_);
        while (true) {
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            AnswerNext(answerer, lock);
        }
    }

    // Takes the first queued chunk and answers it outside the lock.
    void AnswerNext(BatchLine& answerer, std::unique_lock<std::mutex>& lock) {
        const std::shared_ptr<Chunk> chunk = queue_.front();
        queue_.pop_front();
        lock.unlock();
        try {
            Answer(answerer, *chunk);
        } catch (...) {
            chunk->failure = std::current_exception();
        }
        lock.lock();
        chunk->done = true;
        finished_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    std::deque<std::shared_ptr<Chunk>> queue_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace

unsigned DefaultJobs() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int count = CPU_COUNT(&set);
        if (count > 0) return static_cast<unsigned>(count);
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

int RunBatchStream(std::istream& in, std::ostream& out, std::ostream& err, const Tables& tables,
                   const CliOptions& options, unsigned jobs) {
    BatchStatus status;
    LineSource source(in);
    long nextLine = 1;
    {
        std::string header;
        RecordWriter(tables, RecordOptionsOf(options)).AppendHeader(header);
        if (!header.empty() && !Write(out, err, header)) return ExitIo;
    }

    if (jobs <= 1) {
        BatchLine answerer(tables, options);
        Chunk chunk;
        while (source.Next(chunk, nextLine)) {
            Answer(answerer, chunk);
            status.Add(chunk.status);
            chunk.status = {};
            if (!Write(out, err, chunk.output, source.Stalled())) return ExitIo;
        }
    } else {
        // One chunk in flight per thread and two more waiting, so no thread
        // idles while the oldest is written. The chunks are reused, so their
        // buffers are allocated once.
        const std::size_t window = static_cast<std::size_t>(jobs) + 2;
        std::vector<std::shared_ptr<Chunk>> spare;
        for (std::size_t i = 0; i < window; ++i) spare.push_back(std::make_shared<Chunk>());
        Workers workers(jobs - 1, tables, options);
        BatchLine helper(tables, options);
        std::deque<std::shared_ptr<Chunk>> inFlight;
        bool inputLeft = true;
        while (inputLeft || !inFlight.empty()) {
            while (inputLeft && !spare.empty()) {
                const std::shared_ptr<Chunk> chunk = spare.back();
                inputLeft = source.Next(*chunk, nextLine);
                if (!inputLeft) break;
                spare.pop_back();
                chunk->done = false;
                chunk->status = {};
                chunk->failure = nullptr;
                inFlight.push_back(chunk);
                workers.Submit(chunk);
                if (source.Stalled()) break;
            }
            if (inFlight.empty()) break;
            const std::shared_ptr<Chunk> oldest = inFlight.front();
            inFlight.pop_front();
            workers.WaitFor(*oldest, helper);
            if (oldest->failure) std::rethrow_exception(oldest->failure);
            status.Add(oldest->status);
            const bool flush = inFlight.empty() && source.Stalled();
            if (!Write(out, err, oldest->output, flush)) return ExitIo;
            spare.push_back(oldest);
        }
    }
    if (!Write(out, err, {}, true)) return ExitIo;
    return status.ExitStatus();
}

}  // namespace soten::cli
