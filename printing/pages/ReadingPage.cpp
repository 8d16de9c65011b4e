#include "printing/pages/ReadingPage.h"

#include <QRect>
#include <QString>
#include <algorithm>

#include "analysis/reading/Fortunes.h"
#include "analysis/reading/ShownText.h"
#include "analysis/text/PaddedNumber.h"
#include "analysis/text/ShiftJis.h"
#include "platform/drawing/Cp932Strings.h"
#include "platform/drawing/FontSubstitutes.h"
#include "printing/device/PrinterSession.h"
#include "printing/pages/FramePicture.h"

namespace soten::printing {

namespace {

constexpr const char* Heading = "蒼 天 姓 名 判 断";
constexpr const char* HonjiNote =
    "※本字式姓名判断で用いる画数は，文字構成の根本法則によるものです。"
    "漢字辞典の画数と異なる場合がありますが間違いではありません。";

using platform::FromCp932;

void UseFont(RecordedPage& canvas, const char* face, int points) {
    canvas.CurrentFont().name = QString::fromUtf8(face);
    canvas.CurrentFont().size = points;
}

}  // namespace

std::int32_t TenthMmToDevice(std::int32_t tenthMm, std::int32_t dpi, std::int32_t offset) {
    // The product is taken wide so that no resolution can overflow it; the
    // result is what 32-bit arithmetic gives for every real page and printer.
    const std::int64_t product = static_cast<std::int64_t>(tenthMm) * dpi;
    return static_cast<std::int32_t>(product / 254) - offset;
}

std::int32_t TenthMmToDeviceX(PrinterSession& printer, std::int32_t x) {
    return TenthMmToDevice(x, printer.Resolution().x(), printer.PhysicalOffset().x());
}

std::int32_t TenthMmToDeviceY(PrinterSession& printer, std::int32_t y) {
    return TenthMmToDevice(y, printer.Resolution().y(), printer.PhysicalOffset().y());
}

std::int32_t NameColumnPitch(std::int32_t characterCount) {
    return characterCount < 4 ? 265 : 688 / (characterCount - 1);
}

std::int32_t ReadingLineY(std::int32_t index, std::int32_t lastIndex) {
    // A reading has at least 16 lines; a single line would stand at the top.
    return lastIndex > 0 ? 500 + index * 1170 / lastIndex : 500;
}

std::string StrokeCountText(std::int32_t strokes) {
    static const std::string equals = Cp932Text("＝");
    static const std::string stroke = Cp932Text("画");
    return equals + PaddedNumber(strokes, 3) + stroke;
}

std::string FortuneLineText(const Tables& tables, FortuneKind kind, std::int32_t number) {
    static const std::string close = Cp932Text("］");
    return FortuneLabels()[kind] + FortuneValueText(number) +
           GradeText(LookupKeyword(tables, number)) + close;
}

void PaintReadingPage(PrinterSession& printer, const Reading& reading, const Tables& tables) {
    platform::InstallFontSubstitutes();
    RecordedPage& canvas = printer.PageCanvas();
    const auto textOut = [&](std::int32_t x, std::int32_t y, const QString& text) {
        canvas.TextOut(TenthMmToDeviceX(printer, x), TenthMmToDeviceY(printer, y), text);
    };

    canvas.CurrentFont().color = Qt::black;

    UseFont(canvas, platform::GothicFace, 22);
    textOut(1150, 315, QString::fromUtf8(Heading));

    if (reading.Style() == StrokeStyle::Honji) {
        UseFont(canvas, platform::MinchoFace, 9);
        textOut(420, 1910, QString::fromUtf8(HonjiNote));
    }

    // The name top to bottom, the given name straight after the surname.
    const NameRecord& record = reading.Counted();
    const auto length = [&record](NamePart part) {
        return std::clamp<std::int32_t>(record.Lengths[part], 0, MaxPartChars);
    };
    const std::int32_t pitch = NameColumnPitch(length(Surname) + length(GivenName));
    std::int32_t y = 500;
    std::string currentChar;
    for (const NamePart part : {Surname, GivenName}) {
        for (std::int32_t i = 1; i <= length(part); ++i) {
            currentChar = ColumnCharacter(Unit(record.Names[part], static_cast<std::size_t>(i)));
            UseFont(canvas, platform::GothicFace, 15);
            textOut(530, y, FromCp932(currentChar));
            UseFont(canvas, platform::MinchoFace, 12);
            textOut(600, y + 5,
                    FromCp932(StrokeCountText(record.Strokes[part][static_cast<std::size_t>(i)])));
            y += pitch;
        }
    }

    // The five numbers, 総運 on top.
    UseFont(canvas, platform::MinchoFace, 12);
    for (int kind = Heaven; kind <= Total; ++kind) {
        const std::int32_t row = ListingPosition(static_cast<FortuneKind>(kind));
        textOut(420, 1394 + 69 * row,
                FromCp932(FortuneLineText(tables, static_cast<FortuneKind>(kind),
                                          record.Fortunes[static_cast<std::size_t>(kind)])));
    }

    const std::int32_t lastLine =
        std::clamp<std::int32_t>(reading.Lines().lastPrintLine, 0, WrappedLineCount - 1);
    for (std::int32_t i = 0; i <= lastLine; ++i) {
        textOut(1070, ReadingLineY(i, lastLine),
                FromCp932(reading.Lines().PrintLines[static_cast<std::size_t>(i)]));
    }

    // The border last; it covers no text.
    const std::int32_t left = TenthMmToDeviceX(printer, 200);
    const std::int32_t top = TenthMmToDeviceY(printer, 200);
    const std::int32_t right = TenthMmToDeviceX(printer, 2770);
    const std::int32_t bottom = TenthMmToDeviceY(printer, 1900);
    canvas.StretchDraw(QRect(left, top, right - left, bottom - top), LoadFramePicture());
}

}  // namespace soten::printing
