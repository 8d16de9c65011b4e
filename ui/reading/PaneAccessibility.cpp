#include "ui/reading/PaneAccessibility.h"

#include <QAccessibleWidget>
#include <algorithm>

#include "ui/reading/ReadingPane.h"
#include "ui/widgets/PaneImage.h"

namespace soten::ui {

namespace {

class PaneAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit PaneAccessible(PaneImage* pane) : QAccessibleWidget(pane, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
                // A short picture is named by what it shows, as a label is;
                // the reading by its title, its text being read line by line.
                if (Reading() || Content().isEmpty()) return Pane()->accessibleName();
                return Content();
            case QAccessible::Description:
                return Pane()->accessibleDescription();
            case QAccessible::Value:
                return Content();
            default:
                return QAccessibleWidget::text(kind);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.selectableText = Reading() != nullptr;
        state.multiLine = Content().contains(u'\n');
        return state;
    }

    // QAccessibleTextInterface
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index == 0 && Reading() && Reading()->HasSelection()) {
            *start = Reading()->SelectionStart();
            *end = Reading()->SelectionEnd();
        }
    }
    int selectionCount() const override { return Reading() && Reading()->HasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int /*index*/) override {
        if (Reading()) Reading()->Select(0, 0);
    }
    void setSelection(int /*index*/, int start, int end) override {
        if (Reading()) Reading()->Select(start, end);
    }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    QString text(int start, int end) const override {
        const QString& content = Content();
        start = std::clamp(start, 0, static_cast<int>(content.size()));
        end = std::clamp(end, start, static_cast<int>(content.size()));
        return content.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Content().size()); }
    QRect characterRect(int offset) const override {
        if (!Reading()) return {};
        const QRect rect = Reading()->Layout().CharacterRect(offset);
        if (rect.isNull()) return {};
        return QRect(Reading()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        if (!Reading() || Content().isEmpty()) return -1;
        const QPoint local = Reading()->mapFromGlobal(point);
        if (!Reading()->rect().contains(local)) return -1;
        return Reading()->Layout().OffsetAt(local);
    }
    void scrollToSubstring(int /*start*/, int /*end*/) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    PaneImage* Pane() const { return static_cast<PaneImage*>(widget()); }
    ReadingPane* Reading() const { return qobject_cast<ReadingPane*>(widget()); }
    const QString& Content() const { return Pane()->ContentText(); }
};

QAccessibleInterface* PaneFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("soten::ui::PaneImage") ||
        className == QLatin1String("soten::ui::ReadingPane")) {
        if (auto* pane = qobject_cast<PaneImage*>(object)) return new PaneAccessible(pane);
    }
    return nullptr;
}

}  // namespace

void InstallPaneAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(PaneFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace soten::ui
