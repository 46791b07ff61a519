#include "core/keyer/key_codes.h"
#include "core/keyer/keyer.h"

namespace parlomat {

void Keyer::Form_KeyDown(int key_code, int) {
    if (key_code == kKeyEscape) {
        cmdStop_Click();
    } else if (key_code == kKeyPadPlus || key_code == kKeyF12) {
        cmdStart_Click();
    } else if (key_code >= kKeyF1 && key_code <= kKeyF6) {
        optMessage_Click(key_code - kKeyF1);
        cmdStart_Click();
    }
}

}  // namespace parlomat
