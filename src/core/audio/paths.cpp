#include "core/audio/paths.h"

#include "core/settings/text.h"

namespace parlomat {

std::string StripPath(std::string_view path) {
    const auto last = path.find_last_of("/\\");
    if (last == std::string_view::npos) {
        return std::string(path);
    }
    return std::string(path.substr(last + 1));
}

bool HasExtension(std::string_view path, std::string_view extension) {
    if (path.size() < extension.size()) {
        return false;
    }
    return EqualsNoCase(path.substr(path.size() - extension.size()), extension);
}

std::optional<std::string> PathUnder(const std::string& dir, std::string_view name) {
    std::string relative(name);
    for (auto& c : relative) {
        if (c == '\\') {
            c = '/';
        }
    }
    if (relative.empty() || relative.front() == '/' ||
        (relative.size() >= 2 && relative[1] == ':')) {
        return std::nullopt;
    }
    std::string_view rest = relative;
    while (true) {
        const auto end = rest.find('/');
        if (rest.substr(0, end) == "..") {
            return std::nullopt;
        }
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    return dir + "/" + relative;
}

}  // namespace parlomat
