#include "cli/batch/WorkbookModule.h"

namespace {

// The suites run soten-cli in this process, which links the workbook code
// instead of loading the plug-in beside soten-cli (workbook_test.py runs
// soten-cli itself, plug-in and all).
const bool workbookCodeLinked =
    (soten::cli::UseWorkbookModule(soten::cli::LinkedWorkbookModule()), true);

}  // namespace
