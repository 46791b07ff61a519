#include "core/settings/profile_file.h"

namespace parlomat {

std::string GetProfileString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view default_value) {
    return ProfileDocument::Read(path).Get(section, key, default_value);
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    ProfileDocument document = ProfileDocument::Read(path);
    return document.readable() && document.Set(section, key, value) && document.Save(path);
}

}  // namespace parlomat
