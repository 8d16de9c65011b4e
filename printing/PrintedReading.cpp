#include "PrintedReading.h"

#include <QString>

#include "A4Document.h"
#include "Cp932.h"
#include "Cp932Strings.h"
#include "FontSubstitutes.h"
#include "PrinterErrors.h"
#include "ReadingPage.h"

namespace soten::printing {

namespace {

using platform::FromCp932;

// Without the Japanese fonts every character would print as a black box.
void RefuseWithoutFonts(const ShownReading& reading) {
    QString text = FromCp932(reading.record.Names[Surname] + reading.record.Names[GivenName]);
    for (const std::string& line : reading.lines.PrintLines) text += FromCp932(line);
    const std::vector<std::string> missing = platform::MissingFontPackages(text);
    if (missing.empty()) return;
    std::string packages;
    for (const std::string& package : missing) packages += (packages.empty() ? "" : " ") + package;
    throw PrinterError("印刷に使う日本語のフォントがありません。パッケージ " + packages +
                       " をインストールしてください");
}

}  // namespace

void PrintReading(PrintDialog& dialog, const ShownReading& reading, const Tables& tables) {
    // The command is enabled only once there is a reading; without one there
    // is nothing to print.
    if (!reading.valid) return;
    dialog.SetFileName(PdfFileName(reading));
    if (!dialog.Execute()) return;
    PrintReadingPage(dialog.Printer(), reading, tables);
}

QString PdfFileName(const ShownReading& reading) {
    const NameRecord& names = reading.record;
    return QString::fromStdString(
               Cp932::ToUtf8Lossy(names.Names[Surname] + names.Names[GivenName])) +
           QStringLiteral(".pdf");
}

void PrintReadingPage(PrinterSession& printer, const ShownReading& reading, const Tables& tables) {
    RefuseWithoutFonts(reading);
    PrintA4Document(printer, PageOrientation::Landscape, QString::fromUtf8(DocumentTitle),
                    [&] { PaintReadingPage(printer, reading, tables); });
}

}  // namespace soten::printing
