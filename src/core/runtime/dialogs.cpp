#include "core/runtime/dialogs.h"

#include <utility>

namespace parlomat {

std::vector<FileFilter> FileFilters(std::string_view filter) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto bar = filter.find('|');
        parts.push_back(filter.substr(0, bar));
        if (bar == std::string_view::npos) {
            break;
        }
        filter.remove_prefix(bar + 1);
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        FileFilter entry{std::string(parts[i]), {}};
        std::string_view patterns = parts[i + 1];
        while (!patterns.empty()) {
            const auto semicolon = patterns.find(';');
            const auto pattern = patterns.substr(0, semicolon);
            if (!pattern.empty()) {
                entry.patterns.emplace_back(pattern);
            }
            patterns.remove_prefix(semicolon == std::string_view::npos ? patterns.size()
                                                                       : semicolon + 1);
        }
        filters.push_back(std::move(entry));
    }
    return filters;
}

std::string FileFiltersText(const std::vector<FileFilter>& filters) {
    std::string text;
    for (const auto& entry : filters) {
        text += (text.empty() ? "" : "|") + entry.text + "|";
        for (std::size_t i = 0; i < entry.patterns.size(); ++i) {
            text += (i == 0 ? "" : ";") + entry.patterns[i];
        }
    }
    return text;
}

}  // namespace parlomat
