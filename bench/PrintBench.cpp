// The printed reading, start to finish, into a PDF file: settings, the page
// with its texts and border, and Qt's PDF output. Target: at most 150 ms a page.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "analysis/reading/Reading.h"
#include "analysis/text/ShiftJis.h"
#include "platform/drawing/FontSubstitutes.h"
#include "printing/device/PrinterSession.h"
#include "printing/device/QtPrinterBackend.h"
#include "printing/pages/PrintedReading.h"

namespace {

soten::Reading ReadingOf(const char* surname, const char* given, soten::StrokeStyle style) {
    return std::get<soten::Reading>(soten::MakeReading(
        {soten::Cp932Text(surname), soten::Cp932Text(given)}, style, soten::BuiltInTables()));
}

void PrintToPdf(benchmark::State& bench, const soten::Reading& reading) {
    QTemporaryDir directory;
    const std::string path = directory.filePath(QStringLiteral("page.pdf")).toStdString();
    for (auto _ : bench) {
        // A new layer each time, as soten-cli --pdf makes one.
        soten::PrinterSession printer(std::make_unique<soten::printing::QtPrinterBackend>());
        printer.Backend().SelectPrinter(soten::printing::QtPrinterBackend::PdfOutputName(), path);
        printer.Refresh();
        soten::printing::PrintReadingPage(printer, reading, soten::BuiltInTables());
    }
}

void BM_PrintedReadingToPdf(benchmark::State& bench) {
    PrintToPdf(bench, ReadingOf("山田", "太郎", soten::StrokeStyle::Shinji));
}
BENCHMARK(BM_PrintedReadingToPdf)->Unit(benchmark::kMillisecond);

void BM_PrintedReadingToPdfTwelveCharactersHonji(benchmark::State& bench) {
    PrintToPdf(bench, ReadingOf("勅使河原山田", "一二三四五六", soten::StrokeStyle::Honji));
}
BENCHMARK(BM_PrintedReadingToPdfTwelveCharactersHonji)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Fonts need a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    soten::platform::InstallFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
