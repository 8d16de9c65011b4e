#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace soten::ui {

// The about box "蒼天姓名判断のバージョン情報".
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Label1;  // the platform the program runs on
    QLabel* Copyright;
    QWidget* Shape1;  // the circle of the copyright sign
    QFrame* Bevel1;
    QPushButton* OKButton;
};

// "for Linux" on Linux: the platform the program is running on.
QString PlatformLine();

}  // namespace soten::ui
