#include "core/settings/rig_settings.h"

#include <string>

#include "core/settings/numbers.h"
#include "core/settings/profile_document.h"
#include "core/settings/text.h"

namespace parlomat {
namespace {

std::string Get(const ProfileDocument& ini, const char* key) {
    return std::string(TrimBlanks(ini.Get(kRigSection, key, "")));
}

}  // namespace

std::string RigModelText(std::int32_t number, const std::string& manufacturer,
                         const std::string& name) {
    if (number == 0) {
        return "None";
    }
    return manufacturer + " " + name + " (" + std::to_string(number) + ")";
}

std::optional<std::int32_t> RigModelNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty() || EqualsNoCase(text, "None")) {
        return 0;
    }
    if (text.back() == ')') {
        const auto open = text.rfind('(');
        if (open == std::string_view::npos) {
            return std::nullopt;
        }
        text = text.substr(open + 1, text.size() - open - 2);
    }
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos ||
        text.size() > 9) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(std::stol(std::string(text)));
}

RigSettings LoadRigSettings(const std::string& ini_path) {
    return LoadRigSettings(ProfileDocument::Read(ini_path));
}

RigSettings LoadRigSettings(const ProfileDocument& ini) {
    RigSettings rig;
    rig.Model = RoundToInt32(LeadingNumber(Get(ini, "Model")));
    rig.Port = Get(ini, "Port");
    rig.Speed = RoundToInt32(LeadingNumber(Get(ini, "Speed")));
    rig.PTTType = Get(ini, "PTT Type");
    rig.PTTPort = Get(ini, "PTT Port");
    if (rig.Model == kNetworkRigModel && rig.Port.empty()) {
        rig.Port = kNetworkRigPort;
    }
    return rig;
}

bool SaveRigSettings(const RigSettings& rig, const std::string& ini_path) {
    // One read and one replacement of the file for the whole section.
    auto ini = ProfileDocument::Read(ini_path);
    bool ok = ini.Set(kRigSection, "Model", std::to_string(rig.Model));
    ok &= ini.Set(kRigSection, "Port", rig.Port);
    ok &= ini.Set(kRigSection, "Speed", rig.Speed > 0 ? std::to_string(rig.Speed) : "");
    ok &= ini.Set(kRigSection, "PTT Type", rig.PTTType);
    ok &= ini.Set(kRigSection, "PTT Port", rig.PTTPort);
    return ini.Save(ini_path) && ok;
}

}  // namespace parlomat
