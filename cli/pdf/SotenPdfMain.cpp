// soten-pdf: the printed reading, or the printed comparison of names, as a
// PDF file, for soten-cli's --pdf. It is a program of its own so that soten-cli
// loads no Qt; it makes the Qt application that fonts and printing need, on
// the offscreen platform.
//
//   soten-pdf shinji|honji SURNAME GIVEN FILE
//   soten-pdf --compare FILE STYLE SURNAME GIVEN READING NOTE [STYLE SURNAME ...]
//
// Text is in code page 932; READING and NOTE may be empty. The comparison is
// dated today (local time). Exit status: 0 written, 2 bad arguments or names,
// 3 the file could not be written; the reason is the last line on stderr.
#include <QDate>
#include <QGuiApplication>
#include <iostream>
#include <string>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "analysis/shortlist/NameComparison.h"
#include "cli/app/CliOptions.h"
#include "platform/files/RuntimeFolder.h"
#include "printing/pages/PdfExport.h"

namespace {

constexpr const char* Usage =
    "usage: soten-pdf shinji|honji SURNAME GIVEN FILE\n"
    "       soten-pdf --compare FILE STYLE SURNAME GIVEN READING NOTE [STYLE SURNAME GIVEN "
    "READING NOTE ...] (run by soten-cli)";
constexpr int NameFields = 5;

int Fail(int status, const std::string& reason) {
    std::cerr << reason << "\n";
    return status;
}

// Fonts and printing need a Qt application; made once the arguments are good.
struct OffscreenApplication {
    explicit OffscreenApplication(char* program)
        : argv{program, platformOption, offscreen, nullptr}, application(argc, argv) {}
    char platformOption[10] = "-platform";
    char offscreen[10] = "offscreen";
    int argc = 3;
    char* argv[4];
    QGuiApplication application;
};

int WriteComparison(int argc, char** argv) {
    if (argc < 3 + NameFields || (argc - 3) % NameFields != 0) return Fail(2, Usage);
    std::vector<soten::ShortlistEntry> entries;
    for (int i = 3; i < argc; i += NameFields) {
        const auto style = soten::cli::ParseStyle(argv[i]);
        if (!style) return Fail(2, "the style must be shinji or honji");
        entries.push_back({argv[i + 1], argv[i + 2], argv[i + 3], *style, argv[i + 4]});
    }
    soten::platform::EnsureRuntimeFolder();
    const OffscreenApplication application(argv[0]);
    const std::string failure = soten::printing::WriteComparisonPdfForCli(
        soten::CompareNames(entries, soten::BuiltInTables()), QDate::currentDate(), argv[2]);
    return failure.empty() ? 0 : Fail(3, failure);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--compare") return WriteComparison(argc, argv);
    if (argc != 5) return Fail(2, Usage);
    const auto style = soten::cli::ParseStyle(argv[1]);
    if (!style) return Fail(2, "the style must be shinji or honji");
    soten::platform::EnsureRuntimeFolder();
    const OffscreenApplication application(argv[0]);

    const auto outcome = soten::MakeReading({argv[2], argv[3]}, *style, soten::BuiltInTables());
    const auto* reading = std::get_if<soten::Reading>(&outcome);
    if (!reading) return Fail(2, "the names make no reading");
    const std::string failure = soten::printing::WritePdfForCli(*reading, argv[4]);
    return failure.empty() ? 0 : Fail(3, failure);
}
