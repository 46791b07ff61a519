#include "ui/key_codes.h"

#include <QKeyEvent>

#include "core/keyer/key_codes.h"

namespace parlomat {

int virtual_key_code(const QKeyEvent& event) {
    const int key = event.key();
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    if (key == Qt::Key_Escape) {
        return kKeyEscape;
    }
    if (key == Qt::Key_Plus) {
        return keypad ? kKeyPadPlus : kKeyPlus;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        return kKeyF1 + (key - Qt::Key_F1);
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return kKeyA + (key - Qt::Key_A);
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return (keypad ? kKeyPad0 : kKey0) + (key - Qt::Key_0);
    }
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kKeyEnter;
        case Qt::Key_Space:
            return kKeySpace;
        case Qt::Key_Tab:
            return kKeyTab;
        case Qt::Key_Backspace:
            return kKeyBackspace;
        case Qt::Key_Minus:
            return keypad ? kKeyPadMinus : kKeyMinus;
        case Qt::Key_Asterisk:
            return keypad ? kKeyPadMultiply : 0;
        case Qt::Key_Slash:
            return keypad ? kKeyPadDivide : kKeySlash;
        default:
            return 0;
    }
}

int shift_state(const QKeyEvent& event) {
    const auto mods = event.modifiers();
    return (mods.testFlag(Qt::ShiftModifier) ? kShiftMask : 0) |
           (mods.testFlag(Qt::ControlModifier) ? kCtrlMask : 0) |
           (mods.testFlag(Qt::AltModifier) ? kAltMask : 0);
}

}  // namespace parlomat
