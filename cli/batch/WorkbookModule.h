#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch/Sheets.h"

namespace soten::cli {

// What reads xlsx and ods and writes xlsx. soten-cli finds it in a plug-in
// of its own, soten-workbooks.so, loaded the first time a workbook is met:
// its libraries (libzip and libxlsxwriter, and the libcrypto they bring)
// take longer to load than soten-cli takes for a reading.
struct WorkbookModule {
    // What the file is (see DetectWorkbook).
    std::optional<WorkbookKind> (*detect)(const std::string& path);
    // Throws WorkbookError (MissingSheetError for a sheet not there).
    std::unique_ptr<SheetRows> (*openSheet)(const std::string& path, WorkbookKind kind,
                                            const std::string& sheet);
    std::unique_ptr<SheetWriter> (*createSheet)(const std::string& path,
                                                std::vector<std::string> resultColumns);
};

// The module given to UseWorkbookModule, else the plug-in: beside the
// program (the build tree), or in the program's library folder once
// installed. Throws WorkbookError when it cannot be loaded.
const WorkbookModule& Workbooks();

// Makes Workbooks() the module a program links in (the tests do).
void UseWorkbookModule(const WorkbookModule& module);

// The module's code, for the plug-in and for programs that link it.
const WorkbookModule& LinkedWorkbookModule();

// Whether a file begins as a zip does, as every xlsx and ods does: only
// then is the module asked what it is. False for "-", for what is not a
// regular file (a pipe is never read ahead) and for a file that cannot be
// read.
bool StartsLikeZip(const std::string& path);

}  // namespace soten::cli
