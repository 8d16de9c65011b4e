// soten-pdf: the printed reading as a PDF file, for soten-cli --pdf. It is a
// program of its own so that soten-cli loads no Qt; it makes the Qt
// application that fonts and printing need, on the offscreen platform.
//
//   soten-pdf shinji|honji SURNAME GIVEN FILE   (names in code page 932)
//
// Exit status: 0 written, 2 bad arguments or names, 3 the file could not be
// written; the reason is the last line on stderr.
#include <QGuiApplication>
#include <iostream>
#include <string>

#include "CliOptions.h"
#include "HeadlessReading.h"
#include "PdfExport.h"
#include "RuntimeFolder.h"
#include "Tables.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: soten-pdf shinji|honji SURNAME GIVEN FILE (run by soten-cli --pdf)\n";
        return 2;
    }
    const auto style = soten::cli::ParseStyle(argv[1]);
    if (!style) {
        std::cerr << "the style must be shinji or honji\n";
        return 2;
    }
    soten::platform::EnsureRuntimeFolder();
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    int qtArgc = 3;
    char* qtArgv[] = {argv[0], platformOption, offscreen, nullptr};
    const QGuiApplication application(qtArgc, qtArgv);

    soten::ProgramState state;
    state.strokeStyle = *style;
    if (soten::ReadHeadless(state, soten::BuiltInTables(), {argv[2], argv[3]})) {
        std::cerr << "the names make no reading\n";
        return 2;
    }
    const std::string failure = soten::printing::WritePdfForCli(state, argv[4]);
    if (!failure.empty()) {
        std::cerr << failure << "\n";
        return 3;
    }
    return 0;
}
