#include "printing/device/A4Document.h"

#include "platform/drawing/FontSubstitutes.h"
#include "printing/device/PrinterErrors.h"
#include "printing/device/PrinterSettings.h"

namespace soten::printing {

void PrintA4Document(PrinterSession& printer, PageOrientation orientation, const QString& title,
                     const std::function<void()>& paint) {
    const SupportedSettingSet supported = printer.SupportedSettings();
    if (supported.Has(PrinterSetting::PaperSize)) printer.SetPaperSizeNumber(PaperA4);
    if (supported.Has(PrinterSetting::Orientation)) printer.SetOrientation(orientation);
    if (supported.Has(PrinterSetting::Color)) printer.SetColor(false);
    if (supported.Has(PrinterSetting::Scale)) printer.SetScale(100);
    printer.ApplySettings();

    printer.BeginDocument(title);
    try {
        paint();
    } catch (...) {
        printer.AbortDocument();
        throw;
    }
    printer.EndDocument();
}

void RefuseWithoutFonts(const QString& text) {
    const std::vector<std::string> missing = platform::MissingFontPackages(text);
    if (missing.empty()) return;
    std::string packages;
    for (const std::string& package : missing) packages += (packages.empty() ? "" : " ") + package;
    throw PrinterError("印刷に使う日本語のフォントがありません。パッケージ " + packages +
                       " をインストールしてください");
}

}  // namespace soten::printing
