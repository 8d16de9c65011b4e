#include "MessageBoxes.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include "AppIdentity.h"

namespace soten::ui {

namespace {

void CentreOnScreen(QWidget& box) {
    box.adjustSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = box.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    box.move(frame.topLeft());
}

}  // namespace

void ShowErrorBox(const QString& text) {
    // Parentless, so it is placed on the screen rather than over a window.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("エラー"), text, QMessageBox::Ok);
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

}  // namespace soten::ui
