#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "core/audio/paths.h"
#include "core/keyer/file_choice.h"
#include "core/keyer/keyer.h"
#include "core/settings/msg_config.h"
#include "core/settings/numbers.h"
#include "core/settings/profile_document.h"
#include "core/settings/profile_file.h"
#include "core/shell/about_texts.h"

namespace parlomat {
namespace {

constexpr const char* kConfigFilter = "Parlomat Config (*.pmc)|*.pmc|All (*.*)|*.*";

bool IsFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

void Keyer::ReadMsgConfig(const std::string& path) {
    slots_.ShowMsgConfig(ReadMsgConfigSection(path));
}

bool Keyer::WriteMsgConfig(const std::string& path) {
    return WriteMsgConfigSection(path, slots_.SlotsConfig());
}

void Keyer::GetLastconfig(const ProfileDocument& ini) {
    slots_.ShowMsgConfig(ReadMsgConfigSection(ini));
}

void Keyer::SaveLastConfig() {
    // One read and one replacement of the settings file for everything written at shutdown.
    auto ini = ProfileDocument::Read(IniPath);
    WriteMsgConfigSection(ini, slots_.SlotsConfig());
    ini.Set(kPreferenceSection, "NAMSTiming", NumberText(prefs.NAMSTiming));
    ini.Save(IniPath);
}

void Keyer::LoadConfig() {
    const auto chosen = ChooseFile(dialogs_, ports_.station_dir, FileDialogRequest::Kind::Open,
                                   "Load Configuration File:", kConfigFilter, false);
    if (!chosen || chosen->empty()) {
        return;
    }
    if (std::ifstream(*chosen).fail() || !IsFile(*chosen)) {
        std::error_code error;
        const bool there = std::filesystem::exists(*chosen, error);
        dialogs_.message_box(MsgIcon::Critical, "Configuration Not Loaded",
                             "The configuration file " + StripPath(*chosen) +
                                 (there ? " could not be read." : " was not found."),
                             MsgButtons::Ok);
        return;
    }
    screen_.set_frame(&FrameLook::caption,
                      std::string(kProductName) + "  -  using " + StripPath(*chosen));
    ReadMsgConfig(*chosen);
}

void Keyer::SaveConfig() {
    const auto chosen = ChooseFile(dialogs_, ports_.station_dir, FileDialogRequest::Kind::Save,
                                   "Save Configuration File:", kConfigFilter, true);
    if (!chosen || chosen->empty()) {
        return;
    }
    const auto target = HasExtension(*chosen, ".pmc") ? *chosen : *chosen + ".pmc";
    if (!WriteMsgConfig(target)) {
        screen_.set_panel(Panel::pnlFeedback, "Save failed");
    }
}

void Keyer::mnuFileItem_Click(int index) {
    switch (index) {
        case 0:
            LoadConfig();
            break;
        case 1:
            SaveConfig();
            break;
        case 2:
            ShowPreferences();
            break;
        case 4:
            RequestClose();
            break;
        default:
            break;
    }
}

void Keyer::ShowPreferences() {
    // A form closes from inside its own handler; it is dropped here, on the next opening, or
    // once the view is done with it.
    prefs_form_.reset();
    prefs_form_ = std::make_unique<PreferencesForm>(
        prefs, IniPath, dialogs_, ports_.preferences_view, [this] {
            screen_.set_window(Window::frmPreferences, false);
            // Takes effect at once; the sound devices themselves change at the next start.
            mci.SetIdleStop(std::chrono::seconds{prefs.AudioIdle});
        });
    screen_.set_window(Window::frmPreferences, true);
    prefs_form_->Form_Load();
    screen_.view().show_modal(Window::frmPreferences);
    if (prefs_form_ && !prefs_form_->is_open()) {
        prefs_form_.reset();
    }
}

}  // namespace parlomat
