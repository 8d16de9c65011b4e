#include "printing/device/QtPrinterBackend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cerrno>
#include <utility>

#include "platform/files/FileErrors.h"
#include "printing/device/PdfFile.h"
#include "printing/device/PrinterErrors.h"
#include "printing/pages/RecordedPage.h"

namespace soten::printing {

namespace {

// Qt says "QPainter::begin(): Returned false" on stderr when a printer
// cannot start a document; the program reports that failure itself.
class QuietFailedBegin {
public:
    QuietFailedBegin() { previous_ = qInstallMessageHandler(&Filter); }
    ~QuietFailedBegin() { qInstallMessageHandler(previous_); }
    QuietFailedBegin(const QuietFailedBegin&) = delete;
    QuietFailedBegin& operator=(const QuietFailedBegin&) = delete;

private:
    static void Filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtWarningMsg && text == QLatin1String("QPainter::begin(): Returned false")) {
            return;
        }
        previous_(type, context, text);
    }
    static inline QtMessageHandler previous_ = nullptr;
};

// Qt's print preview paints on a printer whose engine records pictures.
bool InPreview(QPrinter& printer) {
    const QPaintEngine* engine = printer.paintEngine();
    return engine && engine->type() == QPaintEngine::Picture;
}

}  // namespace

QtPrinterBackend::QtPrinterBackend() = default;
QtPrinterBackend::QtPrinterBackend(QPrinter& borrowed) : borrowed_(&borrowed) {}
QtPrinterBackend::~QtPrinterBackend() = default;

const std::string& QtPrinterBackend::PdfOutputName() {
    static const std::string name = "Print to File (PDF)";
    return name;
}

QPrinter& QtPrinterBackend::Printer() {
    if (borrowed_) return *borrowed_;
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool QtPrinterBackend::WritesPdf() {
    return Printer().outputFormat() == QPrinter::PdfFormat;
}

std::vector<PrinterEntry> QtPrinterBackend::EnumPrinters() {
    std::vector<PrinterEntry> entries;
    const QString defaultQueue = QPrinterInfo::defaultPrinterName();
    for (const QString& queue : QPrinterInfo::availablePrinterNames()) {
        entries.push_back(
            {queue.toStdString(), queue == defaultQueue ? PrinterAttributeDefault : 0u});
    }
    entries.push_back({PdfOutputName(), 0u});
    return entries;
}

std::string QtPrinterBackend::CurrentPrinterName() {
    return WritesPdf() ? PdfOutputName() : Printer().printerName().toStdString();
}

bool QtPrinterBackend::CurrentPrinterAvailable() {
    if (WritesPdf()) return true;
    const QString queue = Printer().printerName();
    return !queue.isEmpty() && QPrinterInfo::availablePrinterNames().contains(queue);
}

bool QtPrinterBackend::SelectPrinter(const std::string& name, const std::string& outputFile) {
    QPrinter& printer = Printer();
    if (name == PdfOutputName()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        if (!outputFile.empty()) {
            printer.setOutputFileName(QFile::decodeName(QByteArray::fromStdString(outputFile)));
            outputFileBytes_ = outputFile;
        }
        return true;
    }
    const QString queue = QString::fromStdString(name);
    if (!QPrinterInfo::availablePrinterNames().contains(queue)) return false;
    printer.setOutputFileName(QString());
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(queue);
    return printer.outputFormat() == QPrinter::NativeFormat && printer.printerName() == queue;
}

std::string QtPrinterBackend::OutputFileBytes() {
    const QString name = Printer().outputFileName();
    // The bytes given stay in force as long as the printer holds their name.
    if (!outputFileBytes_.empty() &&
        QFile::decodeName(QByteArray::fromStdString(outputFileBytes_)) == name) {
        return outputFileBytes_;
    }
    return QFile::encodeName(name).toStdString();
}

void QtPrinterBackend::ProposeFileName(const QString& fileName) {
    proposedFileName_ = fileName;
}

bool QtPrinterBackend::RunPrintDialog(QWidget* parent) {
    if (borrowed_) {
        QPrintDialog dialog(borrowed_, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    // Qt's dialog changes the printer it is given as soon as it opens (it
    // selects the default queue), even when it is then cancelled. It works on
    // a printer of its own, which becomes the toolkit's printer only on OK.
    const QPrinter& current = Printer();
    auto chosen = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (current.outputFormat() == QPrinter::PdfFormat) {
        chosen->setOutputFormat(QPrinter::PdfFormat);
        chosen->setOutputFileName(current.outputFileName());
    } else {
        chosen->setPrinterName(current.printerName());
    }
    chosen->setPageLayout(current.pageLayout());
    chosen->setColorMode(current.colorMode());
    chosen->setCopyCount(current.copyCount());
    chosen->setCollateCopies(current.collateCopies());
    chosen->setDuplex(current.duplex());
    chosen->setDocName(current.docName());

    QPrintDialog dialog(chosen.get(), parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    if (!proposedFileName_.isEmpty()) {
        // The file of a PDF is named after the reading, in the folder last
        // used. Qt's dialog keeps the name in a field of its own, which it
        // fills from the printer only while the printer writes a PDF.
        if (lastFolder_.isEmpty()) lastFolder_ = QDir::homePath();
        const QString proposed = QDir(lastFolder_).filePath(proposedFileName_);
        if (auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("filename"))) {
            field->setText(proposed);
        } else if (chosen->outputFormat() == QPrinter::PdfFormat) {
            chosen->setOutputFileName(proposed);
        }
    }
    if (dialog.exec() != QDialog::Accepted) return false;
    printer_ = std::move(chosen);
    if (printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty()) {
        lastFolder_ = QFileInfo(printer_->outputFileName()).absolutePath();
    }
    return true;
}

std::optional<SupportedSettingSet> QtPrinterBackend::Capabilities() {
    if (WritesPdf()) {
        // Any page size and either colour model.
        return SupportedSettingSet{PrinterSetting::Orientation, PrinterSetting::PaperSize,
                                   PrinterSetting::Scale, PrinterSetting::Color};
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(Printer().printerName());
    if (info.isNull()) return std::nullopt;
    // Qt lays out the page in either orientation itself and scales it when
    // painting; every queue takes some page size.
    SupportedSettingSet settings{PrinterSetting::Orientation, PrinterSetting::PaperSize,
                                 PrinterSetting::Scale};
    const QList<QPrinter::ColorMode> colors = info.supportedColorModes();
    if (colors.contains(QPrinter::Color) && colors.contains(QPrinter::GrayScale)) {
        settings.Add(PrinterSetting::Color);
    }
    return settings;
}

std::optional<PrinterSettings> QtPrinterBackend::Settings() {
    const std::optional<SupportedSettingSet> capabilities = Capabilities();
    if (!capabilities) return std::nullopt;
    const QPrinter& printer = Printer();
    const QPageLayout layout = printer.pageLayout();
    const int paperNumber = layout.pageSize().windowsId();

    PrinterSettings settings;
    settings.supported = *capabilities;
    settings.orientation =
        layout.orientation() == QPageLayout::Landscape ? OrientationLandscape : OrientationPortrait;
    settings.paperSize = paperNumber > 0 ? paperNumber : PaperUserDefined;
    settings.scale = scale_;
    settings.color = printer.colorMode() == QPrinter::Color ? ColorColor : ColorMonochrome;
    return settings;
}

std::optional<PrinterSettings> QtPrinterBackend::MergeSettings(const PrinterSettings& settings) {
    const std::optional<SupportedSettingSet> capabilities = Capabilities();
    if (!capabilities) return std::nullopt;
    QPrinter& printer = Printer();
    // What the printer cannot take is ignored, as a driver ignores it.
    const auto uses = [&](PrinterSetting setting) {
        return settings.supported.Has(setting) && capabilities->Has(setting);
    };

    if (uses(PrinterSetting::PaperSize)) {
        // A size without a number, or one the printer refuses, leaves the
        // printer's own in place.
        const QPageSize numbered(QPageSize::id(static_cast<int>(settings.paperSize)));
        if (numbered.isValid() && !numbered.isEquivalentTo(printer.pageLayout().pageSize())) {
            printer.setPageSize(numbered);
        }
    }
    if (uses(PrinterSetting::Orientation) && (settings.orientation == OrientationPortrait ||
                                              settings.orientation == OrientationLandscape)) {
        printer.setPageOrientation(settings.orientation == OrientationLandscape
                                       ? QPageLayout::Landscape
                                       : QPageLayout::Portrait);
    }
    if (uses(PrinterSetting::Color) &&
        (settings.color == ColorColor || settings.color == ColorMonochrome)) {
        printer.setColorMode(settings.color == ColorColor ? QPrinter::Color : QPrinter::GrayScale);
    }
    if (uses(PrinterSetting::Scale) && settings.scale > 0) scale_ = settings.scale;
    return Settings();
}

void QtPrinterBackend::ResetPrinter() {
    if (!borrowed_) printer_.reset();
    scale_ = 100;
}

QPoint QtPrinterBackend::Resolution() {
    QPrinter& printer = Printer();
    return QPoint(printer.logicalDpiX(), printer.logicalDpiY());
}

QPoint QtPrinterBackend::PhysicalOffset() {
    // Qt's printer paints from the corner of the printable area; the offset
    // is that corner measured from the sheet's.
    QPrinter& printer = Printer();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    return QPoint(qRound(printable.left() - paper.left()), qRound(printable.top() - paper.top()));
}

void QtPrinterBackend::PaintDocument(QPrinter& printer, const std::vector<RecordedPage>& pages) {
    QPainter painter;
    bool begun = false;
    {
        const QuietFailedBegin quiet;
        begun = painter.begin(&printer);
    }
    if (!begun) {
        throw PrinterError("TRbPrinter.EndDocument: Cannot start a document on \"" +
                           CurrentPrinterName() + "\"");
    }
    if (scale_ != 100) painter.scale(scale_ / 100.0, scale_ / 100.0);
    bool first = true;
    for (const RecordedPage& page : pages) {
        if (!std::exchange(first, false) && !printer.newPage()) {
            painter.end();
            throw PrinterError("TRbPrinter.EndDocument: The document for \"" +
                               CurrentPrinterName() + "\" could not be finished");
        }
        page.Paint(painter);
    }
    if (!painter.end()) {
        throw PrinterError("TRbPrinter.EndDocument: The document for \"" + CurrentPrinterName() +
                           "\" could not be finished");
    }
}

void QtPrinterBackend::PrintDocument(const QString& title, const std::vector<RecordedPage>& pages) {
    QPrinter& printer = Printer();
    printer.setDocName(title);
    // The preview only records the page; no file is written.
    if (!WritesPdf() || InPreview(printer)) {
        PaintDocument(printer, pages);
        return;
    }
    const QString shownName = printer.outputFileName();
    if (shownName.isEmpty()) {
        throw PrinterError("TRbPrinter.EndDocument: The PDF output has no file name");
    }
    const std::string path = OutputFileBytes();
    const std::string failure = WritePdfFile(path, [&](const QString& newFile) -> std::string {
        printer.setOutputFileName(newFile);
        std::string error;
        try {
            PaintDocument(printer, pages);
        } catch (const PrinterError&) {
            // Qt tells no reason; the file is open and writable, so the
            // likely one is the disk.
            error = platform::FileErrorReason(ENOSPC);
        }
        printer.setOutputFileName(shownName);
        return error;
    });
    // The message names the file and the reason, for the user, as Save As does.
    if (!failure.empty()) throw PrinterError(failure);
}

}  // namespace soten::printing
