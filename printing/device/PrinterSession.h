#pragma once

// The printer access layer: which printers exist, the settings the current
// printer accepts, a pending copy of its settings that is handed to the
// driver in one step, documents with pages to draw on, and the print dialog.

#include <QObject>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "printing/device/PrinterBackend.h"
#include "printing/device/PrinterErrors.h"
#include "printing/device/PrinterSettings.h"
#include "printing/pages/RecordedPage.h"

namespace soten {

// ---- The printer list --------------------------------------------------------

// A snapshot of the system's printer list.
class PrinterList {
public:
    PrinterList() = default;
    explicit PrinterList(printing::PrinterBackend& backend);

    int Count() const { return static_cast<int>(entries_.size()); }
    const std::string& Name(int index) const {
        return entries_.at(static_cast<std::size_t>(index)).name;
    }
    std::uint32_t Attributes(int index) const {
        return entries_.at(static_cast<std::size_t>(index)).attributes;
    }
    // Same printers in the same order, names compared exactly, same attributes.
    bool operator==(const PrinterList&) const = default;

private:
    std::vector<printing::PrinterEntry> entries_;
};

// ---- The layer ---------------------------------------------------------------

enum class PageOrientation { Portrait, Landscape };

class PrinterSession {
public:
    // Takes the printer list snapshot.
    explicit PrinterSession(std::unique_ptr<printing::PrinterBackend> backend);
    ~PrinterSession();
    PrinterSession(const PrinterSession&) = delete;
    PrinterSession& operator=(const PrinterSession&) = delete;

    // Raises NoPrinterError when the snapshot holds no printer that is
    // not hidden.
    void CheckNoPrinter();
    SupportedSettingSet SupportedSettings();

    // The setters change the pending copy only; ApplySettings hands it over.
    void SetPaperSizeNumber(std::int32_t paperNumber);
    void SetOrientation(PageOrientation orientation);
    void SetColor(bool color);
    void SetScale(std::int16_t percent);
    void ApplySettings();

    // One document, of one page unless NewPage starts more. The pages reach
    // the printer together at EndDocument; AbortDocument drops them all.
    void BeginDocument(const QString& title);
    // The page being drawn.
    RecordedPage& PageCanvas();
    // Ends the page being drawn and starts the next; the font carries over.
    void NewPage();
    void EndDocument();
    void AbortDocument();
    bool DocumentOpen() const { return !pages_.empty(); }

    // Asked of the printer afresh on every call.
    QPoint Resolution();
    QPoint PhysicalOffset();

    // Follows the printer and settings chosen in the print dialog: the next
    // setter starts from them.
    void Refresh();

    // The settings-change watch: compares a fresh printer list with the
    // snapshot and, when they differ, starts over with the system's default
    // printer. Called when a print command begins, as the system's change
    // notice would have been handled by then.
    void SettingsChanged();

    printing::PrinterBackend& Backend() { return *backend_; }
    // Starts over on another printing service (tests use a fake one) and
    // hands back the one used so far.
    std::unique_ptr<printing::PrinterBackend> UseBackend(
        std::unique_ptr<printing::PrinterBackend> backend);

private:
    void TakePendingCopy(const char* operation);
    PrinterSettings& PendingFor(PrinterSetting setting, const char* notSupportedMessage);
    [[noreturn]] void ThrowUnavailable(const char* operation);

    std::unique_ptr<printing::PrinterBackend> backend_;
    PrinterList printers_;
    bool changed_ = false;
    std::optional<PrinterSettings> pending_;
    std::vector<RecordedPage> pages_;  // empty: no document is open
    QString documentTitle_;
};

// The one PrinterSession of the run, over Qt Print Support. Created on first use
// (call it at start-up, before the first window) and freed with the
// application object.
PrinterSession& SharedPrinterSession();

// ---- The print dialog --------------------------------------------------------

// The print dialog of the layer: the system's dialog over the toolkit's
// printer (built anew for each Execute, as the printer object may have been
// replaced), with no page range, selection or print-to-file choice beyond the
// PDF file output, which counts as a printer.
class PrintDialog : public QObject {
    Q_OBJECT

public:
    // Works over SharedPrinterSession().
    explicit PrintDialog(QObject* parent = nullptr);
    explicit PrintDialog(PrinterSession& printer, QObject* parent = nullptr);

    // Shows the dialog: true for OK, false for Cancel. After OK the chosen
    // printer and its settings are current and the layer has been refreshed.
    bool Execute();

    PrinterSession& Printer() const;

    // What showing the dialog comes to: true for OK, after which the printer
    // and settings chosen in it are the printer's current ones. By default
    // the system's dialog asks the user; tests answer without a window.
    using Ask = std::function<bool(PrinterSession& printer)>;
    void SetAsk(Ask ask) { ask_ = std::move(ask); }

    // The name proposed for a PDF file, in the folder last used.
    void SetFileName(const QString& fileName) { fileName_ = fileName; }
    const QString& FileName() const { return fileName_; }

private:
    PrintDialog(PrinterSession* printer, QObject* parent);
    bool AskSystemDialog(PrinterSession& printer);

    PrinterSession* printer_;  // null: SharedPrinterSession()
    QString fileName_;
    Ask ask_;
};

}  // namespace soten
