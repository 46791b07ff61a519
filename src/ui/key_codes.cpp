#include "ui/key_codes.h"

#include <QKeyEvent>

namespace parlomat {

int virtual_key_code(const QKeyEvent& event) {
    const int key = event.key();
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    if (key == Qt::Key_Escape) {
        return 27;
    }
    if (key == Qt::Key_Plus) {
        return keypad ? 107 : 187;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        return 112 + (key - Qt::Key_F1);
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return 65 + (key - Qt::Key_A);
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return keypad ? 96 + (key - Qt::Key_0) : 48 + (key - Qt::Key_0);
    }
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Minus:
            return keypad ? 109 : 189;
        case Qt::Key_Asterisk:
            return keypad ? 106 : 0;
        case Qt::Key_Slash:
            return keypad ? 111 : 191;
        default:
            return 0;
    }
}

int shift_state(const QKeyEvent& event) {
    const auto mods = event.modifiers();
    return (mods.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (mods.testFlag(Qt::ControlModifier) ? 2 : 0) | (mods.testFlag(Qt::AltModifier) ? 4 : 0);
}

}  // namespace parlomat
