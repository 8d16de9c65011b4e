#include "printing/pages/PrintPreview.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QTimer>
#include <exception>
#include <functional>

#include "printing/device/PrinterSession.h"
#include "printing/device/QtPrinterBackend.h"
#include "printing/pages/ComparisonPage.h"
#include "printing/pages/DetailPage.h"
#include "printing/pages/PrintedReading.h"

namespace soten::printing {

namespace {

QString PreviewText(const char* text) {
    return QCoreApplication::translate("QPrintPreviewDialog", text);
}

// Shows the page `print` prints (settings, document and all) in Qt's preview.
bool PreviewPage(QPageLayout::Orientation orientation, const char* title,
                 const std::function<void(PrinterSession&)>& print, QWidget* parent) {
    // A printer of the preview's own: the page is the same on every printer,
    // and the preview needs none installed.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(orientation);
    printer.setDocName(QString::fromUtf8(title));

    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    // Large enough for the whole toolbar and a readable page.
    QSize size(1000, 760);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size());
    }
    dialog.resize(size);
    std::exception_ptr failure;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        if (failure) return;
        try {
            PrinterSession layer(std::make_unique<QtPrinterBackend>(*target));
            layer.Refresh();
            print(layer);
        } catch (...) {
            failure = std::current_exception();
            QTimer::singleShot(0, &dialog, &QDialog::reject);
        }
    });

    bool printAsked = false;
    for (QAction* action : dialog.findChildren<QAction*>()) {
        const QString text = action->text();
        if (text == PreviewText("Print")) {
            action->disconnect(&dialog);
            QObject::connect(action, &QAction::triggered, &dialog, [&] {
                printAsked = true;
                dialog.accept();
            });
        } else if (text == PreviewText("Page setup") || text == PreviewText("Portrait") ||
                   text == PreviewText("Landscape")) {
            action->setVisible(false);
        }
    }
    dialog.exec();
    if (failure) std::rethrow_exception(failure);
    return printAsked;
}

}  // namespace

bool PreviewReading(const Reading& reading, const Tables& tables, QWidget* parent) {
    return PreviewPage(
        QPageLayout::Landscape, DocumentTitle,
        [&](PrinterSession& printer) { PrintReadingPage(printer, reading, tables); }, parent);
}

bool PreviewDetail(const Reading& reading, const Tables& tables, QWidget* parent) {
    return PreviewPage(
        QPageLayout::Portrait, DetailDocumentTitle,
        [&](PrinterSession& printer) { PrintDetailPage(printer, reading, tables); }, parent);
}

bool PreviewComparison(const std::vector<ComparedName>& names, const QDate& date, QWidget* parent) {
    return PreviewPage(
        QPageLayout::Landscape, ComparisonDocumentTitle,
        [&](PrinterSession& printer) { PrintComparisonPages(printer, names, date); }, parent);
}

}  // namespace soten::printing
