#include "cli/batch/BatchLine.h"

#include <algorithm>
#include <array>

#include "analysis/reading/Fortunes.h"
#include "analysis/reading/Reading.h"
#include "analysis/reading/StrokeLookup.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"
#include "cli/app/CliRunner.h"
#include "cli/batch/NameText.h"

namespace soten::cli {
namespace {

constexpr std::string_view IdeographicSpace = "\xE3\x80\x80";

// The length of the field separator at `i`: an ASCII blank or U+3000; 0
// when there is none.
std::size_t SeparatorAt(std::string_view line, std::size_t i) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r') return 1;
    if (c != IdeographicSpace[0]) return 0;
    return line.substr(i).starts_with(IdeographicSpace) ? IdeographicSpace.size() : 0;
}

// Splits on blanks into at most `fields.size()` fields; returns the number
// of fields found (one more than the room when the line holds more).
std::size_t SplitFields(std::string_view line, std::array<std::string_view, 3>& fields) {
    std::size_t count = 0;
    std::size_t i = 0;
    while (true) {
        while (i < line.size()) {
            const std::size_t separator = SeparatorAt(line, i);
            if (separator == 0) break;
            i += separator;
        }
        if (i == line.size()) return count;
        const std::size_t start = i;
        while (i < line.size() && SeparatorAt(line, i) == 0) ++i;
        if (count == fields.size()) return count + 1;
        fields[count++] = line.substr(start, i - start);
    }
}

bool IsBlank(std::string_view line) {
    std::array<std::string_view, 3> fields;
    return SplitFields(line, fields) == 0;
}

const char* const InvalidUtf8 =
    "行が UTF-8 ではありません（表計算ソフトの Shift-JIS の CSV は --input-encoding cp932 "
    "で読めます）";
const char* const InvalidCp932 =
    "行が cp932（Shift-JIS）ではありません。UTF-8 なら --input-encoding utf-8 を指定してください";

}  // namespace

RecordOptions RecordOptionsOf(const CliOptions& options, std::vector<std::string> inputColumns) {
    RecordOptions recordOptions{options.format == Format::Text ? Format::Json : options.format,
                                options.lines, options.report, std::move(inputColumns)};
    recordOptions.rows = options.mode == Mode::Batch;
    return recordOptions;
}

BatchLine::BatchLine(const Tables& tables, const CliOptions& options, const BatchInput& input)
    : tables_(tables),
      defaultStyle_(options.style),
      input_(input),
      keepColumns_(input.layout && options.keepColumns),
      writer_(tables, RecordOptionsOf(options, keepColumns_ ? input.layout->columnNames
                                                            : std::vector<std::string>())),
      detail_(BatchReadingDetail(RecordOptionsOf(options))),
      normalize_(options.normalize) {}

LineOutcome BatchLine::Fail(long lineNumber, long row, ErrorCode code, std::string_view message,
                            std::string& out) {
    RecordFailure failure;
    failure.code = code;
    failure.message = message;
    writer_.AppendFailure({lineNumber, {}, {}, {}, row}, failure, out);
    return LineOutcome::Malformed;
}

LineOutcome BatchLine::Answer(const LineBatch& batch, std::size_t i, std::string& out) {
    const LineSpan& span = batch.lines[i];
    if (span.row == input_.headerRow || span.row <= input_.skipRows) return LineOutcome::Empty;
    if (span.tooLong) return AnswerTooLong(span.number, out, input_.layout ? span.row : 0);
    if (batch.split) {
        const auto first = batch.cells.begin() + span.offset;
        cells_.assign(first, first + span.length);
        return AnswerCells(span.number, span.row, false, out);
    }
    return AnswerText(batch.Line(i), span.number, span.row, span.unclosedQuote, out);
}

LineOutcome BatchLine::Answer(std::string_view line, long lineNumber, std::string& out, long row) {
    if (row == 0) row = lineNumber;
    if (row == input_.headerRow || row <= input_.skipRows) return LineOutcome::Empty;
    return AnswerText(line, lineNumber, row, false, out);
}

LineOutcome BatchLine::AnswerText(std::string_view line, long lineNumber, long row,
                                  bool unclosedQuote, std::string& out) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!input_.layout && line.size() > MaxBatchLineBytes) return AnswerTooLong(lineNumber, out);
    if (input_.encoding == Encoding::Cp932) {
        auto utf8 = Cp932::ToUtf8(line);
        if (!utf8) {
            if (IsBlank(line)) return LineOutcome::Empty;
            return Fail(lineNumber, input_.layout ? row : 0, ErrorCode::InvalidEncoding,
                        InvalidCp932, out);
        }
        decoded_ = std::move(*utf8);
        line = decoded_;
    } else if (!Cp932::IsUtf8(line)) {
        if (IsBlank(line)) return LineOutcome::Empty;
        return Fail(lineNumber, input_.layout ? row : 0, ErrorCode::InvalidEncoding, InvalidUtf8,
                    out);
    }

    if (!input_.layout) {
        notes_.clear();
        std::array<std::string_view, 3> fields;
        const std::size_t count = SplitFields(line, fields);
        if (count == 0) return LineOutcome::Empty;
        std::optional<StrokeStyle> style = defaultStyle_;
        if (count == 3) style = ParseStyle(std::string(fields[2]));
        if (count < 2 || count > 3 || !style) {
            return Fail(lineNumber, 0, ErrorCode::Malformed,
                        "「姓 名」か「姓 名 画数式」（画数式は shinji か honji）の形ではありません",
                        out);
        }
        // A line of names is its own row: the record gives it once, as its line.
        return Read({lineNumber, {}}, fields[0], fields[1], *style, out);
    }
    SplitRow(line, input_.format == InputFormat::Csv ? ',' : '\t', cells_);
    return AnswerCells(lineNumber, row, unclosedQuote, out);
}

LineOutcome BatchLine::AnswerCells(long lineNumber, long row, bool unclosedQuote,
                                   std::string& out) {
    notes_.clear();
    const TableLayout& layout = *input_.layout;
    if (!unclosedQuote && std::all_of(cells_.begin(), cells_.end(), [](const std::string& cell) {
            return TrimCell(cell).empty();
        })) {
        return LineOutcome::Empty;
    }
    const RecordSource source{
        lineNumber,
        keepColumns_ ? std::span<const std::string>(cells_) : std::span<const std::string>(),
        {},
        {},
        row};
    const auto fail = [&](ErrorCode code, const std::string& message) {
        RecordFailure failure;
        failure.code = code;
        failure.message = message;
        writer_.AppendFailure(source, failure, out);
        return LineOutcome::Malformed;
    };
    const auto malformed = [&](const std::string& message) {
        return fail(ErrorCode::Malformed, message);
    };
    if (unclosedQuote) {
        return malformed(
            "引用符（\"）で始まるセルが閉じていません（この行を誤りとし、次の行から読み直しました"
            "）");
    }
    if (keepColumns_ && !layout.columnNames.empty() && cells_.size() > layout.columnNames.size()) {
        return malformed("この行は" + std::to_string(cells_.size()) + "列ありますが、" +
                         (layout.header ? "見出し行" : "1行目") + "は" +
                         std::to_string(layout.columnNames.size()) + "列です");
    }
    const auto cell = [&](int column) {
        return column >= 0 && static_cast<std::size_t>(column) < cells_.size()
                   ? TrimCell(cells_[static_cast<std::size_t>(column)])
                   : std::string_view();
    };
    std::string_view surname = cell(layout.surname);
    std::string_view given = cell(layout.given);
    const std::string_view both = cell(layout.name);
    if (std::max({surname.size(), given.size(), both.size()}) > MaxBatchLineBytes) {
        return fail(ErrorCode::TooLong,
                    "名前が" + std::to_string(MaxBatchLineBytes) + "バイトを超えています");
    }
    if (layout.name >= 0) {
        std::array<std::string_view, 3> parts;
        const std::size_t count = SplitFields(both, parts);
        if (count < 2) return malformed("氏名のセルに姓と名を区切る空白がありません");
        if (count > 2) {
            return malformed(
                "氏名のセルが空白で3つ以上に分かれています（姓と名の2つにしてください）");
        }
        surname = parts[0];
        given = parts[1];
    }
    if (surname.empty() || given.empty()) return malformed("姓か名が空です");
    std::optional<StrokeStyle> style = defaultStyle_;
    if (const std::string_view styleCell = cell(layout.style); !styleCell.empty()) {
        style = ParseStyle(std::string(styleCell));
        if (!style) return malformed("画数式は shinji（新字式）か honji（本字式）にしてください");
    }
    return Read(source, surname, given, *style, out);
}

LineOutcome BatchLine::Read(const RecordSource& read, std::string_view surname,
                            std::string_view given, StrokeStyle style, std::string& out) {
    RecordSource source = read;
    // A glyph choice is no other character, and a half-width kana is the
    // kana: the names are looked up without them, and the record says so.
    surname_ = surname;
    given_ = given;
    if (DropVariationSelectors(surname_) | DropVariationSelectors(given_)) {
        notes_.emplace_back("異体字セレクタを除いて読みました");
    }
    if (normalize_ && (WidenHalfWidthKana(surname_) | WidenHalfWidthKana(given_))) {
        notes_.emplace_back("半角カナを全角にして読みました");
    }
    if (!notes_.empty()) {
        surname = surname_;
        given = given_;
        source.notes = notes_;
    }
    const EnteredNames names{*Cp932::NameFromUtf8(surname), *Cp932::NameFromUtf8(given)};
    const auto outcome = MakeReading(names, style, tables_, detail_);
    if (const auto* reading = std::get_if<Reading>(&outcome)) {
        writer_.AppendReading(source, *reading, out);
        return LineOutcome::Reading;
    }
    const Refusal& refusal = std::get<Refusal>(outcome);
    RecordFailure failure;
    failure.surname = surname;
    failure.given = given;
    message_ = Cp932::ToUtf8Lossy(refusal.Message());
    failure.message = message_;
    failure.code = ErrorCodeOf(refusal.reason);
    characters_.clear();
    if (refusal.reason == Refusal::Reason::UncountableCharacters) {
        characters_ = UnknownCharacters(names, style, tables_, surname, given);
    }
    failure.characters = characters_;
    writer_.AppendFailure(source, failure, out);
    return LineOutcome::Refused;
}

LineOutcome BatchLine::AnswerTooLong(long lineNumber, std::string& out, long row) {
    const std::size_t limit = input_.layout ? MaxRowBytes : MaxBatchLineBytes;
    return Fail(lineNumber, row, ErrorCode::TooLong,
                std::string(input_.layout ? "行" : "名前の行") + "が" + std::to_string(limit) +
                    "バイトを超えています",
                out);
}

}  // namespace soten::cli
