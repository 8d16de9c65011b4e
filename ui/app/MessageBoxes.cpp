#include "ui/app/MessageBoxes.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

#include "ui/app/AppIdentity.h"
#include "ui/widgets/WindowPlacement.h"

namespace soten::ui {

namespace {

void CentreOnScreen(QWidget& box) {
    box.adjustSize();
    CentreWindow(box, AvailableScreenArea());
}

}  // namespace

void ShowErrorBox(const QString& text, const QString& detail) {
    // Parentless, so it is placed on the screen rather than over a window.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("エラー"), text, QMessageBox::Ok);
    box.setInformativeText(detail);
    // The second line is short: on one line, not wrapped to the first one's width.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        label->setWordWrap(false);
    }
    box.setObjectName(QStringLiteral("ErrorBox"));
    CentreOnScreen(box);
    box.exec();
}

void ShowApplicationErrorBox(const QString& message) {
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), message, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("ApplicationErrorBox"));
    box.exec();
}

void ShowFileNoteBox(const QString& note) {
    QMessageBox box(QMessageBox::Information, ApplicationTitle(), note, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("FileNoteBox"));
    box.exec();
}

}  // namespace soten::ui
