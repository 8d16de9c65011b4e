#include <csignal>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/app/CliRunner.h"
#include "cli/app/TerminalText.h"
#include "cli/pdf/PdfHelper.h"
#include "platform/files/ShortlistFile.h"

int main(int argc, char** argv) {
    // A reader that goes away (`soten-cli --batch | head -1`) ends the run
    // quietly, as with any filter, even when the parent ignored SIGPIPE.
    std::signal(SIGPIPE, SIG_DFL);
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);

    const std::vector<std::string> args(argv + 1, argv + argc);
    soten::cli::CliServices services;
    services.writePdf = soten::cli::WritePdfWithHelper;
    services.writeComparisonPdf = soten::cli::WriteComparisonPdfWithHelper;
    services.loadShortlist = [] {
        soten::platform::LoadedShortlist loaded = soten::platform::ShortlistFile().Load();
        return soten::cli::SavedShortlist{std::move(loaded.list), std::move(loaded.problem)};
    };
    try {
        return soten::cli::RunCli(args, std::cin, std::cout, std::cerr, soten::BuiltInTables(),
                                  services);
    } catch (const std::bad_alloc&) {
        // Its what() is the library's English.
        std::cerr << "soten-cli: メモリが足りません\n";
        return soten::cli::ExitIo;
    } catch (const std::exception& error) {
        std::cerr << "soten-cli: " << soten::cli::TerminalText(error.what()) << "\n";
        return soten::cli::ExitIo;
    }
}
