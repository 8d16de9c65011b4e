#pragma once

#include <QGroupBox>

namespace soten::ui {

// An option group drawn the classic way: an etched frame whose top line
// runs through the caption. (Qt's styles put the caption above the frame,
// which does not fit the dialog's fixed 41-pixel group.)
class EtchedGroupBox : public QGroupBox {
    Q_OBJECT

public:
    EtchedGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace soten::ui
