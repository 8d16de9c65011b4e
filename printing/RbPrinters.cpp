#include "RbPrinters.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>
#include <exception>

#include "QtPrinterBackend.h"

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

TRbAllPrintersInfo::TRbAllPrintersInfo(printing::PrinterBackend& backend)
    : entries_(backend.EnumPrinters()) {}

// ---- TRbPrinter ----------------------------------------------------------------

TRbPrinter::TRbPrinter(std::unique_ptr<printing::PrinterBackend> backend)
    : backend_(std::move(backend)), printers_(*backend_) {}

TRbPrinter::~TRbPrinter() = default;

std::unique_ptr<printing::PrinterBackend> TRbPrinter::UseBackend(
    std::unique_ptr<printing::PrinterBackend> backend) {
    std::swap(backend_, backend);
    printers_ = TRbAllPrintersInfo(*backend_);
    cachedPrinterIndex_ = -1;
    changed_ = false;
    pending_.reset();
    page_.reset();
    return backend;
}

void TRbPrinter::CheckNoPrinter() {
    for (int i = 0; i < printers_.Count(); ++i) {
        if ((printers_.Attributes(i) & printing::PrinterAttributeHidden) == 0) return;
    }
    cachedPrinterIndex_ = -1;
    throw ERbPrinterNoPrinter(NoPrinterMessage);
}

void TRbPrinter::ThrowUnavailable(const char* operation) {
    const std::string name = backend_->CurrentPrinterName();
    if (name.empty()) throw ERbPrinter(std::string("TRbPrinter.") + operation + ": No Printer");
    throw ERbPrinter(std::string("TRbPrinter.") + operation + ": Printer \"" + name +
                     "\" is not available");
}

void TRbPrinter::TakePendingCopy(const char* operation) {
    pending_.reset();
    std::optional<TRbDeviceMode> mode = backend_->DeviceMode();
    if (!mode) {
        // A printer that has gone away is worth a message of its own; a
        // printer that is there and has no settings record is a broken
        // assumption of the layer.
        if (!backend_->CurrentPrinterAvailable()) ThrowUnavailable(operation);
        throw ERbAssertionFailed(AssertionFailure);
    }
    pending_ = std::move(mode);
}

TRbPrinterSettings TRbPrinter::SupportedSettings() {
    CheckNoPrinter();
    if (!pending_) TakePendingCopy("SupportedSettings");
    return TRbPrinterSettings::FromFields(pending_->fields);
}

TRbDeviceMode& TRbPrinter::PendingFor(TRbPrinterSetting setting, const char* notSupportedMessage) {
    // SupportedSettings checks for a printer and takes the pending copy when
    // there is none.
    if (!SupportedSettings().Has(setting)) throw ERbPrinterNotSupported(notSupportedMessage);
    return *pending_;
}

void TRbPrinter::SetPaperSizeNumber(std::int32_t paperNumber) {
    TRbDeviceMode& mode = PendingFor(TRbPrinterSetting::PaperSize, PaperSizeNotSupported);
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

void TRbPrinter::SetOrientation(TRbOrientation orientation) {
    TRbDeviceMode& mode = PendingFor(TRbPrinterSetting::Orientation, OrientationNotSupported);
    const std::int16_t code =
        orientation == TRbOrientation::Landscape ? OrientationLandscape : OrientationPortrait;
    if (mode.orientation == code) return;
    mode.orientation = code;
    changed_ = true;
}

void TRbPrinter::SetColor(bool color) {
    TRbDeviceMode& mode = PendingFor(TRbPrinterSetting::Color, ColorNotSupported);
    const std::int16_t code = color ? ColorColor : ColorMonochrome;
    const std::int16_t opposite = color ? ColorMonochrome : ColorColor;
    // A code that is neither colour nor monochrome is the driver's own; keep it.
    if (mode.color != opposite) return;
    mode.color = code;
    changed_ = true;
}

void TRbPrinter::SetScale(std::int16_t percent) {
    TRbDeviceMode& mode = PendingFor(TRbPrinterSetting::Scale, ScaleNotSupported);
    if (mode.scale == percent) return;
    mode.scale = percent;
    changed_ = true;
}

void TRbPrinter::ApplySettings() {
    if (!changed_) return;

    std::optional<TRbDeviceMode> block;
    std::exception_ptr failure;
    try {
        if (!pending_) throw ERbAssertionFailed(NoSettingInfo);
        block = backend_->DeviceMode();
        if (!block) {
            if (!backend_->CurrentPrinterAvailable()) ThrowUnavailable("ApplySettings");
            throw ERbAssertionFailed(DevmodeSizeZero);
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
        throw ERbAssertionFailed(AssertionFailure);
    }
    if (failure) std::rethrow_exception(failure);
}

void TRbPrinter::BeginDocument(const QString& title) {
    if (page_) throw ERbPrinter("TRbPrinter.BeginDocument: A document is already open");
    if (!backend_->CurrentPrinterAvailable()) ThrowUnavailable("BeginDocument");
    documentTitle_ = title;
    page_.emplace();
}

TRbCanvas& TRbPrinter::PageCanvas() {
    if (!page_) throw ERbPrinter("TRbPrinter.PageCanvas: No document is open");
    return *page_;
}

void TRbPrinter::EndDocument() {
    if (!page_) throw ERbPrinter("TRbPrinter.EndDocument: No document is open");
    // The document ends here whatever happens next; a failure leaves nothing
    // behind to end again.
    const TRbCanvas page = std::move(*page_);
    page_.reset();
    if (!backend_->CurrentPrinterAvailable()) ThrowUnavailable("EndDocument");
    backend_->PrintDocument(documentTitle_, page);
}

void TRbPrinter::AbortDocument() {
    page_.reset();
}

QPoint TRbPrinter::Resolution() {
    CheckNoPrinter();
    return backend_->Resolution();
}

QPoint TRbPrinter::PhysicalOffset() {
    CheckNoPrinter();
    return backend_->PhysicalOffset();
}

void TRbPrinter::Refresh() {
    pending_.reset();
    changed_ = false;
    cachedPrinterIndex_ = -1;
    const int current = backend_->CurrentPrinterIndex();
    if (current != cachedPrinterIndex_) {
        cachedPrinterIndex_ = current;
        SupportedSettings();
    }
}

void TRbPrinter::SettingsChanged() {
    // An open document keeps its printer; the next call sees the change.
    if (page_) return;
    TRbAllPrintersInfo fresh(*backend_);
    if (fresh == printers_) return;
    backend_->ResetPrinter();
    printers_ = std::move(fresh);
    cachedPrinterIndex_ = -1;
    pending_.reset();
}

namespace {

TRbPrinter* theRbPrinter = nullptr;

void FreeRbPrinter() {
    delete theRbPrinter;
    theRbPrinter = nullptr;
}

}  // namespace

TRbPrinter& RbPrinter() {
    if (!theRbPrinter) {
        theRbPrinter = new TRbPrinter(std::make_unique<printing::QtPrinterBackend>());
        // Qt's printer objects must go before the application object does.
        qAddPostRoutine(FreeRbPrinter);
    }
    return *theRbPrinter;
}

// ---- TRbPrintDialog ------------------------------------------------------------

namespace {

std::optional<TRbPrintDialogAnswer>& NextAnswer() {
    static std::optional<TRbPrintDialogAnswer> answer;
    return answer;
}

}  // namespace

TRbPrintDialog::TRbPrintDialog(QObject* parent) : QObject(parent), printer_(nullptr) {}

TRbPrintDialog::TRbPrintDialog(TRbPrinter& printer, QObject* parent)
    : QObject(parent), printer_(&printer) {}

TRbPrinter& TRbPrintDialog::Printer() const {
    return printer_ ? *printer_ : RbPrinter();
}

void TRbPrintDialog::SetNextAnswer(const TRbPrintDialogAnswer& answer) {
    NextAnswer() = answer;
}

bool TRbPrintDialog::HasNextAnswer() {
    return NextAnswer().has_value();
}

bool TRbPrintDialog::Execute() {
    TRbPrinter& printer = Printer();
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
