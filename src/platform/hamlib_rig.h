#pragma once

#include <string>
#include <vector>

#include "core/settings/rig_settings.h"
#include "core/shell/link.h"

struct s_rig;

namespace parlomat {

/// One rig opened through Hamlib. Every call waits on the radio: use it on the rig worker only.
class HamlibRig {
  public:
    HamlibRig() = default;
    ~HamlibRig() { close(); }
    HamlibRig(const HamlibRig&) = delete;
    HamlibRig& operator=(const HamlibRig&) = delete;

    /// rig_init, rig_set_conf, rig_open. On failure `error` names the port and Hamlib's error.
    bool open(const RigSettings& settings, std::string& error);
    void close();
    bool is_open() const { return rig_ != nullptr; }
    /// Hamlib's status (0 = done, negative = error).
    int set_ptt(bool on);
    /// Reads the PTT; Hamlib's status as above.
    int get_ptt(LinkTransmit& state);

  private:
    s_rig* rig_ = nullptr;
};

/// Hamlib's text for a status.
std::string HamlibError(int status);
/// The status says the radio or rigctld is gone (I/O, time-out, protocol): reconnect.
bool HamlibLinkLost(int status);

/// Loads Hamlib's backends and routes its debug output (warnings and errors) into the log
/// category "parlomat.rig", never the terminal. Safe to call often, from any thread.
void InitHamlib();

struct RigModel {
    int number = 0;
    std::string manufacturer;
    std::string name;
};
/// Every model this Hamlib knows, by manufacturer and name.
std::vector<RigModel> HamlibModels();
/// The model `number`, when Hamlib knows it.
bool HamlibModel(int number, RigModel& model);

}  // namespace parlomat
