#include "ui/reading/ReadingPane.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace soten::ui {

ReadingPane::ReadingPane(QWidget* parent, const QString& objectName, QRect geometry)
    : PaneImage(parent, objectName, geometry) {
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &PaneImage::ContentTextChanged, this, &ReadingPane::TextChanged);
}

void ReadingPane::TextChanged() {
    layout_ = ReadingTextLayout(ContentText());
    anchor_ = active_ = 0;
    if (ContentText().isEmpty()) {
        unsetCursor();
    } else {
        setCursor(Qt::IBeamCursor);
    }
    update();
}

QString ReadingPane::SelectedText() const {
    return ContentText().mid(SelectionStart(), SelectionEnd() - SelectionStart());
}

void ReadingPane::Select(int anchor, int active) {
    const int size = static_cast<int>(ContentText().size());
    anchor = std::clamp(anchor, 0, size);
    active = std::clamp(active, 0, size);
    if (anchor == anchor_ && active == active_) return;
    anchor_ = anchor;
    active_ = active;
    update();
    if (QAccessible::isActive()) {
        QAccessibleTextSelectionEvent changed(this, SelectionStart(), SelectionEnd());
        changed.setCursorPosition(active_);
        QAccessible::updateAccessibility(&changed);
    }
}

void ReadingPane::CopySelection() const {
    if (HasSelection()) QGuiApplication::clipboard()->setText(SelectedText());
}

bool ReadingPane::event(QEvent* event) {
    // Ctrl+C belongs to the selection while there is one; otherwise it stays
    // the shortcut of the Copy command, which copies the whole report.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->matches(QKeySequence::Copy) && HasSelection()) ||
            (key->matches(QKeySequence::SelectAll) && !ContentText().isEmpty())) {
            event->accept();
            return true;
        }
    }
    return PaneImage::event(event);
}

void ReadingPane::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) && HasSelection()) {
        CopySelection();
    } else if (event->matches(QKeySequence::SelectAll)) {
        Select(0, static_cast<int>(ContentText().size()));
    } else {
        PaneImage::keyPressEvent(event);
    }
}

void ReadingPane::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || ContentText().isEmpty()) {
        PaneImage::mousePressEvent(event);
        return;
    }
    const int offset = layout_.OffsetAt(event->position().toPoint());
    if (event->modifiers() & Qt::ShiftModifier) {
        Select(anchor_, offset);
    } else {
        Select(offset, offset);
    }
}

void ReadingPane::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || ContentText().isEmpty()) return;
    Select(anchor_, layout_.OffsetAt(event->position().toPoint()));
}

void ReadingPane::PaintOverlay(QPainter& painter) {
    if (!HasSelection()) return;
    QColor highlight = palette().color(QPalette::Highlight);
    highlight.setAlpha(96);
    for (const QRect& rect : layout_.RangeRects(SelectionStart(), SelectionEnd())) {
        painter.fillRect(rect, highlight);
    }
}

}  // namespace soten::ui
