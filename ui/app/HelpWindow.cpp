#include "ui/app/HelpWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/app/AppIdentity.h"
#include "ui/widgets/WindowPlacement.h"

namespace soten::ui {

QString HelpFileName() {
    const QFileInfo program(QCoreApplication::applicationFilePath());
    return program.absolutePath() + u'/' + program.completeBaseName() + QStringLiteral(".html");
}

QString BuiltInHelp() {
    QFile file(QStringLiteral(":/help/help.html"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(ApplicationTitle() + QStringLiteral(" ヘルプ"));
    resize(640, 600);
    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("helpBrowser"));
    browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    }
}

void HelpWindow::ShowHelp(const QString& helpFile) {
    QFile external(helpFile);
    if (!helpFile.isEmpty() && external.open(QIODevice::ReadOnly)) {
        browser->setSearchPaths({QFileInfo(helpFile).absolutePath()});
        browser->setHtml(QString::fromUtf8(external.readAll()));
    } else {
        browser->setHtml(BuiltInHelp());
    }
    FitScreen();
    show();
    raise();
    activateWindow();
}

void HelpWindow::FitScreen() {
    const QRect area = AvailableScreenArea(parentWidget() ? parentWidget() : this);
    if (area.isEmpty()) return;
    if (!placed_) {
        // The frame is not known before the first show: room is left for it.
        resize(size().boundedTo(area.size() - QSize(40, 60)));
        CentreWindow(*this, area, size());
        placed_ = true;
    }
    const QRect frame = frameGeometry();
    const QRect fitted = FittedInside(frame, area);
    if (fitted == frame) return;
    resize(size() - (frame.size() - fitted.size()));
    move(fitted.topLeft());
}

}  // namespace soten::ui
