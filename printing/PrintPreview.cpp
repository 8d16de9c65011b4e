#include "PrintPreview.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QTimer>
#include <exception>

#include "PrintedReading.h"
#include "PrinterSession.h"
#include "QtPrinterBackend.h"

namespace soten::printing {

namespace {

QString PreviewText(const char* text) {
    return QCoreApplication::translate("QPrintPreviewDialog", text);
}

}  // namespace

bool PreviewReading(const ShownReading& reading, const Tables& tables, QWidget* parent) {
    if (!reading.valid) return false;
    // A printer of the preview's own: the page is the same on every printer,
    // and the preview needs none installed.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QString::fromUtf8(DocumentTitle));

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
            PrintReadingPage(layer, reading, tables);
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

}  // namespace soten::printing
