#pragma once

#include <string>

namespace parlomat {

/// The welcome shown at a first start (no settings file, no messages): where the station
/// directory is, where to choose the sound devices and the PTT port or rig, and the offer to
/// record message 1.
std::string WelcomeText(const std::string& station_dir);

inline constexpr const char* kWelcomeTitle = "Welcome to Parlomat";
inline constexpr const char* kWelcomeRecord = "Record Message 1";
inline constexpr const char* kWelcomeLater = "Later";

}  // namespace parlomat
