#include "HelpWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "AppIdentity.h"

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
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("HelpBrowser"));
    Browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Browser);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    }
}

void HelpWindow::ShowHelp(const QString& helpFile) {
    QFile external(helpFile);
    if (!helpFile.isEmpty() && external.open(QIODevice::ReadOnly)) {
        Browser->setSearchPaths({QFileInfo(helpFile).absolutePath()});
        Browser->setHtml(QString::fromUtf8(external.readAll()));
    } else {
        Browser->setHtml(BuiltInHelp());
    }
    show();
    raise();
    activateWindow();
}

}  // namespace soten::ui
