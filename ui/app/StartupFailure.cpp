#include "ui/app/StartupFailure.h"

#include <QApplication>
#include <cstdlib>
#include <ostream>

#include "ui/app/MessageBoxes.h"

namespace soten::ui {

namespace {

int Report(const QString& message, std::ostream& err) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        ShowApplicationErrorBox(message);
    } else {
        err << "soten: " << message.toStdString() << "\n";
    }
    return EXIT_FAILURE;
}

}  // namespace

int ReportStartupFailure(const std::exception& error, std::ostream& err) {
    return Report(QString::fromUtf8(error.what()), err);
}

int ReportUnknownStartupFailure(std::ostream& err) {
    return Report(QStringLiteral("予期しないエラーが発生しました"), err);
}

}  // namespace soten::ui
