#pragma once

#include <cstdint>
#include <string>

#include "core/settings/profile_document.h"

namespace parlomat {

/// The station preferences, section "Preference" of the settings file.
struct Preferences {
    std::int32_t PTTDelay = 10;     ///< ms between keying and audio; never negative
    std::int32_t UTCDiffHours = 5;  ///< whole hours by which UTC leads local time
    double UTCDiffMinutes = 0;      ///< the fraction of the same difference, in minutes
    /// No "UTCDiff" in the file (or "automatic"): the difference comes from the system's zone
    /// at every clock tick and the two fields above are not used.
    bool UTCDiffAuto = true;
    std::int16_t CommPort = 1;
    std::string PTTKey = "DTR";     ///< "DTR" or "RTS" (upper case)
    std::string PTTInt = "CTS";     ///< "CTS", "DSR" or empty (upper case)
    std::string Recorder;           ///< outside recorder command line; empty = built-in
    std::int32_t FTLinkDelay = 90;  ///< ms, polling interval of the link's release wait
    std::int16_t NAMSTiming = 1;    ///< Sked segment code 1..4
    double IDInterval = 10;         ///< minutes
    std::string AudioOut;           ///< output device name; empty = the default device
    std::string AudioIn;            ///< input device name; empty = the default device
    std::int32_t TXTimeout = 600;   ///< s a key-down may last at most; 0 = no limit
    std::int32_t AudioIdle = 60;    ///< s without sound before the output stops; 0 = never
};

inline constexpr const char* kPreferenceSection = "Preference";
/// The "UTCDiff" text that follows the system's time zone.
inline constexpr const char* kUTCDiffAutomatic = "automatic";

/// Reads the "Preference" section of `ini_path` into `prefs` (defaults for what is missing);
/// the file is read once.
void LoadPrefs(Preferences& prefs, const std::string& ini_path);
void LoadPrefs(Preferences& prefs, const ProfileDocument& ini);

/// Writes the section's keys in one replacement of the file; "NAMSTiming" is not written here,
/// nor "UTCDiff" while it is automatic and absent from the file. A value that cannot be written
/// does not stop the others. False if any key or the file failed.
bool SavePrefs(const Preferences& prefs, const std::string& ini_path);
/// Sets the same keys in `ini` (written when the caller saves it). False if any was refused.
bool SavePrefs(const Preferences& prefs, ProfileDocument& ini);

/// The serial device that port `number` opens: key "COM<number>" of section "Ports" in
/// `ini_path` when present, else /dev/ttyS<number-1>; empty when there is none (number < 1).
std::string SerialDevicePath(const std::string& ini_path, int number);
std::string SerialDevicePath(const ProfileDocument& ini, int number);

}  // namespace parlomat
