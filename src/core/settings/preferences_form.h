#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/runtime/dialogs.h"
#include "core/settings/preferences.h"
#include "core/settings/rig_settings.h"

namespace parlomat {

/// The preferences dialog's entry controls. From cmbAudioOut on they are the Linux additions:
/// the sound devices, the serial device the chosen port number opens, the TX time-out, the
/// audio idle time and the Rig tab (lblRigTest shows the Test button's answer).
enum class PrefControl {
    cmbPort,
    cmbPTT,
    cmbINT,
    txtFTLinkDelay,
    txtUTCDiff,
    txtPTTDelay,
    txtID,
    txtRecorder,
    cmbAudioOut,
    cmbAudioIn,
    cmbPortDevice,
    txtTXTimeout,
    txtAudioIdle,
    cmbRigModel,
    cmbRigPort,
    txtRigSpeed,
    cmbRigPTTType,
    txtRigPTTPort,
    lblRigTest,
};
inline constexpr int kPrefControlCount = 19;
inline constexpr std::array<const char*, kPrefControlCount> kPrefControlNames = {
    "cmbPort",       "cmbPTT",        "cmbINT",        "txtFTLinkDelay", "txtUTCDiff",
    "txtPTTDelay",   "txtID",         "txtRecorder",   "cmbAudioOut",    "cmbAudioIn",
    "cmbPortDevice", "txtTXTimeout",  "txtAudioIdle",  "cmbRigModel",    "cmbRigPort",
    "txtRigSpeed",   "cmbRigPTTType", "txtRigPTTPort", "lblRigTest"};

/// Opens a rig with the given settings beside the keyer, never keying, and calls back (on the
/// UI thread, maybe later) with "OK: …" or the rig's error.
using RigTester = std::function<void(const RigSettings&, std::function<void(const std::string&)>)>;

/// Receives every change of a control's text, in order.
class PreferencesView {
  public:
    virtual ~PreferencesView() = default;
    virtual void control_changed(PrefControl control, const std::string& text) = 0;
};

/// frmPreferences without widgets: fills its controls from `Preferences`, checks and stores
/// them on Save, and closes. The widgets (or the scenario runner) set texts and press buttons.
class PreferencesForm {
  public:
    /// `on_close` runs once when the form closes (after a passed Save, or Cancel).
    PreferencesForm(Preferences& prefs, std::string ini_path, Dialogs& dialogs,
                    PreferencesView* view, std::function<void()> on_close);
    ~PreferencesForm() { *alive_ = false; }
    PreferencesForm(const PreferencesForm&) = delete;
    PreferencesForm& operator=(const PreferencesForm&) = delete;

    /// Fills the lists and shows the current values (the dialog's opening).
    void Form_Load();
    void cmdSave_Click();
    void cmdCancel_Click();
    void cmdSelectRecorder_Click();
    /// The Rig tab's Test button: opens the rig with the tab's values, reports in lblRigTest.
    void cmdRigTest_Click();
    void set_rig_tester(RigTester tester) { rig_tester_ = std::move(tester); }

    const std::string& text(PrefControl control) const;
    void set_text(PrefControl control, const std::string& text);
    const std::vector<std::string>& items(PrefControl control) const;
    /// Lists offered by the device adapters for the Audio tab and the port device.
    void set_items(PrefControl control, std::vector<std::string> items);
    bool is_open() const { return open_; }

  private:
    void close();
    /// The Rig tab's values; nothing (after a refusal box when `refuse`) when one is invalid.
    std::optional<RigSettings> RigFromControls(bool refuse);

    Preferences& prefs_;
    std::string ini_path_;
    Dialogs& dialogs_;
    PreferencesView* view_;
    std::function<void()> on_close_;
    std::array<std::string, kPrefControlCount> texts_;
    std::array<std::vector<std::string>, kPrefControlCount> items_;
    std::int16_t OldCommPort = 0;
    bool open_ = false;
    RigSettings OldRig;
    RigTester rig_tester_;
    // Lets a late Test answer find out whether the form still exists.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace parlomat
