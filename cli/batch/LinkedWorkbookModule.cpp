#include "cli/batch/WorkbookModule.h"
#include "cli/batch/WorkbookReader.h"
#include "cli/batch/WorkbookWriter.h"

namespace soten::cli {

const WorkbookModule& LinkedWorkbookModule() {
    static const WorkbookModule module = {
        DetectWorkbook,
        [](const std::string& path, WorkbookKind kind, const std::string& sheet) {
            return std::unique_ptr<SheetRows>(std::make_unique<WorkbookReader>(path, kind, sheet));
        },
        [](const std::string& path, std::vector<std::string> resultColumns) {
            return std::unique_ptr<SheetWriter>(
                std::make_unique<WorkbookWriter>(path, std::move(resultColumns)));
        }};
    return module;
}

}  // namespace soten::cli

// What soten-cli looks up in the plug-in.
extern "C" __attribute__((visibility("default"))) const soten::cli::WorkbookModule*
soten_workbook_module() {
    return &soten::cli::LinkedWorkbookModule();
}
