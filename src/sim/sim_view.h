#pragma once

#include <string>

#include "core/keyer/window_state.h"
#include "core/settings/preferences_form.h"
#include "sim/trace.h"

namespace parlomat {

/// The main window and the preferences dialog as trace lines. Modal windows return at once.
class SimView final : public MainWindowView, public PreferencesView {
  public:
    explicit SimView(Trace& trace) : trace_(trace) {}

    void slot_changed(int slot, SlotField field, const SlotLook& look) override;
    void frame_changed(FrameField field, const FrameLook& frame) override;
    void panel_changed(Panel panel, const std::string& text) override;
    void button_changed(Button button, bool enabled) override;
    void check_changed(Check check, bool on) override;
    void window_changed(Window window, bool shown) override;
    void show_modal(Window) override {}
    void program_ended() override;

    void control_changed(PrefControl control, const std::string& text) override;

    /// The program has ended: from now on only files may be read.
    bool ended() const { return ended_; }

  private:
    Trace& trace_;
    bool ended_ = false;
};

}  // namespace parlomat
