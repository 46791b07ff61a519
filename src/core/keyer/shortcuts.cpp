#include "core/keyer/shortcuts.h"

#include "core/keyer/keyer.h"

namespace parlomat {

void Keyer::Form_KeyDown(int key_code, int) {
    const auto shortcut = ShortcutFor(key_code);
    if (!shortcut) {
        return;
    }
    switch (shortcut->action) {
        case KeyAction::Stop:
            cmdStop_Click();
            break;
        case KeyAction::Start:
            cmdStart_Click();
            break;
        case KeyAction::SendSlot:
            optMessage_Click(shortcut->slot);
            cmdStart_Click();
            break;
    }
}

}  // namespace parlomat
