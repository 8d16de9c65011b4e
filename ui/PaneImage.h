#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <functional>

class QPainter;

namespace soten::ui {

// A drawing surface with a retained bitmap, shown transparently: its white
// pixels let whatever lies behind it (the pane's frame) show through. The
// bitmap is created white the first time something is drawn on it and keeps
// what was drawn until it is drawn over; the widget repaints from it, so
// nothing is redrawn on expose. Before the first drawing there is no bitmap
// and the pane shows nothing at all.
class PaneImage : public QWidget {
    Q_OBJECT

public:
    PaneImage(QWidget* parent, const QString& objectName, QRect geometry);

    // Paints on the retained bitmap and shows the result.
    void Draw(const std::function<void(QPainter&)>& paint);

    // The retained bitmap; null before the first drawing.
    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QPixmap shown_;  // the bitmap with white made transparent
};

}  // namespace soten::ui
