#include "CliRunner.h"

#include <istream>
#include <ostream>
#include <sstream>

#include "CliOptions.h"
#include "Cp932.h"
#include "HeadlessReading.h"
#include "ReadingJson.h"
#include "ShiftJis.h"
#include "SotenIdentity.h"
#include "StrokeLookup.h"
#include "SuggestCommand.h"

namespace soten::cli {
namespace {

struct Attempt {
    std::optional<std::string> refusal;  // code page 932
    std::string usageError;              // set when the names could not be read at all
};

// Converts the names and runs one reading in `state`.
Attempt Read(ProgramState& state, const Tables& tables, const std::string& surname,
             const std::string& given, StrokeStyle style) {
    if (surname.empty() || given.empty()) {
        return {std::nullopt, "the surname and the given name must not be empty"};
    }
    auto surnameCp932 = Cp932::NameFromUtf8(surname);
    auto givenCp932 = Cp932::NameFromUtf8(given);
    if (!surnameCp932 || !givenCp932) return {std::nullopt, "the names are not valid UTF-8"};
    state.strokeStyle = style;
    return {ReadHeadless(state, tables, {*surnameCp932, *givenCp932}), {}};
}

int RunReading(const CliOptions& options, std::ostream& out, std::ostream& err,
               const Tables& tables, const CliServices& services) {
    if (!options.pdfPath.empty() && !services.writePdf) {
        err << "soten-cli: this build has no printing support\n";
        return ExitUsage;
    }
    ProgramState state;
    const Attempt attempt = Read(state, tables, options.surname, options.given, options.style);
    if (!attempt.usageError.empty()) {
        err << "soten-cli: " << attempt.usageError << "\n";
        return ExitUsage;
    }
    if (attempt.refusal) {
        err << Cp932::ToUtf8Lossy(*attempt.refusal) << "\n";
        return ExitRefused;
    }
    if (options.format == Format::Json) {
        out << ReadingToJson(state.shown, tables).dump() << "\n";
    } else if (options.encoding == Encoding::Cp932) {
        out << state.shown.record.ReportText;
    } else {
        out << Cp932::ToUtf8Lossy(state.shown.record.ReportText);
    }
    if (!options.pdfPath.empty()) {
        const std::string failure = services.writePdf(state, options.pdfPath);
        if (!failure.empty()) {
            err << "soten-cli: " << failure << "\n";
            return ExitUsage;
        }
    }
    return ExitReadingMade;
}

std::vector<std::string> SplitOnAsciiSpace(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream stream(line);
    for (std::string field; stream >> field;) fields.push_back(field);
    return fields;
}

int RunBatch(const CliOptions& options, std::istream& in, std::ostream& out, const Tables& tables) {
    int status = ExitReadingMade;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto fields = SplitOnAsciiSpace(line);
        if (fields.empty()) continue;
        std::optional<StrokeStyle> style = options.style;
        if (fields.size() == 3) style = ParseStyle(fields[2]);
        if (fields.size() < 2 || fields.size() > 3 || !style) {
            out << nlohmann::json{{"line", lineNumber},
                                  {"error", "expected: SURNAME GIVEN [shinji|honji]"}}
                       .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                << "\n";
            status = ExitUsage;
            continue;
        }
        ProgramState state;
        const Attempt attempt = Read(state, tables, fields[0], fields[1], *style);
        nlohmann::json result;
        if (!attempt.usageError.empty()) {
            result = {{"line", lineNumber}, {"error", attempt.usageError}};
            status = ExitUsage;
        } else if (attempt.refusal) {
            result = RefusalToJson(fields[0], fields[1], *attempt.refusal);
            if (status == ExitReadingMade) status = ExitRefused;
        } else {
            result = ReadingToJson(state.shown, tables);
        }
        out << result.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    }
    return status;
}

int RunStrokes(const CliOptions& options, std::ostream& out, std::ostream& err,
               const Tables& tables) {
    const auto text = Cp932::NameFromUtf8(options.strokesText);
    if (!text) {
        err << "soten-cli: the text is not valid UTF-8\n";
        return ExitUsage;
    }
    int status = ExitReadingMade;
    int previous = 0;
    int k = 0;
    for (std::size_t i = 0; i < text->size();) {
        const bool pair =
            IsLeadByte(static_cast<unsigned char>((*text)[i])) && i + 1 < text->size();
        const std::string_view character(text->data() + i, pair ? 2 : 1);
        i += character.size();
        const int count = CountUnit(character, ++k, previous, options.style, tables.dictionary);
        const std::string shown = character == "\x1A" ? "?" : Cp932::ToUtf8Lossy(character);
        if (count > 0) {
            out << shown << "\t" << count << "\n";
            previous = count;
        } else {
            out << shown << "\t" << Cp932::ToUtf8Lossy(InvalidCharacterMessage()) << "\n";
            status = ExitRefused;
            previous = 0;
        }
    }
    return status;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, const Tables& tables, const CliServices& services) {
    if (IsSuggestCommand(args)) return RunSuggest(args, out, err, tables, BuiltInNameSearchData());
    std::string error;
    const auto options = ParseCliOptions(args, error);
    if (!options) {
        err << "soten-cli: " << error << "\n" << UsageText;
        return ExitUsage;
    }
    switch (options->mode) {
        case Mode::Help:
            out << UsageText << SuggestUsageText;
            return ExitReadingMade;
        case Mode::Version:
            out << "soten-cli " SOTEN_VERSION "\n";
            return ExitReadingMade;
        case Mode::Batch:
            return RunBatch(*options, in, out, tables);
        case Mode::Strokes:
            return RunStrokes(*options, out, err, tables);
        case Mode::Reading:
            break;
    }
    return RunReading(*options, out, err, tables, services);
}

}  // namespace soten::cli
