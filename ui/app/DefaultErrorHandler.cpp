#include "ui/app/DefaultErrorHandler.h"

#include "ui/app/MessageBoxes.h"

namespace soten::ui {

void ReportCommandFailure(const std::exception& error) {
    ShowApplicationErrorBox(QString::fromUtf8(error.what()));
}

void ReportUnknownCommandFailure() {
    ShowApplicationErrorBox(QStringLiteral("予期しないエラーが発生しました"));
}

}  // namespace soten::ui
