#pragma once

#include <string>
#include <utility>

#include "core/keyer/window_state.h"

namespace parlomat {

/// The main window as the keyer's objects see it: the window state and the view that renders
/// it. Every change goes through one compare-and-notify setter per field family, so the view
/// hears each change once, in the order it was made.
class Screen {
  public:
    explicit Screen(MainWindowView& view) : view_(view) {}
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    const WindowState& state() const { return state_; }
    MainWindowView& view() { return view_; }

    template <class T, class V>
    void set_slot(int slot, T SlotLook::*member, V&& value) {
        T next(std::forward<V>(value));
        SlotLook& look = state_.slots[slot];
        if (look.*member != next) {
            look.*member = std::move(next);
            view_.slot_changed(slot, FieldOf(member, kSlotFields), look);
        }
    }
    template <class T, class V>
    void set_frame(T FrameLook::*member, V&& value) {
        T next(std::forward<V>(value));
        if (state_.frame.*member != next) {
            state_.frame.*member = std::move(next);
            view_.frame_changed(FieldOf(member, kFrameFields), state_.frame);
        }
    }
    void set_panel(Panel panel, const std::string& text);
    void set_button(Button button, bool enabled);
    void set_check(Check check, bool on);
    void set_window(Window window, bool shown);

    const SlotLook& slot(int i) const { return state_.slots[i]; }
    const std::string& panel(Panel panel) const { return state_.panels[static_cast<int>(panel)]; }
    bool checked(Check check) const { return state_.checks[static_cast<int>(check)]; }
    bool shown(Window window) const { return state_.windows[static_cast<int>(window)]; }
    bool ended() const { return state_.ended; }

    /// The program has ended: the view hears it once.
    void End();

  private:
    MainWindowView& view_;
    WindowState state_;
};

}  // namespace parlomat
