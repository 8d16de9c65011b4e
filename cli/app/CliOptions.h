#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/naming/NameSearch.h"
#include "analysis/reading/NameRecord.h"
#include "analysis/records/RecordWriter.h"

namespace soten::cli {

// What a run does. Only the mode options (--batch, --strokes, --suggest,
// --compare, --shortlist, --help, --version) choose it; without one, two
// names ask for a reading.
enum class Mode { Reading, Batch, Strokes, Suggest, Compare, Shortlist, Help, Version };
enum class Encoding { Utf8, Cp932, Utf16 };
// What --batch reads: "SURNAME GIVEN [style]" lines, or the rows of a table.
enum class InputFormat { Text, Tsv, Csv, Xlsx, Ods };

// A given name of --compare, "NAME" or "NAME:よみ" on the command line.
struct GivenToCompare {
    std::string given;    // UTF-8, as given
    std::string reading;  // hiragana, code page 932; empty when not given
};

struct CliOptions {
    Mode mode = Mode::Reading;
    StrokeStyle style = StrokeStyle::Shinji;
    Format format = Format::Text;
    Encoding encoding = Encoding::Utf8;
    std::string surname;  // UTF-8, as given
    std::string given;
    std::string strokesText;
    std::string pdfPath;  // empty: no printout
    bool formatGiven = false;
    std::optional<bool> reportGiven;  // --report / --no-report
    std::optional<bool> keepColumnsGiven;
    bool lines = false;   // --lines: the screen and print lines in batch records
    bool report = true;   // JSON: on unless --no-report; TSV and CSV: only with --report
    bool bom = false;     // --bom: a byte-order mark before TSV or CSV
    bool detail = false;  // --detail: 三才配置 and 陰陽配列 after the text report
    unsigned jobs = 0;    // --jobs; 0: one per processor
    // --batch input.
    InputFormat input = InputFormat::Text;
    Encoding inputEncoding = Encoding::Utf8;
    // --output-encoding: the records' encoding; cp932 only for TSV and CSV.
    Encoding outputEncoding = Encoding::Utf8;
    std::optional<bool> header;  // --header / --no-header; nothing: recognised by its names
    // Column choices: a header name or a number from 1; empty when not given.
    std::string surnameColumn;
    std::string givenColumn;
    std::string styleColumn;
    std::string nameColumn;    // both names in one cell
    long skipRows = 0;         // --skip-rows: title rows above the table
    bool normalize = false;    // --normalize: half-width katakana read as full-width
    bool keepColumns = false;  // the input columns go into every record
    // --batch files: the input (a file argument) and -o; empty: stdin, stdout.
    std::string inputPath;
    std::string outputPath;
    std::string sheet;            // --sheet: the workbook's sheet; empty: the first
    bool inputGiven = false;      // --input given; else a workbook is told by its content
    bool workbookOutput = false;  // --format xlsx: TSV records written as a workbook's rows
    // --suggest: the surname (code page 932), the style and the filters.
    NameSearchFilters search;
    bool commonOnlyGiven = false;  // --common-only, which --any-reading contradicts
    // --compare: the given names after the surname (`surname`), in order.
    std::vector<GivenToCompare> compared;
};

// The most threads --jobs accepts.
inline constexpr unsigned MaxJobs = 64;

// Parses the arguments after the program name. On a usage error returns
// nothing and sets `error` to a message for the user.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error);

// Checks the table options of --batch once the input's format is known (a
// file argument without --input is told by its content); false, with
// `error` set, on a usage error.
bool CheckBatchTable(CliOptions& options, std::string& error);

// Parses "shinji" / "honji" (also 新字式 / 本字式).
std::optional<StrokeStyle> ParseStyle(const std::string& text);

// The modes an option applies to, one bit each.
constexpr unsigned ModeBit(Mode mode) {
    return 1u << static_cast<unsigned>(mode);
}

// Sets what an option says in the options; throws on a value it refuses.
using ApplyOption = void (*)(CliOptions& options, const std::string& value);

// One row of the table that both parses the arguments and writes the usages.
// An option whose value or help differs between modes has one row for each.
struct CliOption {
    const char* name = nullptr;
    const char* alias = nullptr;                 // another name for it, such as -h
    const char* valueName = nullptr;             // nullptr: the option takes no value
    const char* help = "";                       // one line of --help
    unsigned modes = 0;                          // ModeBit of each mode it applies to
    std::optional<Mode> selects = std::nullopt;  // set for the options that choose the mode
    bool orNext = false;  // shown as an alternative to the next row: [--a | --b]
    ApplyOption apply = nullptr;
};

// Every option, in the order the usages show them.
std::span<const CliOption> CliOptionTable();

// The whole --help text: every mode, every option, then the exit statuses.
const std::string& HelpText();

// The usage of one mode, printed after a usage error.
std::string ModeUsage(Mode mode);

// The mode the arguments ask for, whatever else is wrong with them.
Mode RequestedMode(const std::vector<std::string>& args);

}  // namespace soten::cli
