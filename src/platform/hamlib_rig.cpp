#include "platform/hamlib_rig.h"

#include <hamlib/rig.h>

#include <QLoggingCategory>
#include <algorithm>
#include <array>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

namespace parlomat {
namespace {

// Warnings are off unless the program's log enables them ("parlomat.rig.warning=true"):
// Hamlib's messages never reach the terminal.
Q_LOGGING_CATEGORY(lcRig, "parlomat.rig", QtCriticalMsg)

int LogHamlib(enum rig_debug_level_e level, rig_ptr_t, const char* format, va_list args) {
    std::array<char, 512> text{};
    std::vsnprintf(text.data(), text.size(), format, args);
    QString line = QString::fromLocal8Bit(text.data()).trimmed();
    if (line.isEmpty()) {
        return 0;
    }
    (void)level;  // only errors and warnings are formatted (RIG_DEBUG_WARN)
    qCWarning(lcRig).noquote() << line;
    return 0;
}

bool SetConf(RIG* rig, const char* name, const std::string& value) {
    if (value.empty()) {
        return true;
    }
    return rig_set_conf(rig, rig_token_lookup(rig, name), value.c_str()) == RIG_OK;
}

int CollectModel(const rig_caps* caps, rig_ptr_t data) {
    auto& models = *static_cast<std::vector<RigModel>*>(data);
    models.push_back({static_cast<int>(caps->rig_model), caps->mfg_name ? caps->mfg_name : "",
                      caps->model_name ? caps->model_name : ""});
    return 1;
}

}  // namespace

void InitHamlib() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Hamlib switches LC_NUMERIC to "C" around its calls and restores the name it read
        // before, which that switch has freed (a use after free) unless the locale already is
        // "C". Numbers are never read through the C locale here, so "C" is what we want anyway.
        std::setlocale(LC_NUMERIC, "C");
        rig_set_debug(RIG_DEBUG_WARN);
        rig_set_debug_callback(&LogHamlib, nullptr);
        rig_load_all_backends();
    });
}

std::string HamlibError(int status) {
    const char* text = rigerror2(status);
    return text ? std::string(text) : "Hamlib error " + std::to_string(status);
}

bool HamlibLinkLost(int status) {
    const int error = status < 0 ? -status : status;
    return error == RIG_EIO || error == RIG_ETIMEOUT || error == RIG_EPROTO;
}

bool HamlibRig::open(const RigSettings& settings, std::string& error) {
    InitHamlib();
    close();
    const std::string where = "Port " + (settings.Port.empty() ? "(default)" : settings.Port);
    RIG* rig = rig_init(static_cast<rig_model_t>(settings.Model));
    if (rig == nullptr) {
        error = "Hamlib does not know rig model " + std::to_string(settings.Model) + ".";
        return false;
    }
    const bool configured =
        SetConf(rig, "rig_pathname", settings.Port) &&
        SetConf(rig, "serial_speed", settings.Speed > 0 ? std::to_string(settings.Speed) : "") &&
        SetConf(rig, "ptt_type", settings.PTTType) &&
        SetConf(rig, "ptt_pathname", settings.PTTPort);
    if (!configured) {
        error = where + ": Hamlib refuses the speed, PTT type or PTT port.";
        rig_cleanup(rig);
        return false;
    }
    if (const int status = rig_open(rig); status != RIG_OK) {
        error = where + ": " + HamlibError(status);
        rig_cleanup(rig);
        return false;
    }
    // The readback must see the radio, not what Hamlib remembers of its own last command.
    rig_set_cache_timeout_ms(rig, HAMLIB_CACHE_PTT, 0);
    rig_ = rig;
    return true;
}

void HamlibRig::close() {
    if (rig_ == nullptr) {
        return;
    }
    rig_close(rig_);
    rig_cleanup(rig_);
    rig_ = nullptr;
}

int HamlibRig::set_ptt(bool on) {
    if (rig_ == nullptr) {
        return -RIG_EIO;
    }
    return rig_set_ptt(rig_, RIG_VFO_CURR, on ? RIG_PTT_ON : RIG_PTT_OFF);
}

int HamlibRig::get_ptt(LinkTransmit& state) {
    if (rig_ == nullptr) {
        return -RIG_EIO;
    }
    ptt_t ptt = RIG_PTT_OFF;
    const int status = rig_get_ptt(rig_, RIG_VFO_CURR, &ptt);
    if (status == RIG_OK) {
        // ON_DATA is this keyer's or another program's data keying: still transmitting.
        state = ptt == RIG_PTT_OFF      ? LinkTransmit::NotTransmitting
                : ptt == RIG_PTT_ON_MIC ? LinkTransmit::MicKeyed
                                        : LinkTransmit::Transmitting;
    }
    return status;
}

std::vector<RigModel> HamlibModels() {
    InitHamlib();
    std::vector<RigModel> models;
    rig_list_foreach(&CollectModel, &models);
    std::sort(models.begin(), models.end(), [](const RigModel& a, const RigModel& b) {
        return std::tie(a.manufacturer, a.name, a.number) <
               std::tie(b.manufacturer, b.name, b.number);
    });
    return models;
}

bool HamlibModel(int number, RigModel& model) {
    InitHamlib();
    const rig_caps* caps = rig_get_caps(static_cast<rig_model_t>(number));
    if (number <= 0 || caps == nullptr) {
        return false;
    }
    model = {number, caps->mfg_name ? caps->mfg_name : "",
             caps->model_name ? caps->model_name : ""};
    return true;
}

}  // namespace parlomat
