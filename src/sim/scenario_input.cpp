#include <array>
#include <optional>
#include <string_view>

#include "core/keyer/key_codes.h"
#include "sim/scenario_runner.h"

namespace parlomat {

namespace {

template <std::size_t N>
int IndexOf(const std::array<const char*, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (name == names[i]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::optional<int> KeyCode(std::string_view name) {
    if (name == "Esc") {
        return kKeyEscape;
    }
    if (name == "KeypadPlus") {
        return kKeyPadPlus;
    }
    if (name == "Plus") {
        return kKeyPlus;
    }
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') {
        return kKeyA + (name[0] - 'A');
    }
    if (name.size() >= 2 && name[0] == 'F') {
        const auto number = ToInteger(name.substr(1));
        if (number && *number >= 1 && *number <= 12) {
            return kKeyF1 - 1 + static_cast<int>(*number);
        }
    }
    return std::nullopt;
}

}  // namespace

ScenarioRunner::Action ScenarioRunner::parse_click(ScriptWords& words) {
    static constexpr std::array<const char*, 13> kClickable = {
        "cmdLoad", "cmdRecord",   "cmdStart",  "cmdStop", "cmdSave",      "cmdErase", "cmdXmit",
        "chkMode", "chkInterval", "cmdListen", "cmdTrim", "cmdNormalize", "cmdUndo"};
    const std::string name = words.word("control");
    int index = 0;
    if (name == "optMessage") {
        index = static_cast<int>(Integer(words.word("option index"), 0, 5, "option index"));
    } else if (name == "chkLoop") {
        index = static_cast<int>(Integer(words.word("loop box"), 1, 6, "loop box"));
    } else if (IndexOf(kClickable, name) < 0) {
        throw BadLine("no such control");
    }
    return [this, name, index] { click(name, index); };
}

void ScenarioRunner::click(const std::string& name, int index) {
    Keyer& keyer = *keyer_;
    const WindowState& state = keyer.state();
    if (name == "optMessage") {
        keyer.optMessage_Click(index);
    } else if (name == "chkLoop") {
        keyer.chkLoop_Change(index - 1, state.slots[index - 1].loop == 0 ? 1 : 0);
    } else if (name == "chkMode") {
        keyer.chkMode_Click(state.checks[static_cast<int>(Check::chkMode)] ? 0 : 1);
    } else if (name == "chkInterval") {
        keyer.chkInterval_Click(state.checks[static_cast<int>(Check::chkInterval)] ? 0 : 1);
    } else if (name == "cmdListen") {
        keyer.cmdListen_Click();
    } else if (name == "cmdTrim") {
        keyer.cmdTrim_Click();
    } else if (name == "cmdNormalize") {
        keyer.cmdNormalize_Click();
    } else if (name == "cmdUndo") {
        keyer.cmdUndo_Click();
    } else {
        const int button = IndexOf(kButtonNames, name);
        if (!state.buttons[button]) {
            return;
        }
        switch (static_cast<Button>(button)) {
            case Button::cmdLoad:
                keyer.cmdLoad_Click();
                break;
            case Button::cmdRecord:
                keyer.cmdRecord_Click();
                break;
            case Button::cmdStart:
                keyer.cmdStart_Click();
                break;
            case Button::cmdStop:
                keyer.cmdStop_Click();
                break;
            case Button::cmdSave:
                keyer.cmdSave_Click();
                break;
            case Button::cmdErase:
                keyer.cmdErase_Click();
                break;
            case Button::cmdXmit:
                keyer.cmdXmit_Click();
                break;
        }
    }
}

ScenarioRunner::Action ScenarioRunner::parse_set(ScriptWords& words) {
    const std::string name = words.word("box");
    if (name == "txtPAM" || name == "txtLabel") {
        const bool delay = name == "txtPAM";
        const int index = static_cast<int>(Integer(words.word("box index"), 0, 5, "box index"));
        const std::string text = words.at_end() ? std::string() : words.text("text");
        return [this, delay, index, text] {
            delay ? keyer_->txtPAM_Change(index, text) : keyer_->txtLabel_Change(index, text);
        };
    }
    if (name == "chkLoop") {
        const int box = static_cast<int>(Integer(words.word("loop box"), 1, 6, "loop box"));
        const int value = static_cast<int>(Integer(words.word("loop value"), 0, 2, "loop value"));
        return [this, box, value] { keyer_->chkLoop_Change(box - 1, value); };
    }
    throw BadLine("expected txtPAM, txtLabel or chkLoop");
}

ScenarioRunner::Action ScenarioRunner::parse_key(ScriptWords& words) {
    const auto code = KeyCode(words.word("key"));
    if (!code) {
        throw BadLine("no such key");
    }
    int shift = 0;
    while (auto word = words.next()) {
        if (*word == "shift") {
            shift |= kShiftMask;
        } else if (*word == "ctrl") {
            shift |= kCtrlMask;
        } else if (*word == "in" && words.word("txtMessage") == "txtMessage") {
            // The name box with the focus swallows the key after the window has seen it.
            Integer(words.word("name box"), 0, 5, "name box");
            break;
        } else {
            throw BadLine("expected shift, ctrl or in txtMessage I");
        }
    }
    return [this, code = *code, shift] { keyer_->Form_KeyDown(code, shift); };
}

ScenarioRunner::Action ScenarioRunner::parse_menu(ScriptWords& words) {
    static constexpr std::array<const char*, 4> kMenus = {"File", "Options", "Mixer", "Help"};
    const int menu = IndexOf(kMenus, words.word("menu"));
    if (menu < 0) {
        throw BadLine("no such menu");
    }
    const int item = static_cast<int>(Integer(words.word("item"), -32768, 32767, "menu item"));
    std::optional<int> sub_item;
    if (auto word = words.next()) {
        if (menu != 1 || item != 1) {
            throw BadLine("only Options 1 has a submenu");
        }
        sub_item = static_cast<int>(Integer(*word, -32768, 32767, "submenu item"));
    }
    return [this, menu, item, sub_item] {
        switch (menu) {
            case 0:
                keyer_->mnuFileItem_Click(item);
                break;
            case 1:
                sub_item ? keyer_->mnuOptionsTimingItem_Click(*sub_item)
                         : keyer_->mnuOptionsItem_Click(item);
                break;
            case 2:
                keyer_->mnuMixerItem_Click(item);
                break;
            default:
                keyer_->mnuHelpItem_Click(item);
                break;
        }
    };
}

ScenarioRunner::Action ScenarioRunner::parse_statusbar(ScriptWords& words) {
    const std::string how = words.word("click or dblclick");
    if (how != "click" && how != "dblclick") {
        throw BadLine("expected click or dblclick");
    }
    if (auto panel = words.next(); panel && IndexOf(kPanelNames, *panel) < 0) {
        throw BadLine("no such panel");
    }
    return [this, twice = how == "dblclick"] {
        // The desktop delivers a click before the double click.
        keyer_->StatusBar1_PanelClick();
        if (twice && main_window_takes_input()) {
            keyer_->StatusBar1_PanelDblClick();
        }
    };
}

ScenarioRunner::Action ScenarioRunner::parse_dialog(ScriptWords& words) {
    const std::string name = words.word("control");
    const int control = IndexOf(kPrefControlNames, name);
    std::string text;
    const bool settable = (control >= 0 && control <= static_cast<int>(PrefControl::txtRecorder)) ||
                          control == static_cast<int>(PrefControl::txtTXTimeout) ||
                          control == static_cast<int>(PrefControl::txtAudioIdle);
    if (settable) {
        text = words.at_end() ? std::string() : words.text("text");
    } else if (name != "cmdSave" && name != "cmdCancel" && name != "cmdSelectRecorder") {
        throw BadLine("no such dialog control");
    }
    return [this, name, control, text] {
        PreferencesForm* form = keyer_->preferences_form();
        if (form == nullptr || !form->is_open()) {
            return;
        }
        if (control >= 0) {
            form->set_text(static_cast<PrefControl>(control), text);
        } else if (name == "cmdSave") {
            form->cmdSave_Click();
        } else if (name == "cmdCancel") {
            form->cmdCancel_Click();
        } else {
            form->cmdSelectRecorder_Click();
        }
    };
}

ScenarioRunner::Action ScenarioRunner::parse_close(ScriptWords&) {
    return [this] { keyer_->RequestClose(); };
}

}  // namespace parlomat
