#include "tests/support/printing/PrintingTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QXmlStreamReader>
#include <cmath>
#include <stdexcept>

#include "analysis/reading/Reading.h"
#include "printing/device/PrinterSession.h"
#include "printing/device/QtPrinterBackend.h"
#include "printing/pages/PdfExport.h"
#include "printing/pages/PrintedReading.h"
#include "tests/support/FixtureTables.h"

namespace soten::test {

std::unique_ptr<printing::FakePrinterBackend> OneFakePrinter() {
    auto backend = std::make_unique<printing::FakePrinterBackend>();
    backend->printers.push_back(printing::FakePrinterBackend::StandardPrinter("fake"));
    backend->resolution = QPoint(254, 254);
    return backend;
}

void AnswerPrintDialog(PrintDialog& dialog, const DialogAnswer& answer) {
    dialog.SetAsk([answer](PrinterSession& printer) {
        if (answer.accepted && !answer.printerName.empty() &&
            !printer.Backend().SelectPrinter(answer.printerName, answer.outputFile)) {
            throw std::invalid_argument("there is no printer named \"" + answer.printerName + "\"");
        }
        return answer.accepted;
    });
}

std::vector<RecordedPage::Text> TextsOf(const std::vector<RecordedPage::Item>& page) {
    std::vector<RecordedPage::Text> texts;
    for (const auto& item : page) {
        if (const auto* text = std::get_if<RecordedPage::Text>(&item)) texts.push_back(*text);
    }
    return texts;
}

std::vector<RecordedPage::Picture> PicturesOf(const std::vector<RecordedPage::Item>& page) {
    std::vector<RecordedPage::Picture> pictures;
    for (const auto& item : page) {
        if (const auto* picture = std::get_if<RecordedPage::Picture>(&item)) {
            pictures.push_back(*picture);
        }
    }
    return pictures;
}

void PrintToPdfFile(const Reading& reading, const QString& path, const Tables& tables) {
    PrinterSession printer(std::make_unique<printing::QtPrinterBackend>());
    PrintDialog dialog(printer);
    AnswerPrintDialog(dialog,
                      {true, printing::QtPrinterBackend::PdfOutputName(), path.toStdString()});
    printing::PrintReading(dialog, reading, tables);
}

namespace {

constexpr double TenthMmPerPoint = 254.0 / 72.0;

QByteArray RunPdftotext(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        throw std::runtime_error("pdftotext failed: " +
                                 process.readAllStandardError().toStdString());
    }
    return process.readAllStandardOutput();
}

double Attribute(const QXmlStreamReader& xml, const char* name) {
    return xml.attributes().value(QString::fromLatin1(name)).toDouble() * TenthMmPerPoint;
}

}  // namespace

std::vector<PdfPage> ReadPdfWords(const QString& path) {
    const QByteArray xhtml =
        RunPdftotext({QStringLiteral("-bbox-layout"), path, QStringLiteral("-")});
    std::vector<PdfPage> pages;
    QXmlStreamReader xml(xhtml);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("page")) {
            pages.push_back({Attribute(xml, "width"), Attribute(xml, "height"), {}});
        } else if (xml.name() == QLatin1String("word") && !pages.empty()) {
            PdfWord word;
            word.left = Attribute(xml, "xMin");
            word.top = Attribute(xml, "yMin");
            word.right = Attribute(xml, "xMax");
            word.bottom = Attribute(xml, "yMax");
            word.text = xml.readElementText();
            pages.back().words.push_back(word);
        }
    }
    if (xml.hasError()) throw std::runtime_error("unreadable pdftotext output");
    return pages;
}

QString ReadPdfText(const QString& path) {
    return QString::fromUtf8(RunPdftotext({path, QStringLiteral("-")}));
}

std::optional<PdfWord> FindWord(const PdfPage& page, const QString& prefix, double nearTop) {
    std::optional<PdfWord> best;
    for (const PdfWord& word : page.words) {
        if (!word.text.startsWith(prefix)) continue;
        if (!best ||
            (nearTop >= 0 && std::abs(word.top - nearTop) < std::abs(best->top - nearTop))) {
            best = word;
        }
    }
    return best;
}

}  // namespace soten::test
