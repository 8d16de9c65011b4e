#include "printing/pages/DetailPage.h"

#include <QString>

#include "analysis/reading/DetailedReading.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"
#include "platform/drawing/Cp932Strings.h"
#include "platform/drawing/FontSubstitutes.h"
#include "printing/device/A4Document.h"
#include "printing/pages/PrintedReading.h"
#include "printing/pages/ReadingPage.h"

namespace soten::printing {

namespace {

// Portrait A4 in tenths of a millimetre: a 20 mm margin on each side; 48
// full-width characters of 10 points fit in the 170 mm between.
constexpr std::int32_t Left = 200;
constexpr std::int32_t Top = 200;
constexpr std::int32_t FirstLine = 380;
constexpr std::int32_t LinePitch = 58;
constexpr std::size_t LineBytes = 96;

}  // namespace

std::vector<std::string> CutLine(const std::string& line, std::size_t maxBytes,
                                 const std::string& continuation) {
    static const std::string period = Cp932Text("。");
    static const std::string comma = Cp932Text("，");
    std::vector<std::string> pieces;
    std::string piece;
    for (const std::string_view unit : Cp932Characters(line)) {
        const bool hangs = unit == period || unit == comma;
        if (piece.size() + unit.size() > maxBytes && !hangs) {
            pieces.push_back(std::move(piece));
            piece = continuation;
        }
        piece.append(unit);
    }
    if (!piece.empty() || pieces.empty()) pieces.push_back(std::move(piece));
    return pieces;
}

void PaintDetailPage(PrinterSession& printer, const Reading& reading, const Tables& tables) {
    platform::InstallFontSubstitutes();
    RecordedPage& canvas = printer.PageCanvas();
    const auto textOut = [&](std::int32_t x, std::int32_t y, const std::string& cp932) {
        canvas.TextOut(TenthMmToDeviceX(printer, x), TenthMmToDeviceY(printer, y),
                       platform::FromCp932(cp932));
    };
    canvas.CurrentFont().color = Qt::black;
    canvas.CurrentFont().name = QString::fromUtf8(platform::GothicFace);
    canvas.CurrentFont().size = 16;
    textOut(Left, Top, Cp932Text("蒼天姓名判断　詳しい鑑定"));

    static const std::string indent = Cp932Text("　");
    static const std::string continuation = Cp932Text("　　");
    const std::vector<std::string> lines =
        DetailLines(reading.Counted(), reading.Style(), reading.GivenYomi(), tables);
    std::int32_t y = FirstLine;
    bool first = true;
    for (const std::string& line : lines) {
        // Headings and the name in the gothic face, the rest in mincho.
        const bool heading = first || (!line.empty() && !line.starts_with(indent));
        canvas.CurrentFont().name =
            QString::fromUtf8(heading ? platform::GothicFace : platform::MinchoFace);
        canvas.CurrentFont().size = first ? 9 : 10;
        if (heading && !first) y += LinePitch / 2;
        for (const std::string& piece : CutLine(line, LineBytes, continuation)) {
            textOut(Left, y, piece);
            y += LinePitch;
        }
        first = false;
    }
}

void PrintDetailPage(PrinterSession& printer, const Reading& reading, const Tables& tables) {
    QString text;
    for (const std::string& line :
         DetailLines(reading.Counted(), reading.Style(), reading.GivenYomi(), tables)) {
        text += platform::FromCp932(line);
    }
    RefuseWithoutFonts(text);
    PrintA4Document(printer, PageOrientation::Portrait, QString::fromUtf8(DetailDocumentTitle),
                    [&] { PaintDetailPage(printer, reading, tables); });
}

void PrintDetail(PrintDialog& dialog, const Reading& reading, const Tables& tables) {
    QString fileName = PdfFileName(reading);
    fileName.insert(fileName.size() - 4, QStringLiteral("_詳しい鑑定"));
    dialog.SetFileName(fileName);
    if (!dialog.Execute()) return;
    PrintDetailPage(dialog.Printer(), reading, tables);
}

}  // namespace soten::printing
