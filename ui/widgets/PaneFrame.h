#pragma once

#include <QColor>
#include <QWidget>

namespace soten::ui {

// A filled rectangle with a 2-pixel outline: the frame drawn behind a pane.
class PaneFrame : public QWidget {
    Q_OBJECT

public:
    PaneFrame(QWidget* parent, const QString& objectName, QRect geometry, QColor fill, QColor pen);

    QColor Fill() const { return fill_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    QColor pen_;
};

}  // namespace soten::ui
