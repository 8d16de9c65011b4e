#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "analysis/shortlist/Shortlist.h"

namespace soten::cli {

inline constexpr int ExitReadingMade = 0;
inline constexpr int ExitRefused = 1;
inline constexpr int ExitUsage = 2;
inline constexpr int ExitIo = 3;
// --batch: some rows could not be read as names (malformed, too-long,
// invalid-encoding), told apart from a usage error.
inline constexpr int ExitMalformed = 4;

// Says on `err` that the output could not be written (`error`: errno, or 0).
void ReportWriteFailure(std::ostream& err, int error);

// Writes `bytes` and flushes; false (after saying so on `err`) when the
// output refuses them.
bool WriteAll(std::ostream& out, std::ostream& err, std::string_view bytes);

// The shortlist as its file held it.
struct SavedShortlist {
    Shortlist list;
    std::string problem;  // UTF-8: why a damaged file was moved aside; empty when it was fine
};

// What the command line needs beyond the analysis. The printed page lives in
// the printing layer (Qt), so it is handed in by main() where it is built.
struct CliServices {
    // Writes the printed page of the reading to a PDF file; returns an
    // error message, or an empty string on success. The printing layer needs
    // Qt, so soten-cli hands this to a helper program (see PdfHelper.h).
    std::function<std::string(const Reading&, const std::string& path)> writePdf;
    // The same for a comparison of names, in their order.
    std::function<std::string(const std::vector<ShortlistEntry>&, const std::string& path)>
        writeComparisonPdf;
    // Reads the saved shortlist; unset in a build that cannot.
    std::function<SavedShortlist()> loadShortlist;
};

// Runs soten-cli with the arguments after the program name and returns the
// exit status.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, const Tables& tables, const CliServices& services = {});

}  // namespace soten::cli
