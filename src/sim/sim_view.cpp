#include "sim/sim_view.h"

namespace parlomat {

void SimView::slot_event(int slot, const std::string& what) {
    trace_.event("slot " + std::to_string(slot) + " " + what);
}

void SimView::panel_changed(Panel panel, const std::string& text) {
    trace_.event(std::string("panel ") + kPanelNames[static_cast<int>(panel)] + " " +
                 Trace::quote(text));
}

void SimView::button_changed(Button button, bool enabled) {
    trace_.event(std::string("button ") + kButtonNames[static_cast<int>(button)] +
                 (enabled ? " enabled" : " disabled"));
}

void SimView::slot_name_changed(int slot, const std::string& name) {
    slot_event(slot, "name " + Trace::quote(name));
}

void SimView::slot_delay_changed(int slot, const std::string& delay) {
    slot_event(slot, "delay " + Trace::quote(delay));
}

void SimView::slot_label_changed(int slot, const std::string& label) {
    slot_event(slot, "label " + Trace::quote(label));
}

void SimView::slot_loop_changed(int slot, int value) {
    slot_event(slot, "loop " + std::to_string(value));
}

void SimView::slot_bold_changed(int slot, bool bold) {
    slot_event(slot, bold ? "bold" : "normal");
}

void SimView::slot_colours_changed(int slot, bool run) {
    slot_event(slot, run ? "colours run" : "colours plain");
}

void SimView::slot_unplayable_changed(int slot, const std::string& reason) {
    slot_event(slot,
               reason.empty() ? std::string("playable") : "unplayable " + Trace::quote(reason));
}

void SimView::active_changed(int slot) {
    trace_.event("active " + std::to_string(slot));
}

void SimView::gauge_changed(int value) {
    trace_.event("gauge " + std::to_string(value));
}

void SimView::caption_changed(const std::string& caption) {
    trace_.event("caption " + Trace::quote(caption));
}

std::string SimView::CheckName(Check check) {
    switch (check) {
        case Check::KeepOnTop:
            return "mnuOptionsItem 0";
        case Check::PTTEnable:
            return "mnuOptionsItem 2";
        case Check::IgnorePTTInt:
            return "mnuOptionsItem 3";
        case Check::Timing15s:
            return "mnuOptionsTimingItem 0";
        case Check::Timing30s:
            return "mnuOptionsTimingItem 1";
        case Check::TimingMinute:
            return "mnuOptionsTimingItem 2";
        case Check::Timing2Min:
            return "mnuOptionsTimingItem 3";
        case Check::chkMode:
            return "chkMode";
        case Check::chkInterval:
            return "chkInterval";
    }
    return "?";
}

void SimView::check_changed(Check check, bool on) {
    trace_.event("check " + CheckName(check) + " " + Trace::on_off(on));
}

void SimView::topmost_changed(bool on) {
    trace_.event(std::string("topmost ") + Trace::on_off(on));
}

void SimView::window_changed(Window window, bool shown) {
    trace_.event(std::string("window ") + kWindowNames[static_cast<int>(window)] +
                 (shown ? " shown" : " closed"));
}

void SimView::program_ended() {
    if (!ended_) {
        ended_ = true;
        trace_.event("exit");
    }
}

void SimView::control_changed(PrefControl control, const std::string& text) {
    if (static_cast<int>(control) > static_cast<int>(PrefControl::txtRecorder)) {
        return;
    }
    trace_.event(std::string("dialog ") + kPrefControlNames[static_cast<int>(control)] + " " +
                 Trace::quote(text));
}

}  // namespace parlomat
