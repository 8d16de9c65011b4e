#include "cli/batch/BatchStream.h"

#include <sched.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <exception>
#include <istream>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>
#include <vector>

#include "analysis/text/Cp932.h"
#include "cli/app/CliRunner.h"
#include "cli/app/TerminalText.h"
#include "cli/batch/BatchLine.h"
#include "cli/batch/BatchSummary.h"
#include "cli/batch/LineSource.h"
#include "cli/batch/TableInput.h"
#include "cli/batch/WorkbookInput.h"
#include "platform/files/FileErrors.h"

namespace soten::cli {
namespace {

// A batch of input lines and, once answered, their records.
struct Chunk {
    LineBatch input;
    std::string output;
    RecordCounts counts;
    bool cp932 = false;          // --output-encoding cp932
    long replaced = 0;           // characters cp932 lacks, written as "?"
    std::exception_ptr failure;  // what stopped a thread answering it
    bool done = false;
};

// Turns UTF-8 records into code page 932 and returns how many characters it
// lacked: each is written as "?", as spreadsheets save such a character, so
// that no row is lost; the summary says how many.
long ToCp932(std::string& records) {
    if (auto exact = Cp932::FromUtf8(records)) {
        records = std::move(*exact);
        return 0;
    }
    const auto marked = static_cast<long>(std::count(records.begin(), records.end(), '\x1A'));
    std::string lossy = Cp932::NameFromUtf8(records).value_or(std::string());
    long replaced = -marked;
    for (char& c : lossy) {
        if (c == '\x1A') {
            c = '?';
            ++replaced;
        }
    }
    records = std::move(lossy);
    return replaced;
}

void Answer(BatchLine& answerer, Chunk& chunk) {
    chunk.output.clear();
    const RecordCounts before = answerer.Counts();
    const LineBatch& input = chunk.input;
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        answerer.Answer(input, i, chunk.output);
    }
    chunk.counts = answerer.Counts() - before;
    chunk.replaced = chunk.cp932 ? ToCp932(chunk.output) : 0;
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
    Workers(unsigned count, const Tables& tables, const CliOptions& options,
            const BatchInput& input) {
        for (unsigned i = 0; i < count; ++i) {
            threads_.emplace_back(
                [this, &tables, &options, &input] { Work(tables, options, input); });
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
    void Work(const Tables& tables, const CliOptions& options, const BatchInput& input) {
        BatchLine answerer(tables, options, input);
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

namespace {

// The threads of other programs running or ready to run now, from the
// kernel's run queue ("0.50 0.40 0.30 3/131 2870": 3 runnable, this one
// among them). The load averages would lag: a minute after another job has
// ended, they still count it. Without /proc, the 1-minute average.
unsigned OtherRunnableThreads() {
    if (std::FILE* file = std::fopen("/proc/loadavg", "re")) {
        double averages[3];
        unsigned runnable = 0;
        unsigned total = 0;
        const int read = std::fscanf(file, "%lf %lf %lf %u/%u", &averages[0], &averages[1],
                                     &averages[2], &runnable, &total);
        std::fclose(file);
        if (read == 5) return runnable > 1 ? runnable - 1 : 0;
    }
    double load = 0;
    return getloadavg(&load, 1) == 1 && load > 0 ? static_cast<unsigned>(load) : 0;
}

}  // namespace

unsigned DefaultJobs() {
    unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) {
        processors = static_cast<unsigned>(CPU_COUNT(&set));
    }
    // Threads beyond the processors other programs leave idle only wait
    // for each other: on a busy machine one thread is faster than two.
    const unsigned busy = OtherRunnableThreads();
    processors = busy >= processors ? 1 : processors - busy;
    return std::min(processors, MaxJobs);
}

namespace {

enum class FirstRow { NotYet, Found, Unreadable };

// Looks in `batch` for the table's first row that is neither blank nor
// skipped, and puts its cells (in UTF-8) in `cells`. Unreadable when that
// row is too long, badly encoded or has a quote that does not close: its
// own record says so, and the first two columns are read.
FirstRow FindFirstRow(const LineBatch& batch, const CliOptions& options, Encoding encoding,
                      std::vector<std::string>& cells, long& row) {
    for (std::size_t i = 0; i < batch.lines.size(); ++i) {
        const LineSpan& span = batch.lines[i];
        if (span.row <= options.skipRows) continue;
        row = span.row;
        if (span.tooLong || span.unclosedQuote) return FirstRow::Unreadable;
        if (batch.split) {
            const auto first = batch.cells.begin() + span.offset;
            cells.assign(first, first + span.length);
        } else {
            std::string_view line = batch.Line(i);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            std::string text(line);
            if (encoding == Encoding::Cp932) {
                auto utf8 = Cp932::ToUtf8(line);
                if (!utf8) return FirstRow::Unreadable;
                text = std::move(*utf8);
            } else if (!Cp932::IsUtf8(text)) {
                return FirstRow::Unreadable;
            }
            SplitRow(text, options.input == InputFormat::Csv ? ',' : '\t', cells);
        }
        if (!std::all_of(cells.begin(), cells.end(),
                         [](const std::string& cell) { return TrimCell(cell).empty(); })) {
            return FirstRow::Found;
        }
    }
    return FirstRow::NotYet;
}

}  // namespace

int RunBatchStream(std::istream& in, std::ostream& out, std::ostream& err, const Tables& tables,
                   const CliOptions& options, unsigned jobs) {
    const char separator = options.input == InputFormat::Csv   ? ','
                           : options.input == InputFormat::Tsv ? '\t'
                                                               : 0;
    LineSource source(in, separator, options.inputEncoding == Encoding::Utf16);
    return RunBatchRows(source, out, err, tables, options, jobs);
}

int RunBatchRows(RowSource& source, std::ostream& out, std::ostream& err, const Tables& tables,
                 const CliOptions& options, unsigned jobs) {
    BatchSummary summary;
    const bool table = options.input != InputFormat::Text;
    BatchInput input{options.input, options.inputEncoding, nullptr, 0, options.skipRows};
    // A table's rows are read up to its first one before anything is
    // answered, however long that takes: it chooses the header and the
    // columns. The blank rows before it have no records and are dropped.
    std::optional<LineBatch> pending(std::in_place);
    std::optional<TableLayout> layout;
    FirstRow found = FirstRow::NotYet;
    std::vector<std::string> cells;
    long row = 0;
    if (options.inputEncoding == Encoding::Utf16) input.encoding = Encoding::Utf8;
    while (source.Next(*pending)) {
        // The source tells UTF-16 by its first bytes, and hands on UTF-8.
        if (source.Utf16()) input.encoding = Encoding::Utf8;
        if (!table) break;
        found = FindFirstRow(*pending, options, input.encoding, cells, row);
        if (found != FirstRow::NotYet) break;
    }
    if (pending->lines.empty() || (table && found == FirstRow::NotYet)) pending.reset();
    if (table) {
        layout = TableLayout{false, {}, 0, 1, -1, -1};
        if (found == FirstRow::Found) {
            std::string error;
            layout = ChooseLayout(options, cells, error);
            if (!layout) {
                err << "soten-cli: " << TerminalText(error) << "\n";
                return ExitUsage;
            }
            if (layout->header) input.headerRow = row;
            err << "soten-cli: " << TerminalText(DescribeLayout(*layout, row)) << "\n";
        }
        input.layout = &*layout;
    }
    bool first = true;
    const auto next = [&](LineBatch& batch) {
        bool got = true;
        if (pending) {
            std::swap(batch, *pending);
            pending.reset();
        } else {
            got = source.Next(batch);
        }
        if (got && first) summary.SetTraits(TraitsOf(batch));
        first = false;
        return got;
    };
    {
        std::string header;
        if (options.bom) header = "\xEF\xBB\xBF";
        RecordWriter(tables, RecordOptionsOf(options, layout && options.keepColumns
                                                          ? layout->columnNames
                                                          : std::vector<std::string>()))
            .AppendHeader(header);
        if (options.outputEncoding == Encoding::Cp932) summary.AddReplaced(ToCp932(header));
        if (!header.empty() && !Write(out, err, header)) return ExitIo;
    }

    if (jobs <= 1) {
        BatchLine answerer(tables, options, input);
        Chunk chunk;
        chunk.cp932 = options.outputEncoding == Encoding::Cp932;
        while (next(chunk.input)) {
            Answer(answerer, chunk);
            summary.Add(chunk.counts);
            summary.AddReplaced(chunk.replaced);
            if (!Write(out, err, chunk.output, source.Stalled())) return ExitIo;
        }
    } else {
        // One chunk in flight per thread and two more waiting, so no thread
        // idles while the oldest is written. The chunks are reused, so their
        // buffers are allocated once.
        const std::size_t window = static_cast<std::size_t>(jobs) + 2;
        std::vector<std::shared_ptr<Chunk>> spare;
        for (std::size_t i = 0; i < window; ++i) spare.push_back(std::make_shared<Chunk>());
        Workers workers(jobs - 1, tables, options, input);
        BatchLine helper(tables, options, input);
        std::deque<std::shared_ptr<Chunk>> inFlight;
        bool inputLeft = true;
        while (inputLeft || !inFlight.empty()) {
            while (inputLeft && !spare.empty()) {
                const std::shared_ptr<Chunk> chunk = spare.back();
                inputLeft = next(chunk->input);
                if (!inputLeft) break;
                spare.pop_back();
                chunk->done = false;
                chunk->cp932 = options.outputEncoding == Encoding::Cp932;
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
            summary.Add(oldest->counts);
            summary.AddReplaced(oldest->replaced);
            const bool flush = inFlight.empty() && source.Stalled();
            if (!Write(out, err, oldest->output, flush)) return ExitIo;
            spare.push_back(oldest);
        }
    }
    if (!Write(out, err, {}, true)) return ExitIo;
    err << summary.Text(options);
    if (source.ReadFailed()) {
        err << "soten-cli: 入力を読めません";
        if (source.ReadError() != 0) err << "。" << platform::FileErrorReason(source.ReadError());
        err << "\n";
        return ExitIo;
    }
    return summary.ExitStatus();
}

int RunBatchStream(WorkbookInput& in, std::ostream& out, std::ostream& err, const Tables& tables,
                   const CliOptions& options, unsigned jobs) {
    return RunBatchRows(in, out, err, tables, options, jobs);
}

}  // namespace soten::cli
