#include "cli/batch/BatchStream.h"

#include <sched.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
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
#include "cli/batch/LineSource.h"
#include "cli/batch/TableInput.h"
#include "cli/batch/WorkbookInput.h"

namespace soten::cli {
namespace {

// A batch of input lines and, once answered, their records.
struct Chunk {
    LineBatch input;
    std::string output;
    BatchStatus status;
    std::exception_ptr failure;  // what stopped a thread answering it
    bool done = false;
};

void Answer(BatchLine& answerer, Chunk& chunk) {
    chunk.output.clear();
    const LineBatch& input = chunk.input;
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        const long number = input.lines[i].number;
        chunk.status.Add(input.lines[i].tooLong
                             ? answerer.AnswerTooLong(number, chunk.output)
                             : answerer.Answer(input.Line(i), number, chunk.output));
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

unsigned DefaultJobs() {
    unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) {
        processors = static_cast<unsigned>(CPU_COUNT(&set));
    }
    // Threads beyond the processors other programs leave idle only wait
    // for each other: on a busy machine one thread is faster than two.
    double load = 0;
    if (getloadavg(&load, 1) == 1 && load > 0) {
        const auto busy = static_cast<unsigned>(load);
        processors = busy >= processors ? 1 : processors - busy;
    }
    return std::min(processors, MaxJobs);
}

namespace {

// The layout of a table, from the first row that is not blank in the
// first batch of lines. Nothing (with `error` set) when the column options
// name columns that are not there. A first row in the wrong encoding says
// nothing: its rows get their errors, and the first two columns are read.
// So does an input with no row at all.
std::optional<TableLayout> FirstRowLayout(const LineBatch& batch, const CliOptions& options,
                                          long& headerLine, std::string& error) {
    std::vector<std::string> cells;
    for (std::size_t i = 0; i < batch.lines.size(); ++i) {
        if (batch.lines[i].tooLong) return TableLayout{false, {}, 0, 1, -1, -1};
        std::string_view line = batch.Line(i);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string text(line);
        if (options.inputEncoding == Encoding::Cp932) {
            auto utf8 = Cp932::ToUtf8(line);
            if (!utf8) return TableLayout{false, {}, 0, 1, -1, -1};
            text = std::move(*utf8);
        } else if (!Cp932::IsUtf8(text)) {
            return TableLayout{false, {}, 0, 1, -1, -1};
        }
        SplitRow(text, options.input == InputFormat::Csv ? ',' : '\t', cells);
        if (std::all_of(cells.begin(), cells.end(),
                        [](const std::string& cell) { return TrimCell(cell).empty(); })) {
            continue;
        }
        auto layout = ChooseLayout(options, cells, error);
        if (layout && layout->header) headerLine = batch.lines[i].number;
        return layout;
    }
    return TableLayout{false, {}, 0, 1, -1, -1};
}

// The run over the batches of a LineSource or of a sheet's rows.
template <class Source>
int RunBatches(Source& source, std::ostream& out, std::ostream& err, const Tables& tables,
               const CliOptions& options, unsigned jobs) {
    BatchStatus status;
    const bool table = options.input != InputFormat::Text;
    BatchInput input{options.input, options.inputEncoding, nullptr, 0};
    // A table's first rows are read before anything is answered: the first
    // one chooses the header and the columns.
    std::optional<LineBatch> pending;
    std::optional<TableLayout> layout;
    if (table) {
        pending.emplace();
        if (!source.Next(*pending)) pending.reset();
        std::string error;
        layout = FirstRowLayout(pending ? *pending : LineBatch(), options, input.headerLine, error);
        if (!layout) {
            err << "soten-cli: " << TerminalText(error) << "\n";
            return ExitUsage;
        }
        input.layout = &*layout;
    }
    const auto next = [&](LineBatch& batch) {
        if (!pending) return source.Next(batch);
        std::swap(batch, *pending);
        pending.reset();
        return true;
    };
    {
        std::string header;
        if (options.bom) header = "\xEF\xBB\xBF";
        RecordWriter(tables, RecordOptionsOf(options, layout && options.keepColumns
                                                          ? layout->columnNames
                                                          : std::vector<std::string>()))
            .AppendHeader(header);
        if (!header.empty() && !Write(out, err, header)) return ExitIo;
    }

    if (jobs <= 1) {
        BatchLine answerer(tables, options, input);
        Chunk chunk;
        while (next(chunk.input)) {
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
    if (source.ReadFailed()) {
        err << "soten-cli: cannot read the input";
        if (source.ReadError() != 0) err << ": " << std::strerror(source.ReadError());
        err << "\n";
        return ExitIo;
    }
    return status.ExitStatus();
}

}  // namespace

int RunBatchStream(std::istream& in, std::ostream& out, std::ostream& err, const Tables& tables,
                   const CliOptions& options, unsigned jobs) {
    LineSource source(in, options.input != InputFormat::Text);
    return RunBatches(source, out, err, tables, options, jobs);
}

int RunBatchStream(WorkbookInput& in, std::ostream& out, std::ostream& err, const Tables& tables,
                   const CliOptions& options, unsigned jobs) {
    return RunBatches(in, out, err, tables, options, jobs);
}

}  // namespace soten::cli
