#include "printing/device/PrinterSession.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>
#include <exception>
#include <utility>

#include "printing/device/QtPrinterBackend.h"

namespace soten {

namespace {

constexpr const char* NoPrinterMessage = "TRbPrinter.CheckNoPrinter: No Printer";
constexpr const char* PaperSizeNotSupported =
    "TRbPrinter.SetPaperSizeNumber: PaperSize is not Supported";
constexpr const char* OrientationNotSupported =
    "TRbPrinter.SetOrientation: Orientation is not Supported";
constexpr const char* ColorNotSupported = "TRbPrinter.SetColor: Color is not Supported";
constexpr const char* ScaleNotSupported = "TRbPrinter.SetScale: Scale is not Supported";
constexpr const char* NoSettingInfo = "TRbPrinter.ApplySettings; No Setteing Info";
constexpr const char* DevmodeSizeZero =
    "TRbPrinter.ApplySettings; Devmode Size Should be greater than 0";
constexpr const char* AssertionFailure = "Assertion failure";

}  // namespace

PrinterList::PrinterList(printing::PrinterBackend& backend) : entries_(backend.EnumPrinters()) {}

// ---- PrinterSession ----------------------------------------------------------------

PrinterSession::PrinterSession(std::unique_ptr<printing::PrinterBackend> backend)
    : backend_(std::move(backend)), printers_(*backend_) {}

PrinterSession::~PrinterSession() = default;

std::unique_ptr<printing::PrinterBackend> PrinterSession::UseBackend(
    std::unique_ptr<printing::PrinterBackend> backend) {
    std::swap(backend_, backend);
    printers_ = PrinterList(*backend_);
    cachedPrinterIndex_ = -1;
    changed_ = false;
    pending_.reset();
    pages_.clear();
    return backend;
}

void PrinterSession::CheckNoPrinter() {
    for (int i = 0; i < printers_.Count(); ++i) {
        if ((printers_.Attributes(i) & printing::PrinterAttributeHidden) == 0) return;
    }
    cachedPrinterIndex_ = -1;
    throw NoPrinterError(NoPrinterMessage);
}

void PrinterSession::ThrowUnavailable(const char* operation) {
    const std::string name = backend_->CurrentPrinterName();
    if (name.empty()) throw PrinterError(std::string("TRbPrinter.") + operation + ": No Printer");
    throw PrinterError(std::string("TRbPrinter.") + operation + ": Printer \"" + name +
                       "\" is not available");
}

void PrinterSession::TakePendingCopy(const char* operation) {
    pending_.reset();
    std::optional<PrinterSettings> mode = backend_->DeviceMode();
    if (!mode) {
        // A printer that has gone away is worth a message of its own; a
        // printer that is there and has no settings record is a broken
        // assumption of the layer.
        if (!backend_->CurrentPrinterAvailable()) ThrowUnavailable(operation);
        throw PrinterAssertionError(AssertionFailure);
    }
    pending_ = std::move(mode);
}

SupportedSettingSet PrinterSession::SupportedSettings() {
    CheckNoPrinter();
    if (!pending_) TakePendingCopy("SupportedSettings");
    return SupportedSettingSet::FromFields(pending_->fields);
}

PrinterSettings& PrinterSession::PendingFor(PrinterSetting setting,
                                            const char* notSupportedMessage) {
    // SupportedSettings checks for a printer and takes the pending copy when
    // there is none.
    if (!SupportedSettings().Has(setting)) throw UnsupportedSettingError(notSupportedMessage);
    return *pending_;
}

void PrinterSession::SetPaperSizeNumber(std::int32_t paperNumber) {
    PrinterSettings& mode = PendingFor(PrinterSetting::PaperSize, PaperSizeNotSupported);
    // The paper lists belong to the printer last looked at. This layer keeps
    // no lists the program reads, only which printer that was.
    cachedPrinterIndex_ = backend_->CurrentPrinterIndex();
    if (mode.paperSize == paperNumber) return;
    mode.paperSize = paperNumber;
    if (paperNumber != PaperUserDefined) {
        // A stored custom size would otherwise override the chosen paper.
        mode.fields &= ~(DeviceField::PaperLength | DeviceField::PaperWidth);
    }
    changed_ = true;
}

void PrinterSession::SetOrientation(PageOrientation orientation) {
    PrinterSettings& mode = PendingFor(PrinterSetting::Orientation, OrientationNotSupported);
    const std::int16_t code =
        orientation == PageOrientation::Landscape ? OrientationLandscape : OrientationPortrait;
    if (mode.orientation == code) return;
    mode.orientation = code;
    changed_ = true;
}

void PrinterSession::SetColor(bool color) {
    PrinterSettings& mode = PendingFor(PrinterSetting::Color, ColorNotSupported);
    const std::int16_t code = color ? ColorColor : ColorMonochrome;
    const std::int16_t opposite = color ? ColorMonochrome : ColorColor;
    // A code that is neither colour nor monochrome is the driver's own; keep it.
    if (mode.color != opposite) return;
    mode.color = code;
    changed_ = true;
}

void PrinterSession::SetScale(std::int16_t percent) {
    PrinterSettings& mode = PendingFor(PrinterSetting::Scale, ScaleNotSupported);
    if (mode.scale == percent) return;
    mode.scale = percent;
    changed_ = true;
}

void PrinterSession::ApplySettings() {
    if (!changed_) return;

    std::optional<PrinterSettings> block;
    std::exception_ptr failure;
    try {
        if (!pending_) throw PrinterAssertionError(NoSettingInfo);
        block = backend_->DeviceMode();
        if (!block) {
            if (!backend_->CurrentPrinterAvailable()) ThrowUnavailable("ApplySettings");
            throw PrinterAssertionError(DevmodeSizeZero);
        }
        block = *pending_;
        pending_.reset();
        changed_ = false;
        cachedPrinterIndex_ = -1;
    } catch (...) {
        failure = std::current_exception();
    }

    // The driver checks and merges the printer's record whether or not a new
    // one was prepared above, so the printer is always left with settings it
    // accepted; the first error is the one reported.
    if (!block) block = backend_->DeviceMode();
    if (block && !backend_->MergeDeviceMode(*block) && !failure) {
        if (!backend_->CurrentPrinterAvailable()) ThrowUnavailable("ApplySettings");
        throw PrinterAssertionError(AssertionFailure);
    }
    if (failure) std::rethrow_exception(failure);
}

void PrinterSession::BeginDocument(const QString& title) {
    if (DocumentOpen()) {
        throw PrinterError("TRbPrinter.BeginDocument: A document is already open");
    }
    if (!backend_->CurrentPrinterAvailable()) ThrowUnavailable("BeginDocument");
    documentTitle_ = title;
    pages_.emplace_back();
}

RecordedPage& PrinterSession::PageCanvas() {
    if (!DocumentOpen()) throw PrinterError("TRbPrinter.PageCanvas: No document is open");
    return pages_.back();
}

void PrinterSession::NewPage() {
    if (!DocumentOpen()) throw PrinterError("TRbPrinter.NewPage: No document is open");
    RecordedPage next;
    next.CurrentFont() = pages_.back().CurrentFont();
    pages_.push_back(std::move(next));
}

void PrinterSession::EndDocument() {
    if (!DocumentOpen()) throw PrinterError("TRbPrinter.EndDocument: No document is open");
    // The document ends here whatever happens next; a failure leaves nothing
    // behind to end again.
    const std::vector<RecordedPage> pages = std::exchange(pages_, {});
    if (!backend_->CurrentPrinterAvailable()) ThrowUnavailable("EndDocument");
    backend_->PrintDocument(documentTitle_, pages);
}

void PrinterSession::AbortDocument() {
    pages_.clear();
}

QPoint PrinterSession::Resolution() {
    CheckNoPrinter();
    return backend_->Resolution();
}

QPoint PrinterSession::PhysicalOffset() {
    CheckNoPrinter();
    return backend_->PhysicalOffset();
}

void PrinterSession::Refresh() {
    pending_.reset();
    changed_ = false;
    cachedPrinterIndex_ = -1;
    const int current = backend_->CurrentPrinterIndex();
    if (current != cachedPrinterIndex_) {
        cachedPrinterIndex_ = current;
        SupportedSettings();
    }
}

void PrinterSession::SettingsChanged() {
    // An open document keeps its printer; the next call sees the change.
    if (DocumentOpen()) return;
    PrinterList fresh(*backend_);
    if (fresh == printers_) return;
    backend_->ResetPrinter();
    printers_ = std::move(fresh);
    cachedPrinterIndex_ = -1;
    pending_.reset();
}

namespace {

PrinterSession* theSession = nullptr;

void FreePrinterSession() {
    delete theSession;
    theSession = nullptr;
}

}  // namespace

PrinterSession& SharedPrinterSession() {
    if (!theSession) {
        theSession = new PrinterSession(std::make_unique<printing::QtPrinterBackend>());
        // Qt's printer objects must go before the application object does.
        qAddPostRoutine(FreePrinterSession);
    }
    return *theSession;
}

// ---- PrintDialog ------------------------------------------------------------

namespace {

std::optional<PrintDialogAnswer>& NextAnswer() {
    static std::optional<PrintDialogAnswer> answer;
    return answer;
}

}  // namespace

PrintDialog::PrintDialog(QObject* parent) : QObject(parent), printer_(nullptr) {}

PrintDialog::PrintDialog(PrinterSession& printer, QObject* parent)
    : QObject(parent), printer_(&printer) {}

PrinterSession& PrintDialog::Printer() const {
    return printer_ ? *printer_ : SharedPrinterSession();
}

void PrintDialog::SetNextAnswer(const PrintDialogAnswer& answer) {
    NextAnswer() = answer;
}

bool PrintDialog::HasNextAnswer() {
    return NextAnswer().has_value();
}

bool PrintDialog::Execute() {
    PrinterSession& printer = Printer();
    printer.SettingsChanged();

    bool accepted = false;
    if (auto answer = std::exchange(NextAnswer(), std::nullopt)) {
        accepted = answer->accepted;
        if (accepted && !answer->printerName.empty() &&
            !printer.Backend().SelectPrinter(answer->printerName, answer->outputFile)) {
            throw std::invalid_argument("TRbPrintDialog: there is no printer named \"" +
                                        answer->printerName + "\"");
        }
    } else {
        QWidget* owner = qobject_cast<QWidget*>(parent());
        if (!owner) owner = QApplication::activeWindow();
        printer.Backend().ProposeFileName(fileName_);
        accepted = printer.Backend().RunPrintDialog(owner);
    }
    if (!accepted) return false;
    printer.Refresh();
    return true;
}

}  // namespace soten
