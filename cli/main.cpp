#include <iostream>
#include <string>
#include <vector>

#include "CliRunner.h"

#ifdef SOTEN_CLI_WITH_PDF
#include "PdfExport.h"
#endif

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    soten::cli::CliServices services;
#ifdef SOTEN_CLI_WITH_PDF
    services.writePdf = soten::printing::WritePdfForCli;
#endif
    try {
        return soten::cli::RunCli(args, std::cin, std::cout, std::cerr, soten::BuiltInTables(),
                                  services);
    } catch (const std::exception& error) {
        std::cerr << "soten-cli: " << error.what() << "\n";
        return 3;
    }
}
