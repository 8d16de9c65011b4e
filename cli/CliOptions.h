#pragma once

#include <optional>
#include <string>
#include <vector>

#include "NameRecord.h"
#include "NameSearch.h"

namespace soten::cli {

// What a run does. Only the mode options (--batch, --strokes, --suggest,
// --help, --version) choose it; without one, two names ask for a reading.
enum class Mode { Reading, Batch, Strokes, Suggest, Help, Version };
enum class Format { Text, Json, Tsv };
enum class Encoding { Utf8, Cp932 };

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
    bool lines = false;  // --lines: the screen and print lines in batch records
    bool report = true;  // --no-report leaves the report out of JSON and TSV
    unsigned jobs = 0;   // --jobs; 0: one per processor
    // --suggest: the surname (code page 932), the style and the filters.
    NameSearchFilters search;
};

// The most threads --jobs accepts.
inline constexpr unsigned MaxJobs = 64;

// Parses the arguments after the program name. On a usage error returns
// nothing and sets `error` to a message for the user.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error);

// Parses "shinji" / "honji" (also 新字式 / 本字式).
std::optional<StrokeStyle> ParseStyle(const std::string& text);

const char* StyleName(StrokeStyle style);

extern const char* const UsageText;

}  // namespace soten::cli
