#include "core/settings/preferences.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "core/settings/numbers.h"
#include "core/settings/text.h"

namespace parlomat {

namespace {

// Keeps a fractional field finite and inside the 32-bit range ("1e999" must not reach a timer).
double ClampFraction(double value) {
    if (std::isnan(value)) {
        return 0.0;
    }
    constexpr double lo = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    return std::clamp(value, lo, hi);
}

std::string Get(const ProfileDocument& ini, std::string_view key, std::string_view fallback) {
    return ini.Get(kPreferenceSection, key, fallback);
}

void LoadUTCDiff(Preferences& prefs, const std::string& text) {
    prefs.UTCDiffHours = RoundToInt32(LeadingNumber(text));
    const auto point = text.find('.');
    if (point == std::string::npos) {
        return;
    }
    double minutes = ClampFraction(LeadingNumber(std::string_view(text).substr(point)) * 60.0);
    prefs.UTCDiffHours = RoundToInt32(LeadingNumber(std::string_view(text).substr(0, point)));
    if (text.front() == '-') {
        minutes = -minutes;
    }
    prefs.UTCDiffMinutes = minutes;
}

std::int16_t LoadNAMSTiming(const std::string& text) {
    const std::string upper = UpperCase(text);
    if (upper == "TRUE") {
        return 1;
    }
    if (upper == "FALSE") {
        return 2;
    }
    const double v = LeadingNumber(text);
    return v >= 1.0 && v <= 3.0 ? RoundToInt16(v) : std::int16_t{1};
}

}  // namespace

void LoadPrefs(Preferences& prefs, const std::string& ini_path) {
    LoadPrefs(prefs, ProfileDocument::Read(ini_path));
}

void LoadPrefs(Preferences& prefs, const ProfileDocument& ini) {
    prefs.PTTDelay = RoundToInt32(std::fabs(LeadingNumber(Get(ini, "PTT Delay", "10"))));
    const std::string utc_diff = Get(ini, "UTCDiff", "5");
    prefs.UTCDiffAuto = !ini.Has(kPreferenceSection, "UTCDiff") ||
                        EqualsNoCase(TrimBlanks(utc_diff), kUTCDiffAutomatic);
    LoadUTCDiff(prefs, prefs.UTCDiffAuto ? "5" : utc_diff);
    prefs.CommPort = RoundToInt16(LeadingNumber(Get(ini, "CommPort", "1")));
    prefs.PTTKey = UpperCase(Get(ini, "PTT Key", "DTR"));
    prefs.PTTInt = UpperCase(Get(ini, "PTT Int", "CTS"));
    prefs.Recorder = Get(ini, "Recorder", "");
    prefs.FTLinkDelay = RoundToInt32(LeadingNumber(Get(ini, "FTLink", "90")));
    prefs.NAMSTiming = LoadNAMSTiming(Get(ini, "NAMSTiming", "1"));
    prefs.IDInterval = ClampFraction(LeadingNumber(Get(ini, "IDInterval", "10")));
    prefs.AudioOut = Get(ini, "AudioOut", "");
    prefs.AudioIn = Get(ini, "AudioIn", "");
    // A negative time-out is a broken file, not a wish to transmit for ever: keep the default.
    const std::int32_t timeout = RoundToInt32(LeadingNumber(Get(ini, "TX Timeout", "600")));
    prefs.TXTimeout = timeout < 0 ? Preferences{}.TXTimeout : timeout;
    const std::int32_t idle = RoundToInt32(LeadingNumber(Get(ini, "Audio Idle", "60")));
    prefs.AudioIdle = idle < 0 ? Preferences{}.AudioIdle : idle;
}

bool SavePrefs(const Preferences& prefs, const std::string& ini_path) {
    ProfileDocument ini = ProfileDocument::Read(ini_path);
    const bool all_set = ini.readable() && SavePrefs(prefs, ini);
    return ini.Save(ini_path) && all_set;
}

bool SavePrefs(const Preferences& prefs, ProfileDocument& ini) {
    const double utc_diff = prefs.UTCDiffHours + prefs.UTCDiffMinutes / 60.0;
    // Automatic stays absent; a number the operator once entered is overwritten with the word.
    const bool skip_utc_diff = prefs.UTCDiffAuto && !ini.Has(kPreferenceSection, "UTCDiff");
    const std::pair<const char*, std::string> keys[] = {
        {"CommPort", NumberText(prefs.CommPort)},
        {"UTCDiff", prefs.UTCDiffAuto ? kUTCDiffAutomatic : NumberText(utc_diff)},
        {"PTT Key", prefs.PTTKey},
        {"PTT Int", prefs.PTTInt},
        {"FTLink", NumberText(prefs.FTLinkDelay)},
        {"PTT Delay", NumberText(prefs.PTTDelay)},
        {"Recorder", prefs.Recorder},
        {"IDInterval", NumberText(prefs.IDInterval)},
        {"AudioOut", prefs.AudioOut},
        {"AudioIn", prefs.AudioIn},
        {"TX Timeout", NumberText(prefs.TXTimeout)},
        {"Audio Idle", NumberText(prefs.AudioIdle)},
    };
    // A refused value does not stop the others.
    bool all_set = true;
    for (const auto& [key, value] : keys) {
        if (skip_utc_diff && std::string_view(key) == "UTCDiff") {
            continue;
        }
        all_set = ini.Set(kPreferenceSection, key, value) && all_set;
    }
    return all_set;
}

std::string SerialDevicePath(const std::string& ini_path, int number) {
    return SerialDevicePath(ProfileDocument::Read(ini_path), number);
}

std::string SerialDevicePath(const ProfileDocument& ini, int number) {
    std::string assigned = ini.Get("Ports", "COM" + std::to_string(number), "");
    if (!assigned.empty()) {
        return assigned;
    }
    if (number < 1) {
        return {};
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}

}  // namespace parlomat
