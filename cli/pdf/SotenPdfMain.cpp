// soten-pdf: the printed reading, or the printed comparison of names, as a
// PDF file, for soten-cli's --pdf. It is a program of its own so that soten-cli
// loads no Qt; it makes the Qt application that fonts and printing need, on
// the offscreen platform.
//
//   soten-pdf --reading FILE < REQUEST    STYLE SURNAME GIVEN
//   soten-pdf --compare FILE < REQUEST    STYLE SURNAME GIVEN READING NOTE for each name
//
// The request comes on standard input, as PdfHelper.h describes it; text is
// in code page 932. The comparison is dated today (local time). Exit status:
// 0 written, 2 bad arguments or names, 3 the file could not be written; the
// reason is the last line on stderr.
#include <unistd.h>

#include <QDate>
#include <QGuiApplication>
#include <array>
#include <cerrno>
#include <iostream>
#include <string>
#include <vector>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "analysis/shortlist/NameComparison.h"
#include "analysis/text/Cp932.h"
#include "cli/app/CliOptions.h"
#include "cli/pdf/PdfHelper.h"
#include "platform/files/FileErrors.h"
#include "platform/files/RuntimeFolder.h"
#include "printing/pages/PdfExport.h"

namespace {

constexpr const char* Usage =
    "使い方: soten-pdf --reading|--compare FILE（名前は標準入力に。soten-cli が実行します）";
constexpr std::size_t ReadingFields = 3;
constexpr std::size_t NameFields = 5;

int Fail(int status, const std::string& reason) {
    std::cerr << reason << "\n";
    return status;
}

// Fonts and printing need a Qt application; made once the request is good.
struct OffscreenApplication {
    explicit OffscreenApplication(char* program)
        : argv{program, platformOption, offscreen, nullptr}, application(argc, argv) {}
    char platformOption[10] = "-platform";
    char offscreen[10] = "offscreen";
    int argc = 3;
    char* argv[4];
    QGuiApplication application;
};

// All of standard input; false with errno set when it cannot be read.
bool ReadRequest(std::string& request) {
    std::array<char, 65536> buffer;
    for (ssize_t got; (got = read(STDIN_FILENO, buffer.data(), buffer.size())) != 0;) {
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        request.append(buffer.data(), static_cast<std::size_t>(got));
    }
    return true;
}

int WriteComparison(const std::vector<std::string>& fields, char* program, const char* path) {
    if (fields.empty() || fields.size() % NameFields != 0) return Fail(2, Usage);
    std::vector<soten::ShortlistEntry> entries;
    for (std::size_t i = 0; i < fields.size(); i += NameFields) {
        const auto style = soten::cli::ParseStyle(fields[i]);
        if (!style) return Fail(2, "画数式は shinji か honji です");
        soten::ShortlistEntry& entry = entries.emplace_back();
        const auto reading = soten::Cp932::FromUtf8(fields[i + 3]);
        const auto note = soten::Cp932::FromUtf8(fields[i + 4]);
        if (!entry.SetNames(fields[i + 1], fields[i + 2]) || !reading || !note) {
            return Fail(2, "標準入力の名前が UTF-8 ではありません");
        }
        entry.reading = *reading;
        entry.note = *note;
        entry.style = *style;
    }
    soten::platform::EnsureRuntimeFolder();
    const OffscreenApplication application(program);
    const std::string failure = soten::printing::WriteComparisonPdfForCli(
        soten::CompareNames(entries, soten::BuiltInTables()), QDate::currentDate(), path);
    return failure.empty() ? 0 : Fail(3, failure);
}

int WriteReading(const std::vector<std::string>& fields, char* program, const char* path) {
    if (fields.size() != ReadingFields) return Fail(2, Usage);
    const auto style = soten::cli::ParseStyle(fields[0]);
    if (!style) return Fail(2, "画数式は shinji か honji です");
    soten::platform::EnsureRuntimeFolder();
    const OffscreenApplication application(program);

    const auto outcome = soten::MakeReading({fields[1], fields[2]}, *style, soten::BuiltInTables());
    const auto* reading = std::get_if<soten::Reading>(&outcome);
    if (!reading) return Fail(2, "その名前では鑑定できません");
    const std::string failure = soten::printing::WritePdfForCli(*reading, path);
    return failure.empty() ? 0 : Fail(3, failure);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Fail(2, Usage);
    const std::string mode = argv[1];
    if (mode != "--reading" && mode != "--compare") return Fail(2, Usage);
    std::string request;
    if (!ReadRequest(request)) {
        return Fail(2, std::string("名前を読めません。") + soten::platform::FileErrorReason(errno));
    }
    const auto fields = soten::cli::PdfRequestFields(request);
    if (!fields) return Fail(2, "標準入力が soten-cli からの依頼の形ではありません");
    return mode == "--reading" ? WriteReading(*fields, argv[0], argv[2])
                               : WriteComparison(*fields, argv[0], argv[2]);
}
