#include "printing/pages/PrintedReading.h"

#include <QString>

#include "analysis/text/Cp932.h"
#include "platform/drawing/Cp932Strings.h"
#include "platform/drawing/FontSubstitutes.h"
#include "printing/device/A4Document.h"
#include "printing/device/PrinterErrors.h"
#include "printing/pages/ReadingPage.h"

namespace soten::printing {

namespace {

using platform::FromCp932;

QString PrintedText(const Reading& reading) {
    QString text = FromCp932(reading.Counted().Names[Surname] + reading.Counted().Names[GivenName]);
    for (const std::string& line : reading.Lines().PrintLines) text += FromCp932(line);
    return text;
}

}  // namespace

void PrintReading(PrintDialog& dialog, const Reading& reading, const Tables& tables) {
    // The command is enabled only once there is a reading; without one there
    // is nothing to print.
    dialog.SetFileName(PdfFileName(reading));
    if (!dialog.Execute()) return;
    PrintReadingPage(dialog.Printer(), reading, tables);
}

QString PdfFileName(const Reading& reading) {
    const NameRecord& names = reading.Counted();
    return QString::fromStdString(
               Cp932::ToUtf8Lossy(names.Names[Surname] + names.Names[GivenName])) +
           QStringLiteral(".pdf");
}

void PrintReadingPage(PrinterSession& printer, const Reading& reading, const Tables& tables) {
    RefuseWithoutFonts(PrintedText(reading));
    PrintA4Document(printer, PageOrientation::Landscape, QString::fromUtf8(DocumentTitle),
                    [&] { PaintReadingPage(printer, reading, tables); });
}

}  // namespace soten::printing
