#include <fstream>

#include "core/settings/numbers.h"
#include "sim/scenario_runner.h"

namespace parlomat {

ScenarioRunner::Action ScenarioRunner::parse_show(ScriptWords&) {
    return [this] { show(); };
}

ScenarioRunner::Action ScenarioRunner::parse_lamp(ScriptWords&) {
    return [this] { lamp(); };
}

ScenarioRunner::Action ScenarioRunner::parse_cat(ScriptWords& words) {
    return [this, name = words.text("file name")] { cat(name); };
}

void ScenarioRunner::lamp() {
    static constexpr const char* kColours[] = {"off", "red", "amber"};
    const LampState look = keyer_->lamp();
    std::string line = std::string("lamp ") + kColours[static_cast<int>(look.colour)] + " " +
                       Trace::quote(look.text) + " " + Trace::quote(look.countdown) + " " +
                       Trace::quote(look.id_text);
    for (int i = 0; i < kSlotCount; ++i) {
        line += " " + Trace::quote(keyer_->SlotLengthText(i));
    }
    trace_.event(line);
}

void ScenarioRunner::show() {
    const Keyer& keyer = *keyer_;
    const MainScreenFields& fields = keyer.fields();
    const WindowState& state = keyer.state();
    const auto flag = [](bool on) { return on ? "true" : "false"; };
    trace_.event("state");
    const auto item = [this](const std::string& text) { trace_.raw("  " + text); };
    item("ActiveMsg " + std::to_string(fields.ActiveMsg));
    item(std::string("Playing ") + flag(fields.Playing));
    item(std::string("SkedMode ") + flag(fields.SkedMode));
    item(std::string("InXmitPeriod ") + flag(fields.InXmitPeriod));
    item(std::string("PTTKeyed ") + flag(fields.PTTKeyed));
    item(std::string("PTTEnabled ") + flag(fields.PTTEnabled));
    item(std::string("IgnorePTTInt ") + flag(fields.IgnorePTTInt));
    item(std::string("FTLinkActive ") + flag(fields.FTLinkActive));
    item(std::string("XmitOddSegments ") + flag(fields.XmitOddSegments));
    for (int i = 0; i < kSlotCount; ++i) {
        const SlotLook& slot = state.slots[i];
        item("slot " + std::to_string(i) + " name " + Trace::quote(slot.name) + " delay " +
             Trace::quote(slot.delay) + " loop " + std::to_string(slot.loop) + " loaded " +
             flag(fields.MsgLoaded[i]) + " mode " +
             std::to_string(static_cast<int>(channels_.ChannelMode(i))));
    }
    for (int i = 0; i < kPanelCount; ++i) {
        item(std::string(kPanelNames[i]) + " " + Trace::quote(state.panels[i]));
    }
    for (int i = 0; i < kButtonCount; ++i) {
        item(std::string(kButtonNames[i]) + (state.buttons[i] ? " enabled" : " disabled"));
    }
    item("gauge " + std::to_string(state.frame.gauge));
    const Preferences& prefs = fields.prefs;
    item("PTTDelay " + NumberText(prefs.PTTDelay));
    item("UTCDiffHours " + NumberText(prefs.UTCDiffHours));
    item("UTCDiffMinutes " + NumberText(prefs.UTCDiffMinutes));
    item("CommPort " + NumberText(prefs.CommPort));
    item("PTTKey " + Trace::quote(prefs.PTTKey));
    item("PTTInt " + Trace::quote(prefs.PTTInt));
    item("Recorder " + Trace::quote(prefs.Recorder));
    item("FTLinkDelay " + NumberText(prefs.FTLinkDelay));
    item("NAMSTiming " + NumberText(prefs.NAMSTiming));
    item("IDInterval " + NumberText(prefs.IDInterval));
}

void ScenarioRunner::cat(const std::string& name) {
    std::ifstream file(path_of(name), std::ios::binary);
    if (!file) {
        trace_.event("file " + name + " missing");
        return;
    }
    trace_.event("file " + name);
    std::string line;
    while (std::getline(file, line)) {
        trace_.raw("  | " + line);
    }
}

}  // namespace parlomat
