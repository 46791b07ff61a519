#include "app/program.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "core/settings/preferences.h"
#include "core/settings/profile_document.h"
#include "core/settings/rig_settings.h"
#include "platform/hamlib_rig.h"
#include "platform/serial_port_list.h"
#include "platform/sound_formats.h"
#include "ui/welcome_box.h"

namespace parlomat {

Program::StartSettings Program::start_settings(const std::string& ini_path) {
    // One read of the settings file for everything the adapters need before the keyer starts.
    const auto ini = ProfileDocument::Read(ini_path);
    StartSettings settings;
    LoadPrefs(settings.prefs, ini);
    settings.rig = LoadRigSettings(ini);
    return settings;
}

AudioEngineOptions Program::audio_options(const Preferences& prefs) {
    AudioEngineOptions options;
    options.output_device = prefs.AudioOut;
    options.input_device = prefs.AudioIn;
    options.idle_stop = std::chrono::seconds{prefs.AudioIdle};
    return options;
}

HamlibLink Program::rig_link(const StartSettings& settings) {
    return HamlibLink(settings.rig, std::chrono::milliseconds(settings.prefs.FTLinkDelay));
}

std::string Program::installed_readme() {
    // The prefix the executable runs from (/usr, /usr/local, ~/.local), then the desktop's data
    // directories, then the source tree of a build that runs where it was built.
    QStringList candidates{QDir(QCoreApplication::applicationDirPath())
                               .absoluteFilePath("../share/doc/parlomat/README.md")};
    candidates +=
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, "doc/parlomat/README.md");
    candidates += QStringLiteral(PARLOMAT_SOURCE_DIR "/README.md");
    for (const auto& candidate : candidates) {
        const QFileInfo readme(candidate);
        if (readme.isFile()) {
            return QUrl::fromLocalFile(readme.canonicalFilePath()).toString().toStdString();
        }
    }
    return {};
}

KeyerPorts Program::ports(const std::string& station_dir) {
    KeyerPorts ports{.scheduler = scheduler_,
                     .mci = audio_,
                     .SP = serial_,
                     .link = link_,
                     .dialogs = dialogs_,
                     .launcher = launcher_,
                     .view = window_,
                     .preferences_view = &window_,
                     .station_dir = station_dir,
                     .files = &files_,
                     .log = &event_log_};
    ports.sound_extensions = PlayableExtensions();
    if (auto readme = installed_readme(); !readme.empty()) {
        ports.support_url = std::move(readme);
    }
    return ports;
}

Program::Program(const std::string& station_dir)
    : ini_path_(station_dir + "/parlomat.ini"),
      station_dir_(station_dir),
      first_start_(!QFileInfo::exists(QString::fromStdString(ini_path_))),
      start_(start_settings(ini_path_)),
      audio_(audio_options(start_.prefs), scheduler_),
      serial_(ini_path_),
      link_(rig_link(start_)),
      station_(ports(station_dir),
               {.other_modal_open = [] { return QApplication::activeModalWidget() != nullptr; },
                .raise = [this] { window_.bring_to_front(); }}) {
    window_.bind(station_.keyer, station_.splash);
    window_.on_preferences_open([this](PreferencesForm& form) { fill_device_lists(form); });
    audio_.set_notice_handler(
        [this](const std::string& text) { station_.keyer.DeviceNotice(text); });
    QObject::connect(
        &window_, &MainWindow::main_shown, &window_,
        [this] {
            if (!audio_.notice().empty()) {
                station_.keyer.DeviceNotice(audio_.notice());
            }
            const auto loaded = station_.keyer.fields().MsgLoaded;  // fields() is a snapshot
            if (first_start_ && std::ranges::none_of(loaded, [](bool b) { return b; })) {
                // After the window has painted, so the welcome sits over it.
                QTimer::singleShot(0, &window_, [this] {
                    if (ShowWelcome(&window_, station_dir_)) {
                        station_.keyer.optMessage_Click(0);
                        station_.keyer.cmdRecord_Click();
                    }
                });
            }
        },
        Qt::SingleShotConnection);
    QObject::connect(&window_, &MainWindow::ended, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
}

void Program::start() {
    station_.splash.Show();
}

void Program::fill_device_lists(PreferencesForm& form) {
    // An empty entry stands for the desktop's default device.
    std::vector<std::string> outputs{""};
    for (auto& name : AudioEngine::OutputDeviceNames()) {
        outputs.push_back(std::move(name));
    }
    std::vector<std::string> inputs{""};
    for (auto& name : AudioEngine::InputDeviceNames()) {
        inputs.push_back(std::move(name));
    }
    std::vector<std::string> ports;
    for (const auto& port : DetectSerialPorts()) {
        ports.push_back(port.path);
    }
    std::vector<std::string> rig_ports = ports;
    rig_ports.push_back(kNetworkRigPort);
    std::vector<std::string> models{"None"};
    for (const auto& model : HamlibModels()) {
        models.push_back(RigModelText(model.number, model.manufacturer, model.name));
    }
    form.set_items(PrefControl::cmbRigPort, std::move(rig_ports));
    form.set_items(PrefControl::cmbRigModel, std::move(models));
    form.set_rig_tester(
        [this](const RigSettings& rig, std::function<void(const std::string&)> done) {
            link_.Test(rig, std::move(done));
        });
    form.set_items(PrefControl::cmbAudioOut, std::move(outputs));
    form.set_items(PrefControl::cmbAudioIn, std::move(inputs));
    form.set_items(PrefControl::cmbPortDevice, std::move(ports));
}

}  // namespace parlomat
