#include "core/audio/sound_filter.h"

#include <algorithm>

namespace parlomat {

std::string LoadFilter(const std::vector<std::string>& playable) {
    std::vector<std::string> seen;
    std::string shown;
    std::string patterns;
    for (const auto& extension : playable) {
        if (extension.empty() || std::ranges::find(seen, extension) != seen.end()) {
            continue;
        }
        seen.push_back(extension);
        shown += (shown.empty() ? "*." : " *.") + extension;
        patterns += (patterns.empty() ? "*." : ";*.") + extension;
    }
    std::string filter = "Wave (*.wav)|*.wav|";
    if (!seen.empty()) {
        filter += "Sound files (" + shown + ")|" + patterns + "|";
    }
    return filter + "All (*.*)|*.*";
}

}  // namespace parlomat
