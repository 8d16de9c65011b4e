#pragma once

#include <algorithm>

#include "ui/reading/ReadingTextLayout.h"
#include "ui/widgets/PaneImage.h"

namespace soten::ui {

// The reading pane: the drawn reading, in which the user can select text
// with the mouse (or Ctrl+A) and copy the selection with Ctrl+C. The
// selection is laid over the picture and never changes it; without a
// selection Ctrl+C is left to the main window's Copy command.
class ReadingPane : public PaneImage {
    Q_OBJECT

public:
    ReadingPane(QWidget* parent, const QString& objectName, QRect geometry);

    // Offsets into ContentText(); start == end when nothing is selected.
    int SelectionStart() const { return std::min(anchor_, active_); }
    int SelectionEnd() const { return std::max(anchor_, active_); }
    bool HasSelection() const { return anchor_ != active_; }
    QString SelectedText() const;
    void Select(int anchor, int active);
    void CopySelection() const;

    const ReadingTextLayout& Layout() const { return layout_; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void PaintOverlay(QPainter& painter) override;

private:
    void TextChanged();

    ReadingTextLayout layout_;
    int anchor_ = 0;
    int active_ = 0;
};

}  // namespace soten::ui
