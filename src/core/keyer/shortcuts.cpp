#include "core/keyer/keyer.h"

namespace parlomat {

namespace {

constexpr int kKeyEscape = 27;
constexpr int kKeyPadPlus = 107;
constexpr int kKeyF1 = 112;
constexpr int kKeyF6 = 117;
constexpr int kKeyF12 = 123;

}  // namespace

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
