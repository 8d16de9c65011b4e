#pragma once

#include <QWidget>

namespace soten::ui {

// The splash window: a borderless picture in the middle of the screen, shown
// while the rest of the program is built. A click on the picture ends it.
class TForm3 : public QWidget {
    Q_OBJECT

public:
    TForm3();

    // Shows the window and has it painted before returning, so the picture
    // is on screen while the main window is being created.
    void ShowAndPaint();

    QWidget* Image1;

signals:
    void Image1Click();
};

}  // namespace soten::ui
