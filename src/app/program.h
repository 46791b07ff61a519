#pragma once

#include <string>

#include "core/keyer/station.h"
#include "core/settings/preferences.h"
#include "core/settings/rig_settings.h"
#include "core/shell/link.h"
#include "platform/audio_engine.h"
#include "platform/file_copy.h"
#include "platform/hamlib_link.h"
#include "platform/process_launcher.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_port_adapter.h"
#include "platform/station_log.h"
#include "ui/main_window.h"
#include "ui/qt_dialogs.h"

namespace parlomat {

/// The whole program on real parts: the adapters, the keyer core and its Qt view, wired. Needs a
/// QApplication; start() shows the start-up window and the application's event loop does the rest.
class Program {
  public:
    explicit Program(const std::string& station_dir);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    void start();

    MainWindow& window() { return window_; }
    Keyer& keyer() { return station_.keyer; }
    Splash& splash() { return station_.splash; }
    /// Answers the control socket's lines.
    RemoteControl& remote() { return station_.remote; }
    AudioEngine& audio() { return audio_; }

  private:
    /// What the adapters need from the settings file before the keyer starts.
    struct StartSettings {
        Preferences prefs;
        RigSettings rig;
    };
    static StartSettings start_settings(const std::string& ini_path);
    static AudioEngineOptions audio_options(const Preferences& prefs);
    /// The rig of section "Rig", its PTT read every FTLinkDelay ms.
    static HamlibLink rig_link(const StartSettings& settings);
    /// The manual (README) wherever the program is installed or built, as a file address, or
    /// empty when there is none.
    static std::string installed_readme();
    KeyerPorts ports(const std::string& station_dir);
    void fill_device_lists(PreferencesForm& form);

    std::string ini_path_;
    std::string station_dir_;
    /// No settings file before this start: the welcome is offered once the window shows.
    bool first_start_ = false;
    QtScheduler scheduler_;
    QtEventLog event_log_;
    StartSettings start_;
    AudioEngine audio_;
    SerialPortAdapter serial_;
    HamlibLink link_;
    QtDialogs dialogs_;
    ProcessLauncher launcher_;
    AtomicFileCopier files_;
    MainWindow window_;
    Station station_;
};

}  // namespace parlomat
