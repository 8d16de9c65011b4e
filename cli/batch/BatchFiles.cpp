#include "cli/batch/BatchFiles.h"

#include <cerrno>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>

#include "analysis/records/RecordWriter.h"
#include "cli/app/CliRunner.h"
#include "cli/app/TerminalText.h"
#include "cli/batch/BatchLine.h"
#include "cli/batch/BatchStream.h"
#include "cli/batch/TableInput.h"
#include "cli/batch/WorkbookInput.h"
#include "cli/batch/WorkbookModule.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileReplacement.h"

namespace soten::cli {
namespace {

// The bytes of an output stream, into the new file of a replacement.
class ReplacementBuffer : public std::streambuf {
public:
    explicit ReplacementBuffer(platform::FileReplacement& file) : file_(file) {
        setp(buffer_, buffer_ + sizeof buffer_);
    }
    int Error() const { return error_; }
    bool Wrote() const { return wrote_ || pptr() != pbase(); }

protected:
    int_type overflow(int_type c) override {
        if (!Flush()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Flush() ? 0 : -1; }

private:
    bool Flush() {
        if (error_ == 0 && pptr() != pbase()) {
            wrote_ = true;
            error_ = file_.Write(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        }
        setp(buffer_, buffer_ + sizeof buffer_);
        return error_ == 0;
    }

    platform::FileReplacement& file_;
    char buffer_[64 * 1024];
    int error_ = 0;
    bool wrote_ = false;
};

// The keys of the result columns of a TSV record: they follow the input
// columns, whatever those are.
std::vector<std::string> ResultKeys(const Tables& tables, const CliOptions& options) {
    std::string header;
    RecordWriter(tables, RecordOptionsOf(options)).AppendHeader(header);
    if (!header.empty() && header.back() == '\n') header.pop_back();
    std::vector<std::string> keys;
    SplitRow(header, '\t', keys);
    return keys;
}

void SayCannotWrite(std::ostream& err, const std::string& path, int error) {
    err << "soten-cli: "
        << TerminalText(platform::FileCreateErrorMessage(path, platform::FileErrorReason(error)))
        << "\n";
}

// Runs the batch from the input chosen, into `out`.
class BatchRun {
public:
    BatchRun(CliOptions options, std::istream& in, std::ostream& err, const Tables& tables,
             unsigned jobs)
        : options_(std::move(options)), in_(in), err_(err), tables_(tables), jobs_(jobs) {}

    // Opens the input; an exit status when it cannot be read.
    std::optional<int> Open() {
        if (options_.inputPath.empty()) return std::nullopt;
        const std::string& path = options_.inputPath;
        if (!options_.inputGiven && StartsLikeZip(path)) {
            try {
                if (const auto kind = Workbooks().detect(path)) {
                    options_.input =
                        *kind == WorkbookKind::Xlsx ? InputFormat::Xlsx : InputFormat::Ods;
                }
            } catch (const WorkbookError& error) {
                err_ << "soten-cli: " << TerminalText(error.what()) << "\n";
                return ExitIo;
            }
        }
        if (!options_.inputGiven) {
            std::string error;
            if (!CheckBatchTable(options_, error)) {
                err_ << "soten-cli: " << TerminalText(error) << "\n"
                     << ModeUsage(Mode::Batch) << "詳しくは soten-cli --help を見てください。\n";
                return ExitUsage;
            }
        }
        if (options_.input == InputFormat::Xlsx || options_.input == InputFormat::Ods) {
            options_.inputEncoding = Encoding::Utf8;
            try {
                workbook_ = Workbooks().openSheet(
                    path,
                    options_.input == InputFormat::Xlsx ? WorkbookKind::Xlsx : WorkbookKind::Ods,
                    options_.sheet);
            } catch (const MissingSheetError& error) {
                err_ << "soten-cli: " << TerminalText(error.what()) << "\n";
                return ExitUsage;
            } catch (const WorkbookError& error) {
                err_ << "soten-cli: " << TerminalText(error.what()) << "\n";
                return ExitIo;
            }
            return std::nullopt;
        }
        if (path == "-") return std::nullopt;
        file_.open(path, std::ios::binary);
        if (!file_) {
            // The file layer's words for ENOENT speak of the folder of a
            // file being written; here it is the file itself that is missing.
            const int error = errno;
            err_ << "soten-cli: ファイル \"" << TerminalText(path) << "\" "
                 << (error == ENOENT
                         ? std::string("が見つかりません")
                         : std::string("を読めません。") + platform::FileErrorReason(error))
                 << "\n";
            return ExitIo;
        }
        return std::nullopt;
    }

    int Run(std::ostream& out) {
        if (workbook_) {
            try {
                WorkbookInput rows(*workbook_);
                return RunBatchStream(rows, out, err_, tables_, options_, jobs_);
            } catch (const WorkbookError& error) {
                err_ << "soten-cli: " << TerminalText(error.what()) << "\n";
                return ExitIo;
            }
        }
        std::istream& in = file_.is_open() ? static_cast<std::istream&>(file_) : in_;
        const int status = RunBatchStream(in, out, err_, tables_, options_, jobs_);
        return status;
    }

    const CliOptions& Options() const { return options_; }

private:
    CliOptions options_;
    std::istream& in_;
    std::ostream& err_;
    const Tables& tables_;
    unsigned jobs_;
    std::unique_ptr<SheetRows> workbook_;
    std::ifstream file_;
};

}  // namespace

int RunBatchFiles(const CliOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
                  const Tables& tables, unsigned jobs) {
    BatchRun run(options, in, err, tables, jobs);
    if (const auto failed = run.Open()) return *failed;
    if (options.outputPath.empty()) return run.Run(out);

    const std::string& path = options.outputPath;
    platform::FileReplacement file(path);
    if (const int error = file.Begin()) {
        SayCannotWrite(err, path, error);
        return ExitIo;
    }
    // A run stopped before its first record (a column the options name is
    // not there) leaves the old file; one that wrote records replaces it.
    const auto replaces = [](int status, bool wrote) {
        return status != ExitIo && (wrote || status != ExitUsage);
    };
    int status = ExitIo;
    if (options.workbookOutput) {
        std::unique_ptr<SheetWriter> sheet;
        try {
            sheet =
                Workbooks().createSheet(file.DescriptorPath(), ResultKeys(tables, run.Options()));
        } catch (const WorkbookError& error) {
            err << "soten-cli: " << TerminalText(error.what()) << "\n";
            return ExitIo;
        }
        std::ostream sheetOut(sheet.get());
        status = run.Run(sheetOut);
        if (!replaces(status, sheet->Wrote())) return status;
        if (const std::string failure = sheet->Close(); !failure.empty()) {
            err << "soten-cli: " << TerminalText(platform::FileCreateErrorMessage(path, failure))
                << "\n";
            return ExitIo;
        }
    } else {
        ReplacementBuffer buffer(file);
        std::ostream fileOut(&buffer);
        status = run.Run(fileOut);
        if (buffer.Error() != 0) {
            SayCannotWrite(err, path, buffer.Error());
            return ExitIo;
        }
        if (!replaces(status, buffer.Wrote())) return status;
    }
    if (const int error = file.Commit()) {
        SayCannotWrite(err, path, error);
        return ExitIo;
    }
    return status;
}

}  // namespace soten::cli
