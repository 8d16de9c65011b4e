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
//
// The bitmap has the screen's device pixel ratio: drawing is laid out in the
// pane's own (logical) pixels, and on a scaled screen the text and lines are
// drawn at the finer resolution rather than enlarged. When the window moves
// to a screen with another ratio, the pane makes a fresh bitmap and asks its
// owner to draw it again (SetRedraw).
//
// For assistive technology the pane also holds its content as text.
class PaneImage : public QWidget {
    Q_OBJECT

public:
    PaneImage(QWidget* parent, const QString& objectName, QRect geometry);

    // Paints on the retained bitmap and shows the result.
    void Draw(const std::function<void(QPainter&)>& paint);

    // The retained bitmap; null before the first drawing.
    const QImage& Picture() const { return picture_; }

    // Draws the pane's content again on a fresh white bitmap (through Draw);
    // called when the bitmap's pixel ratio no longer matches the screen's.
    void SetRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }
    // Makes the bitmap again at `ratio` if it has another one and a redraw is
    // set. The pane does this itself before it paints.
    void MatchPixelRatio(qreal ratio);

    // What the picture shows, as text read by a screen reader.
    const QString& ContentText() const { return contentText_; }
    void SetContentText(const QString& text);

signals:
    void ContentTextChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Paints over the shown picture without changing it (a selection).
    virtual void PaintOverlay(QPainter& /*painter*/) {}

private:
    qreal PixelRatio() const;

    QImage picture_;
    QPixmap shown_;  // the bitmap with white made transparent
    std::function<void()> redraw_;
    qreal ratio_ = 0;  // of the next bitmap; 0 for the screen's
    QString contentText_;
    bool followsScreen_ = false;
};

}  // namespace soten::ui
