#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings/profile_document.h"

namespace parlomat {

/// The rig the link reaches through Hamlib, section "Rig" of the settings file.
struct RigSettings {
    std::int32_t Model = 0;  ///< Hamlib's model number; 0 = no rig
    std::string Port;        ///< a device, or host:port for the network rig (model 2)
    std::int32_t Speed = 0;  ///< serial speed in baud; 0 = the model's default
    std::string PTTType;     ///< one of kRigPTTTypes; empty = the model's default
    std::string PTTPort;     ///< e.g. /dev/hidraw0 for CM108; empty = the CAT port
};

inline constexpr const char* kRigSection = "Rig";
/// Hamlib's network rig (rigctld over TCP) and where it listens unless told otherwise.
inline constexpr std::int32_t kNetworkRigModel = 2;
inline constexpr const char* kNetworkRigPort = "localhost:4532";
inline constexpr std::array<const char*, 9> kRigPTTTypes = {
    "RIG", "RIGMICDATA", "DTR", "RTS", "CM108", "GPIO", "GPION", "Parallel", "None"};

/// A model as the Rig tab lists it: "Yaesu FT-991A (1035)"; model 0 is "None".
std::string RigModelText(std::int32_t number, const std::string& manufacturer,
                         const std::string& name);
/// The model number a Rig tab entry names: "None" or blank 0, "… (1035)" or "1035" 1035;
/// nothing for any other text.
std::optional<std::int32_t> RigModelNumber(std::string_view text);

/// Reads section "Rig" of `ini_path` (defaults for what is missing; model 2 without a port
/// gets kNetworkRigPort).
RigSettings LoadRigSettings(const std::string& ini_path);
RigSettings LoadRigSettings(const ProfileDocument& ini);

/// Writes section "Rig"; false if any write failed.
bool SaveRigSettings(const RigSettings& rig, const std::string& ini_path);

}  // namespace parlomat
