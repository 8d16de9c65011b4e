#include "cli/app/CliRunner.h"

#include <cerrno>
#include <istream>
#include <ostream>

#include "SotenIdentity.h"
#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/Reading.h"
#include "analysis/reading/StrokeLookup.h"
#include "analysis/records/RecordWriter.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"
#include "cli/app/CliOptions.h"
#include "cli/app/TerminalText.h"
#include "cli/batch/BatchFiles.h"
#include "cli/batch/BatchLine.h"
#include "cli/batch/BatchStream.h"
#include "cli/batch/NameText.h"
#include "cli/compare/ComparisonCommand.h"
#include "cli/search/NameSearchCommand.h"
#include "platform/files/FileErrors.h"

namespace soten::cli {
namespace {

struct Attempt {
    std::optional<EnteredNames> names;  // code page 932
    std::string usageError;             // set when the names could not be read at all
};

// Converts the names to code page 932.
Attempt NamesOf(const std::string& surname, const std::string& given) {
    if (surname.empty() || given.empty()) {
        return {std::nullopt, "名字と名前は空にできません"};
    }
    auto surnameCp932 = Cp932::NameFromUtf8(surname);
    auto givenCp932 = Cp932::NameFromUtf8(given);
    if (!surnameCp932 || !givenCp932) return {std::nullopt, "名前が UTF-8 ではありません"};
    return {EnteredNames{std::move(*surnameCp932), std::move(*givenCp932)}, {}};
}

int RunReading(const CliOptions& options, std::ostream& out, std::ostream& err,
               const Tables& tables, const CliServices& services) {
    if (!options.pdfPath.empty() && !services.writePdf) {
        err << "soten-cli: このビルドには印刷の機能がありません\n";
        return ExitUsage;
    }
    const Attempt attempt = NamesOf(options.surname, options.given);
    if (!attempt.names) {
        err << "soten-cli: " << attempt.usageError << "\n";
        return ExitUsage;
    }
    const auto outcome = MakeReading(*attempt.names, options.style, tables);
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
        err << Cp932::ToUtf8Lossy(refusal->Message()) << "\n";
        if (refusal->reason == Refusal::Reason::UncountableCharacters) {
            const std::string lacked =
                LackedCharactersText(UnknownCharacters(*attempt.names, options.style, tables,
                                                       options.surname, options.given),
                                     true);
            if (!lacked.empty()) err << TerminalText(lacked) << "\n";
        }
        return ExitRefused;
    }
    const Reading& reading = std::get<Reading>(outcome);
    std::string text;
    if (options.format == Format::Text) {
        std::string cp932 = reading.Report();
        if (options.detail) {
            // After the report, set off by an empty line, with its line breaks.
            cp932 += "\r\n";
            for (const std::string& line :
                 DetailLines(reading.Counted(), reading.Style(), {}, tables)) {
                cp932 += line + "\r\n";
            }
        }
        text = options.encoding == Encoding::Cp932 ? cp932 : Cp932::ToUtf8Lossy(cp932);
    } else {
        RecordWriter writer(tables, RecordOptionsOf(options));
        if (options.bom) text = "\xEF\xBB\xBF";
        writer.AppendHeader(text);
        writer.AppendReading({}, reading, text);
    }
    if (!WriteAll(out, err, text)) return ExitIo;
    if (!options.pdfPath.empty()) {
        const std::string failure = services.writePdf(reading, options.pdfPath);
        if (!failure.empty()) {
            err << "soten-cli: " << failure << "\n";
            return ExitIo;
        }
    }
    return ExitReadingMade;
}

int RunStrokes(const CliOptions& options, std::ostream& out, std::ostream& err,
               const Tables& tables) {
    const auto text = Cp932::NameFromUtf8(options.strokesText);
    if (!text) {
        err << "soten-cli: 文字列が UTF-8 ではありません\n";
        return ExitUsage;
    }
    int status = ExitReadingMade;
    int previous = 0;
    int k = 0;
    // One code page 932 character for each character typed: one the code
    // page lacks (SUB) is shown as typed.
    const std::u32string typed = CodePoints(options.strokesText);
    for (const std::string_view character : Cp932Characters(*text)) {
        const int count = CountUnit(character, ++k, previous, options.style, tables.dictionary);
        const std::size_t at = static_cast<std::size_t>(k - 1);
        const std::string shown = character == "\x1A" && at < typed.size()
                                      ? TerminalText(CharacterLabel(typed[at]))
                                      : TerminalText(Cp932::ToUtf8Lossy(character));
        if (count > 0) {
            out << shown << "\t" << count << "\n";
            previous = count;
        } else {
            out << shown << "\t"
                << Cp932::ToUtf8Lossy(MessageOf(Refusal::Reason::UncountableCharacters)) << "\n";
            status = ExitRefused;
            previous = 0;
        }
    }
    return status;
}

}  // namespace

void ReportWriteFailure(std::ostream& err, int error) {
    err << "soten-cli: 出力を書き込めません";
    if (error != 0) err << "。" << platform::FileErrorReason(error);
    err << "\n";
}

bool WriteAll(std::ostream& out, std::ostream& err, std::string_view bytes) {
    errno = 0;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (out) return true;
    ReportWriteFailure(err, errno);
    return false;
}

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, const Tables& tables, const CliServices& services) {
    std::string error;
    const auto options = ParseCliOptions(args, error);
    if (!options) {
        err << "soten-cli: " << TerminalText(error) << "\n"
            << ModeUsage(RequestedMode(args)) << "詳しくは soten-cli --help を見てください。\n";
        return ExitUsage;
    }
    switch (options->mode) {
        case Mode::Help:
            return WriteAll(out, err, HelpText()) ? ExitReadingMade : ExitIo;
        case Mode::Version:
            return WriteAll(out, err, "soten-cli " SOTEN_VERSION "\n") ? ExitReadingMade : ExitIo;
        case Mode::Batch:
            return RunBatchFiles(*options, in, out, err, tables,
                                 options->jobs ? options->jobs : DefaultJobs());
        case Mode::Strokes: {
            const int status = RunStrokes(*options, out, err, tables);
            return WriteAll(out, err, {}) ? status : ExitIo;
        }
        case Mode::Suggest:
            return RunNameSearch(*options, out, err, tables, BuiltInNameSearchData());
        case Mode::Compare:
            return RunCompare(*options, out, err, tables, services);
        case Mode::Shortlist:
            return RunShortlist(*options, out, err, tables, services);
        case Mode::Reading:
            break;
    }
    return RunReading(*options, out, err, tables, services);
}

}  // namespace soten::cli
