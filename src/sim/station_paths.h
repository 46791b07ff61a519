#pragma once

#include <string>

namespace parlomat {

/// `path` relative to the station directory when it lies inside it, else as it stands.
inline std::string StationRelative(const std::string& station_dir, const std::string& path) {
    const std::string prefix = station_dir + "/";
    if (!station_dir.empty() && path.size() > prefix.size() &&
        path.compare(0, prefix.size(), prefix) == 0) {
        return path.substr(prefix.size());
    }
    return path;
}

/// A path given in a scenario: absolute as it stands, relative inside the station directory.
inline std::string StationAbsolute(const std::string& station_dir, const std::string& path) {
    if (!path.empty() && path.front() == '/') {
        return path;
    }
    return station_dir + "/" + path;
}

}  // namespace parlomat
