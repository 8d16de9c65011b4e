#pragma once

#include <cstddef>
#include <iosfwd>
#include <string_view>

#include "analysis/reading/Tables.h"
#include "cli/app/CliOptions.h"
#include "cli/app/CliRunner.h"

namespace soten::cli {

// soten-cli --compare SURNAME GIVEN[:READING]...: reads each given name after
// the surname in `options.style` and lists them side by side in the order
// given: a table for the terminal, one JSON object {"surname", "style",
// "names"} whose names are the records of single readings plus "reading", or
// TSV/CSV rows with a "reading" column (`options.format`); --pdf prints the
// comparison. Returns 0 when every name made a reading, 1 when any was
// refused (it is listed all the same), 2 on a usage error, 3 when the output
// or the PDF cannot be written.
int RunCompare(const CliOptions& options, std::ostream& out, std::ostream& err,
               const Tables& tables, const CliServices& services);

// soten-cli --shortlist: the names kept in the shortlist, listed as
// --compare lists them, each with its own surname, style, reading and note
// (JSON: {"names": [...]}). A damaged file is reported on `err` and read as
// the empty list; an empty list is a header alone.
int RunShortlist(const CliOptions& options, std::ostream& out, std::ostream& err,
                 const Tables& tables, const CliServices& services);

// The columns UTF-8 text takes on a terminal: 1 for each ASCII character
// and half-width katakana (code page 932's single bytes), 2 for any other.
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace soten::cli
