#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace soten::ui {

// The help file the program looks for: its own path with the extension
// replaced by ".html" (/usr/bin/soten → /usr/bin/soten.html). When it is
// there it is shown instead of the help built into the program.
QString HelpFileName();

// The help built into the program (HTML, UTF-8).
QString BuiltInHelp();

// A window of our own that shows the help. Esc and Ctrl+W close it. It is
// kept inside the screen it opens on, smaller when the screen is small.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* owner);

    // Loads the help file when it can be read, the built-in help otherwise.
    void ShowHelp(const QString& helpFile);

    QTextBrowser* browser;

private:
    void FitScreen();

    bool placed_ = false;
};

}  // namespace soten::ui
