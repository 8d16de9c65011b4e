#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/shortlist/Shortlist.h"

namespace soten::cli {

// soten-cli --pdf runs the printed page in a helper program, soten-pdf, so
// that soten-cli itself loads no Qt. The helper lives next to soten-cli in the
// build tree and in the libexec folder once installed; both are found from
// soten-cli's own location. Returns its path, or an empty string.
std::string FindPdfHelper();

// Writes the printed page of the reading on show to `path` through the
// helper; returns an empty string on success, else the reason. Notes of the
// helper about the file go to stderr. Ctrl+C, SIGTERM or SIGHUP while it runs
// go on to the helper, which removes its half-written file; once it has
// ended, soten-cli ends with the status 128 + the signal's number.
std::string WritePdfWithHelper(const Reading& reading, const std::string& path);

// What soten-cli sends the helper on its standard input, never as arguments
// (a long list or note would pass the kernel's bound on them): a sequence of
// fields, each as its length in decimal, ':', its bytes and ','. The fields
// are STYLE SURNAME GIVEN for a reading, in code page 932 as the reading
// counted them, and STYLE SURNAME GIVEN READING NOTE for each name of a
// comparison, in UTF-8 as the list keeps them (the reading and the note may
// be empty).
std::string ReadingPdfRequest(const Reading& reading);
std::string ComparisonPdfRequest(const std::vector<ShortlistEntry>& names);

// The fields of a request, or nothing when it is not one.
std::optional<std::vector<std::string>> PdfRequestFields(std::string_view request);

// Writes the printed comparison of `names` to `path` through the helper, as
// WritePdfWithHelper writes a reading.
std::string WriteComparisonPdfWithHelper(const std::vector<ShortlistEntry>& names,
                                         const std::string& path);

}  // namespace soten::cli
