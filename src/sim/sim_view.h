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

    void panel_changed(Panel panel, const std::string& text) override;
    void button_changed(Button button, bool enabled) override;
    void slot_name_changed(int slot, const std::string& name) override;
    void slot_delay_changed(int slot, const std::string& delay) override;
    void slot_loop_changed(int slot, int value) override;
    void slot_label_changed(int slot, const std::string& label) override;
    void slot_bold_changed(int slot, bool bold) override;
    void slot_colours_changed(int slot, bool run) override;
    void slot_unplayable_changed(int slot, const std::string& reason) override;
    void active_changed(int slot) override;
    void gauge_changed(int value) override;
    void caption_changed(const std::string& caption) override;
    void check_changed(Check check, bool on) override;
    void topmost_changed(bool on) override;
    void hourglass_changed(bool) override {}
    void window_changed(Window window, bool shown) override;
    void show_modal(Window) override {}
    void program_ended() override;

    void control_changed(PrefControl control, const std::string& text) override;

    /// The program has ended: from now on only files may be read.
    bool ended() const { return ended_; }
    static std::string CheckName(Check check);

  private:
    void slot_event(int slot, const std::string& what);

    Trace& trace_;
    bool ended_ = false;
};

}  // namespace parlomat
