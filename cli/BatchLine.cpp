#include "BatchLine.h"

#include <array>

#include "CliRunner.h"
#include "Cp932.h"
#include "Fortunes.h"
#include "HeadlessReading.h"

namespace soten::cli {
namespace {

bool IsFieldSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

// Splits on ASCII blanks into at most `fields.size()` fields; returns the
// number of fields found (one more than the room when the line holds more).
std::size_t SplitFields(std::string_view line, std::array<std::string_view, 3>& fields) {
    std::size_t count = 0;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && IsFieldSeparator(line[i])) ++i;
        if (i == line.size()) return count;
        const std::size_t start = i;
        while (i < line.size() && !IsFieldSeparator(line[i])) ++i;
        if (count == fields.size()) return count + 1;
        fields[count++] = line.substr(start, i - start);
    }
}

}  // namespace

RecordOptions RecordOptionsOf(const CliOptions& options) {
    return {options.format == Format::Tsv ? Format::Tsv : Format::Json, options.lines,
            options.report};
}

int BatchStatus::ExitStatus() const {
    if (malformed_) return ExitUsage;
    if (refused_) return ExitRefused;
    return ExitReadingMade;
}

BatchLine::BatchLine(const Tables& tables, const CliOptions& options)
    : tables_(tables),
      defaultStyle_(options.style),
      writer_(tables, RecordOptionsOf(options)),
      numbersOnly_(!options.report && !options.lines) {}

LineOutcome BatchLine::Answer(std::string_view line, long lineNumber, std::string& out) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::array<std::string_view, 3> fields;
    const std::size_t count = SplitFields(line, fields);
    if (count == 0) return LineOutcome::Empty;
    if (!Cp932::IsUtf8(line)) {
        writer_.AppendError(lineNumber, "the line is not valid UTF-8", out);
        return LineOutcome::Malformed;
    }
    std::optional<StrokeStyle> style = defaultStyle_;
    if (count == 3) style = ParseStyle(std::string(fields[2]));
    if (count < 2 || count > 3 || !style) {
        writer_.AppendError(lineNumber, "expected: SURNAME GIVEN [shinji|honji]", out);
        return LineOutcome::Malformed;
    }
    auto surname = Cp932::NameFromUtf8(fields[0]);
    auto given = Cp932::NameFromUtf8(fields[1]);
    state_.strokeStyle = *style;
    if (numbersOnly_) {
        // The same checks and numbers as a reading, without composing and
        // wrapping a report nobody asked for.
        ReadNames(state_.record, *surname, *given);
        if (const auto refusal = CheckNames(state_, tables_)) {
            writer_.AppendRefusal(lineNumber, fields[0], fields[1], *refusal, out);
            return LineOutcome::Refused;
        }
        ComputeFortunes(state_.record);
        state_.shown.record = state_.record;
        state_.shown.style = *style;
        state_.shown.valid = true;
        writer_.AppendReading(lineNumber, state_.shown, out);
        return LineOutcome::Reading;
    }
    const auto refusal = ReadHeadless(state_, tables_, {std::move(*surname), std::move(*given)});
    if (refusal) {
        writer_.AppendRefusal(lineNumber, fields[0], fields[1], *refusal, out);
        return LineOutcome::Refused;
    }
    writer_.AppendReading(lineNumber, state_.shown, out);
    return LineOutcome::Reading;
}

LineOutcome BatchLine::AnswerTooLong(long lineNumber, std::string& out) {
    writer_.AppendError(
        lineNumber, "the line is longer than " + std::to_string(MaxBatchLineBytes) + " bytes", out);
    return LineOutcome::Malformed;
}

}  // namespace soten::cli
