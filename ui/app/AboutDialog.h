#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace soten::ui {

// The about box "蒼天姓名判断のバージョン情報".
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent);

    QLabel* programIcon;
    QLabel* productName;
    QLabel* versionLabel;
    QLabel* platformLabel;  // the platform the program runs on
    QLabel* copyrightLabel;
    QWidget* copyrightCircle;  // the circle of the copyright sign
    QFrame* bevel;
    QPushButton* okButton;
};

// "for Linux" on Linux: the platform the program is running on.
QString PlatformLine();

}  // namespace soten::ui
