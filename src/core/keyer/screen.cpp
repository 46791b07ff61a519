#include "core/keyer/screen.h"

namespace parlomat {

void Screen::set_panel(Panel panel, const std::string& text) {
    auto& current = state_.panels[static_cast<int>(panel)];
    if (current != text) {
        current = text;
        view_.panel_changed(panel, text);
    }
}

void Screen::set_button(Button button, bool enabled) {
    auto& current = state_.buttons[static_cast<int>(button)];
    if (current != enabled) {
        current = enabled;
        view_.button_changed(button, enabled);
    }
}

void Screen::set_check(Check check, bool on) {
    auto& current = state_.checks[static_cast<int>(check)];
    if (current != on) {
        current = on;
        view_.check_changed(check, on);
    }
}

void Screen::set_window(Window window, bool shown) {
    auto& current = state_.windows[static_cast<int>(window)];
    if (current != shown) {
        current = shown;
        view_.window_changed(window, shown);
    }
}

void Screen::End() {
    state_.ended = true;
    view_.program_ended();
}

}  // namespace parlomat
