#pragma once

#include <QWidget>

namespace soten::ui {

// The splash window: a borderless picture in the middle of the screen, shown
// while the rest of the program is built. A click on the picture ends it.
class SplashScreen : public QWidget {
    Q_OBJECT

public:
    SplashScreen();

    // Shows the window and has it painted before returning, so the picture
    // is on screen while the main window is being created.
    void ShowAndPaint();

    QWidget* picture;

signals:
    void pictureClicked();
};

}  // namespace soten::ui
