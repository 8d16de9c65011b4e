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
constexpr const char* NoSettingsRecord =
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
    changed_ = false;
    pending_.reset();
    pages_.clear();
    return backend;
}

void PrinterSession::CheckNoPrinter() {
    for (int i = 0; i < printers_.Count(); ++i) {
        if ((printers_.Attributes(i) & printing::PrinterAttributeHidden) == 0) return;
    }
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
    std::optional<PrinterSettings> settings = backend_->Settings();
    if (!settings) {
        // A printer that has gone away is worth a message of its own; a
        // printer that is there and has no settings record is a broken
        // assumption of the layer.
        if (!backend_->CurrentPrinterAvailable()) ThrowUnavailable(operation);
        throw PrinterAssertionError(AssertionFailure);
    }
    pending_ = std::move(settings);
}

SupportedSettingSet PrinterSession::SupportedSettings() {
    CheckNoPrinter();
    if (!pending_) TakePendingCopy("SupportedSettings");
    return pending_->supported;
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
    if (mode.paperSize == paperNumber) return;
    mode.paperSize = paperNumber;
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

    std::optional<PrinterSettings> record;
    std::exception_ptr failure;
    try {
        if (!pending_) throw PrinterAssertionError(NoSettingInfo);
        record = backend_->Settings();
        if (!record) {
            if (!backend_->CurrentPrinterAvailable()) ThrowUnavailable("ApplySettings");
            throw PrinterAssertionError(NoSettingsRecord);
        }
        record = *pending_;
        pending_.reset();
        changed_ = false;
    } catch (...) {
        failure = std::current_exception();
    }

    // The driver checks and merges the printer's record whether or not a new
    // one was prepared above, so the printer is always left with settings it
    // accepted; the first error is the one reported.
    if (!record) record = backend_->Settings();
    if (record && !backend_->MergeSettings(*record) && !failure) {
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
    // A printer that has gone is reported when the command first uses it.
    if (backend_->CurrentPrinterAvailable()) SupportedSettings();
}

void PrinterSession::SettingsChanged() {
    // An open document keeps its printer; the next call sees the change.
    if (DocumentOpen()) return;
    PrinterList fresh(*backend_);
    if (fresh == printers_) return;
    backend_->ResetPrinter();
    printers_ = std::move(fresh);
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

PrintDialog::PrintDialog(QObject* parent) : PrintDialog(nullptr, parent) {}

PrintDialog::PrintDialog(PrinterSession& printer, QObject* parent)
    : PrintDialog(&printer, parent) {}

PrintDialog::PrintDialog(PrinterSession* printer, QObject* parent)
    : QObject(parent),
      printer_(printer),
      ask_([this](PrinterSession& session) { return AskSystemDialog(session); }) {}

PrinterSession& PrintDialog::Printer() const {
    return printer_ ? *printer_ : SharedPrinterSession();
}

bool PrintDialog::AskSystemDialog(PrinterSession& printer) {
    QWidget* owner = qobject_cast<QWidget*>(parent());
    if (!owner) owner = QApplication::activeWindow();
    printer.Backend().ProposeFileName(fileName_);
    return printer.Backend().RunPrintDialog(owner);
}

bool PrintDialog::Execute() {
    PrinterSession& printer = Printer();
    printer.SettingsChanged();
    if (!ask_(printer)) return false;
    printer.Refresh();
    return true;
}

}  // namespace soten
