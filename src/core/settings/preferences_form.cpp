#include "core/settings/preferences_form.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "core/settings/msg_config.h"
#include "core/settings/numbers.h"
#include "core/settings/profile_file.h"
#include "core/settings/text.h"
#include "core/shell/about_texts.h"

namespace parlomat {
namespace {

constexpr const char* kPortsSection = "Ports";
constexpr double kMinTXTimeout = 10;    // s
constexpr double kMaxTXTimeout = 3600;  // s
constexpr double kMinAudioIdle = 5;     // s
constexpr double kMaxAudioIdle = 3600;  // s

/// An optional sign and digits, blanks around allowed: the only UTC difference without a full
/// stop that is taken as a whole number of hours.
bool IsWholeNumber(std::string_view text) {
    auto digits = TrimBlanks(text);
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        digits.remove_prefix(1);
    }
    return !digits.empty() &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

/// A fractional field kept finite and within the 32-bit range, fraction and sign kept.
double ClampFraction(double value) {
    constexpr double kLimit = std::numeric_limits<std::int32_t>::max();
    return std::clamp(value, -kLimit, kLimit);
}

}  // namespace

PreferencesForm::PreferencesForm(Preferences& prefs, std::string ini_path, Dialogs& dialogs,
                                 PreferencesView* view, std::function<void()> on_close)
    : prefs_(prefs),
      ini_path_(std::move(ini_path)),
      dialogs_(dialogs),
      view_(view),
      on_close_(std::move(on_close)) {}

void PreferencesForm::Form_Load() {
    auto& ports = items_[static_cast<int>(PrefControl::cmbPort)];
    ports.clear();
    for (int port = 1; port <= 8; ++port) {
        ports.push_back(SignedNumberText(port));
    }
    items_[static_cast<int>(PrefControl::cmbPTT)] = {"", "DTR", "RTS"};
    items_[static_cast<int>(PrefControl::cmbINT)] = {"", "DSR", "CTS"};
    items_[static_cast<int>(PrefControl::txtUTCDiff)] = {kUTCDiffAutomatic};

    const auto show = [this](PrefControl control, std::string text) {
        texts_[static_cast<int>(control)] = std::move(text);
        if (view_ != nullptr) {
            view_->control_changed(control, texts_[static_cast<int>(control)]);
        }
    };
    show(PrefControl::txtFTLinkDelay, std::to_string(prefs_.FTLinkDelay));
    show(PrefControl::txtPTTDelay, std::to_string(prefs_.PTTDelay));
    show(PrefControl::txtRecorder, prefs_.Recorder);
    show(PrefControl::txtID, SignedNumberText(prefs_.IDInterval));
    show(PrefControl::cmbPort, SignedNumberText(prefs_.CommPort));
    show(PrefControl::txtUTCDiff,
         prefs_.UTCDiffAuto ? kUTCDiffAutomatic
                            : SignedNumberText(prefs_.UTCDiffHours + prefs_.UTCDiffMinutes / 60));
    show(PrefControl::cmbPTT, prefs_.PTTKey);
    show(PrefControl::cmbINT, prefs_.PTTInt);
    show(PrefControl::cmbAudioOut, prefs_.AudioOut);
    show(PrefControl::cmbAudioIn, prefs_.AudioIn);
    show(PrefControl::cmbPortDevice, SerialDevicePath(ini_path_, prefs_.CommPort));
    show(PrefControl::txtTXTimeout, std::to_string(prefs_.TXTimeout));
    show(PrefControl::txtAudioIdle, std::to_string(prefs_.AudioIdle));
    OldRig = LoadRigSettings(ini_path_);
    items_[static_cast<int>(PrefControl::cmbRigModel)] = {"None"};
    items_[static_cast<int>(PrefControl::cmbRigPort)] = {kNetworkRigPort};
    auto& types = items_[static_cast<int>(PrefControl::cmbRigPTTType)];
    types.assign({""});
    types.insert(types.end(), kRigPTTTypes.begin(), kRigPTTTypes.end());
    show(PrefControl::cmbRigModel, OldRig.Model == 0 ? "None" : std::to_string(OldRig.Model));
    show(PrefControl::cmbRigPort, OldRig.Port);
    show(PrefControl::txtRigSpeed, OldRig.Speed > 0 ? std::to_string(OldRig.Speed) : "");
    show(PrefControl::cmbRigPTTType, OldRig.PTTType);
    show(PrefControl::txtRigPTTPort, OldRig.PTTPort);
    show(PrefControl::lblRigTest, "");
    OldCommPort = prefs_.CommPort;
    open_ = true;
}

void PreferencesForm::cmdSave_Click() {
    const auto refuse = [this](const char* title, const char* text) {
        dialogs_.message_box(MsgIcon::Critical, title, text, MsgButtons::Ok);
    };
    const auto notice = [this](MsgIcon icon, const char* title, const char* text) {
        dialogs_.message_box(icon, title, text, MsgButtons::Ok);
    };

    const double port = LeadingNumber(text(PrefControl::cmbPort));
    if (port < 1) {
        refuse("Invalid Comm Port", "The comm port must be a number, usually between 1 and 4.");
        return;
    }
    if (port > 8) {
        notice(MsgIcon::Exclamation, "Valid Comm Port?",
               "The comm port is usually between 1 and 4.  Please verify that you are using the "
               "correct comm port number.");
    }
    const auto ptt_key = UpperCase(text(PrefControl::cmbPTT));
    if (ptt_key != "RTS" && ptt_key != "DTR") {
        refuse("Invalid Comm Port",
               "The PTT control line can only use either DTR or RTS on the comm port.");
        return;
    }
    const auto ptt_int = UpperCase(text(PrefControl::cmbINT));
    if (ptt_int != "CTS" && ptt_int != "DSR") {
        refuse("Invalid PTT Interrupt",
               "The PTT interrupt line can only use either CTS or DSR on the comm port.");
        return;
    }
    const double link_delay = LeadingNumber(text(PrefControl::txtFTLinkDelay));
    if (link_delay < 0) {
        refuse("Invalid Delay Value", "The FT link delay value can not be a negative number.");
        return;
    }
    if (link_delay > 200) {
        notice(MsgIcon::Information, "FT Link Delay Value",
               "The FT link delay value is usually not this high.  Most installations do well at "
               "a value of 75 or so.");
    }
    const double ptt_delay = LeadingNumber(text(PrefControl::txtPTTDelay));
    if (ptt_delay < 0) {
        refuse("Invalid Delay Value", "The PTT delay value can not be a negative number.");
        return;
    }
    if (ptt_delay > 1000) {
        notice(MsgIcon::Information, "PTT Delay Value",
               "The PTT delay value is entered as milliseconds.  Most installations do well at a "
               "value < 1000 mS (1 second).");
    }
    const double id_interval = LeadingNumber(text(PrefControl::txtID));
    if (id_interval < 0) {
        refuse("Invalid Interval Value", "The ID interval can not be a negative number.");
        return;
    }
    const double tx_timeout = LeadingNumber(text(PrefControl::txtTXTimeout));
    if (tx_timeout != 0 && (tx_timeout < kMinTXTimeout || tx_timeout > kMaxTXTimeout)) {
        refuse("Invalid TX Time-out",
               "The TX time-out must be 0 (off) or between 10 and 3600 seconds.");
        return;
    }
    const double audio_idle = LeadingNumber(text(PrefControl::txtAudioIdle));
    if (audio_idle != 0 && (audio_idle < kMinAudioIdle || audio_idle > kMaxAudioIdle)) {
        refuse("Invalid Audio Idle",
               "The audio idle time must be 0 (always on) or between 5 and 3600 seconds.");
        return;
    }
    const auto rig = RigFromControls(true);
    if (!rig) {
        return;
    }
    auto utc = std::string(text(PrefControl::txtUTCDiff));
    utc.erase(0, utc.find_first_not_of(' '));
    const bool utc_auto = EqualsNoCase(TrimBlanks(utc), kUTCDiffAutomatic);
    const auto stop = utc.find('.');
    if (!utc_auto && stop == std::string::npos && !IsWholeNumber(utc)) {
        refuse("Invalid UTC Difference",
               "The UTC difference must be a number of hours, such as 5 or -3.5.");
        return;
    }

    // Text settings are stored as they stand, one value of at most 255 characters each.
    for (const auto& [control, field] : {std::pair{PrefControl::txtRecorder, "recorder"},
                                         std::pair{PrefControl::cmbAudioOut, "audio output device"},
                                         std::pair{PrefControl::cmbAudioIn, "audio input device"},
                                         std::pair{PrefControl::cmbPortDevice, "serial device"},
                                         std::pair{PrefControl::cmbRigPort, "rig port"},
                                         std::pair{PrefControl::txtRigPTTPort, "PTT port"}}) {
        const auto& value = text(control);
        const char* problem = value.find_first_of("\r\n") != std::string::npos
                                  ? "holds a line break"
                              : TrimBlanks(value).size() > kProfileValueMax
                                  ? "is longer than 255 characters and would be cut"
                                  : nullptr;
        if (problem != nullptr) {
            dialogs_.message_box(MsgIcon::Critical, "Invalid Setting",
                                 std::string("The ") + field + " setting " + problem + ".",
                                 MsgButtons::Ok);
            return;
        }
    }

    prefs_.CommPort = RoundToInt16(port);
    prefs_.PTTKey = ptt_key;
    prefs_.PTTInt = ptt_int;
    prefs_.FTLinkDelay = RoundToInt32(link_delay);
    prefs_.PTTDelay = RoundToInt32(ptt_delay);
    prefs_.Recorder = ProfileValueText(text(PrefControl::txtRecorder));
    prefs_.IDInterval = ClampFraction(id_interval);
    prefs_.UTCDiffAuto = utc_auto;
    if (utc_auto) {
        // The numbers stay as they were; the clock follows the system's zone.
    } else if (stop != std::string::npos) {
        prefs_.UTCDiffMinutes = ClampFraction(LeadingNumber(utc.substr(stop)) * 60);
        prefs_.UTCDiffHours = RoundToInt32(LeadingNumber(utc.substr(0, stop)));
        if (utc.front() == '-') {
            prefs_.UTCDiffMinutes = -prefs_.UTCDiffMinutes;
        }
    } else {
        prefs_.UTCDiffHours = RoundToInt32(LeadingNumber(utc));
        prefs_.UTCDiffMinutes = 0;
    }
    prefs_.AudioOut = ProfileValueText(text(PrefControl::cmbAudioOut));
    prefs_.AudioIn = ProfileValueText(text(PrefControl::cmbAudioIn));
    prefs_.TXTimeout = RoundToInt32(tx_timeout);
    prefs_.AudioIdle = RoundToInt32(audio_idle);

    // Every key in one write of the file.
    ProfileDocument ini = ProfileDocument::Read(ini_path_);
    bool saved = ini.readable() && SavePrefs(prefs_, ini);
    bool device_changed = false;
    const auto device = ProfileValueText(TrimBlanks(text(PrefControl::cmbPortDevice)));
    if (!device.empty() && device != SerialDevicePath(ini, prefs_.CommPort)) {
        saved &= ini.Set(kPortsSection, "COM" + std::to_string(prefs_.CommPort), device);
        device_changed = true;
    }
    saved = ini.Save(ini_path_) && saved;
    if (!saved) {
        dialogs_.message_box(MsgIcon::Exclamation, std::string(kProductName),
                             "The preferences could not be written to " + ini_path_ +
                                 ".  They are in force until Parlomat is closed.",
                             MsgButtons::Ok);
    }
    const bool rig_changed = rig->Model != OldRig.Model || rig->Port != OldRig.Port ||
                             rig->Speed != OldRig.Speed || rig->PTTType != OldRig.PTTType ||
                             rig->PTTPort != OldRig.PTTPort;
    if (rig_changed && !SaveRigSettings(*rig, ini_path_)) {
        dialogs_.message_box(MsgIcon::Exclamation, std::string(kProductName),
                             "The rig settings could not be written to " + ini_path_ + ".",
                             MsgButtons::Ok);
    }
    if (rig_changed) {
        dialogs_.message_box(MsgIcon::Exclamation, std::string(kProductName),
                             "Parlomat must be shutdown and restarted in order for a rig "
                             "change to take effect.",
                             MsgButtons::Ok);
    }
    if (prefs_.CommPort != OldCommPort || device_changed) {
        dialogs_.message_box(MsgIcon::Exclamation, std::string(kProductName),
                             "Parlomat must be shutdown and restarted in order for a comm port "
                             "change to take effect.",
                             MsgButtons::Ok);
    }
    close();
}

void PreferencesForm::cmdCancel_Click() {
    close();
}

void PreferencesForm::cmdSelectRecorder_Click() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = "Select Audio Recorder:";
    request.filters = FileFilters("Program files (*)|*|All files (*.*)|*.*");
    request.filter_index = 1;
    request.initial_dir = "/usr/bin";
    request.file_name = prefs_.Recorder;
    request.hide_read_only = true;
    const auto chosen = dialogs_.file_dialog(request);
    if (!chosen) {
        return;
    }
    // The recorder is a command line: a path with blanks is quoted so it stays one program.
    const bool quote = chosen->find_first_of(" \t") != std::string::npos;
    set_text(PrefControl::txtRecorder, quote ? "\"" + *chosen + "\"" : *chosen);
}

std::optional<RigSettings> PreferencesForm::RigFromControls(bool refuse) {
    const auto fail = [&](const char* title, const std::string& message) {
        if (refuse) {
            dialogs_.message_box(MsgIcon::Critical, title, message, MsgButtons::Ok);
        } else {
            set_text(PrefControl::lblRigTest, message);
        }
        return std::nullopt;
    };
    RigSettings rig;
    const auto model = RigModelNumber(text(PrefControl::cmbRigModel));
    const auto& models = items(PrefControl::cmbRigModel);
    // The adapter lists the models Hamlib knows; without a list any number is taken.
    const bool known =
        model && (*model == 0 || models.size() <= 1 ||
                  std::any_of(models.begin(), models.end(), [&](const std::string& item) {
                      return RigModelNumber(item) == model;
                  }));
    if (!known) {
        return fail("Invalid Rig Model", "Choose a rig model from the list, or None.");
    }
    rig.Model = *model;
    rig.Port = ProfileValueText(TrimBlanks(text(PrefControl::cmbRigPort)));
    if (rig.Model == kNetworkRigModel && rig.Port.empty()) {
        rig.Port = kNetworkRigPort;
    }
    const auto speed = TrimBlanks(text(PrefControl::txtRigSpeed));
    if (!speed.empty()) {
        const double baud = LeadingNumber(speed);
        if (baud < 1 || baud > 10000000) {
            return fail("Invalid Rig Speed",
                        "The rig speed must be a number of baud, such as 38400, or empty.");
        }
        rig.Speed = RoundToInt32(baud);
    }
    const auto type = TrimBlanks(text(PrefControl::cmbRigPTTType));
    if (!type.empty()) {
        const auto match = std::find_if(kRigPTTTypes.begin(), kRigPTTTypes.end(),
                                        [&](const char* name) { return EqualsNoCase(name, type); });
        if (match == kRigPTTTypes.end()) {
            return fail("Invalid PTT Type",
                        "The PTT type must be one of the list (RIG, RIGMICDATA, DTR, RTS, CM108, "
                        "GPIO, GPION, Parallel, None), or empty.");
        }
        rig.PTTType = *match;
    }
    rig.PTTPort = ProfileValueText(TrimBlanks(text(PrefControl::txtRigPTTPort)));
    return rig;
}

void PreferencesForm::cmdRigTest_Click() {
    const auto rig = RigFromControls(false);
    if (!rig) {
        return;
    }
    if (rig->Model == 0) {
        set_text(PrefControl::lblRigTest, "No rig chosen.");
        return;
    }
    if (!rig_tester_) {
        set_text(PrefControl::lblRigTest, "The rig can not be tested here.");
        return;
    }
    set_text(PrefControl::lblRigTest, "Testing...");
    rig_tester_(*rig, [this, alive = alive_](const std::string& result) {
        if (*alive) {
            set_text(PrefControl::lblRigTest, result);
        }
    });
}

const std::string& PreferencesForm::text(PrefControl control) const {
    return texts_[static_cast<int>(control)];
}

void PreferencesForm::set_text(PrefControl control, const std::string& text) {
    auto& current = texts_[static_cast<int>(control)];
    if (current == text) {
        return;
    }
    current = text;
    if (view_ != nullptr) {
        view_->control_changed(control, current);
    }
    if (control == PrefControl::cmbPort) {
        // The device box follows the chosen number, showing the device that number opens.
        const double port = LeadingNumber(text);
        if (port >= 1) {
            set_text(PrefControl::cmbPortDevice, SerialDevicePath(ini_path_, RoundToInt16(port)));
        }
    }
}

const std::vector<std::string>& PreferencesForm::items(PrefControl control) const {
    return items_[static_cast<int>(control)];
}

void PreferencesForm::set_items(PrefControl control, std::vector<std::string> items) {
    items_[static_cast<int>(control)] = std::move(items);
    if (control == PrefControl::cmbRigModel) {
        // A model shown by number takes its entry from the list.
        const auto model = RigModelNumber(text(control));
        for (const auto& item : items_[static_cast<int>(control)]) {
            if (model && *model != 0 && RigModelNumber(item) == model) {
                set_text(control, item);
                break;
            }
        }
    }
}

void PreferencesForm::close() {
    open_ = false;
    if (on_close_) {
        on_close_();
    }
}

}  // namespace parlomat
