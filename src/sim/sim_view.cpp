#include "sim/sim_view.h"

#include <array>

namespace parlomat {

namespace {

using SlotText = std::string (*)(const SlotLook&);
/// A slot row's change as its trace words, one entry per field in SlotField order.
const std::array<SlotText, kSlotFieldCount> kSlotTexts = {
    [](const SlotLook& s) { return "name " + Trace::quote(s.name); },
    [](const SlotLook& s) { return "delay " + Trace::quote(s.delay); },
    [](const SlotLook& s) { return "loop " + std::to_string(s.loop); },
    [](const SlotLook& s) { return std::string(s.bold ? "bold" : "normal"); },
    [](const SlotLook& s) { return std::string(s.run_colours ? "colours run" : "colours plain"); },
    [](const SlotLook& s) {
        return s.unplayable.empty() ? std::string("playable")
                                    : "unplayable " + Trace::quote(s.unplayable);
    },
    [](const SlotLook& s) { return "label " + Trace::quote(s.label); },
};

using FrameText = std::string (*)(const FrameLook&);
/// The frame's change as a trace line, in FrameField order; empty: not traced.
const std::array<FrameText, kFrameFieldCount> kFrameTexts = {
    [](const FrameLook& f) { return "active " + std::to_string(f.active); },
    [](const FrameLook& f) { return "gauge " + std::to_string(f.gauge); },
    [](const FrameLook& f) { return "caption " + Trace::quote(f.caption); },
    [](const FrameLook& f) { return std::string("topmost ") + Trace::on_off(f.topmost); },
    [](const FrameLook&) { return std::string(); },
};

}  // namespace

void SimView::slot_changed(int slot, SlotField field, const SlotLook& look) {
    trace_.event("slot " + std::to_string(slot) + " " + kSlotTexts[static_cast<int>(field)](look));
}

void SimView::frame_changed(FrameField field, const FrameLook& frame) {
    const std::string text = kFrameTexts[static_cast<int>(field)](frame);
    if (!text.empty()) {
        trace_.event(text);
    }
}

void SimView::panel_changed(Panel panel, const std::string& text) {
    trace_.event(std::string("panel ") + kPanelNames[static_cast<int>(panel)] + " " +
                 Trace::quote(text));
}

void SimView::button_changed(Button button, bool enabled) {
    trace_.event(std::string("button ") + kButtonNames[static_cast<int>(button)] +
                 (enabled ? " enabled" : " disabled"));
}

void SimView::check_changed(Check check, bool on) {
    const CheckPlace& place = kCheckPlaces[static_cast<int>(check)];
    const std::string item = place.item < 0 ? "" : " " + std::to_string(place.item);
    trace_.event("check " + std::string(place.name) + item + " " + Trace::on_off(on));
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
