#pragma once

#include <Qt>

namespace soten::ui {

// The shift state of a key press as the dialog keeps it: the modifier keys
// and the mouse buttons held at that moment.
struct KeyModifiers {
    Qt::KeyboardModifiers keys;
    Qt::MouseButtons buttons;

    static KeyModifiers Of(Qt::KeyboardModifiers modifiers, Qt::MouseButtons mouseButtons) {
        // The keypad flag says where Enter came from, not a key held with it.
        return {modifiers &
                    (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier),
                mouseButtons};
    }
    bool IsExactlyShift() const { return keys == Qt::ShiftModifier && buttons == Qt::NoButton; }
    bool HasShiftCtrlOrAlt() const {
        return keys & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    }
};

}  // namespace soten::ui
