#include "core/settings/profile_file.h"
#include "core/settings/text.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>
#include <vector>

namespace parlomat {

namespace {

namespace fs = std::filesystem;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// One line of the file: its text without the line end, and the line end as found
// ("\n", "\r\n" or nothing on an unterminated last line).
struct Line {
    std::string_view text;
    std::string_view eol;
};

std::vector<Line> SplitLines(std::string_view content) {
    std::vector<Line> lines;
    while (!content.empty()) {
        const auto nl = content.find('\n');
        if (nl == std::string_view::npos) {
            lines.push_back({content, {}});
            break;
        }
        std::size_t text_end = nl;
        if (text_end > 0 && content[text_end - 1] == '\r') {
            --text_end;
        }
        lines.push_back({content.substr(0, text_end), content.substr(text_end, nl + 1 - text_end)});
        content.remove_prefix(nl + 1);
    }
    return lines;
}

// The section name of a header line "[name]", or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    text.remove_prefix(1);
    const auto close = text.find(']');
    return Trim(text.substr(0, close));
}

// For a key line "name=value": where the value starts (just after the first "=").
std::optional<std::size_t> ValueStart(std::string_view text, std::string_view key) {
    const auto eq = text.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view name = Trim(text.substr(0, eq));
    if (name.empty() || name.front() == ';' || !EqualsNoCase(name, key)) {
        return std::nullopt;
    }
    return eq + 1;
}

bool IsKeyLine(std::string_view text) {
    const std::string_view t = Trim(text);
    return !t.empty() && t.front() != ';' && t.find('=') != std::string_view::npos;
}

struct Location {
    std::size_t line = 0;
    std::size_t value_start = 0;
};

// Where the key stands, searching every section of that name in file order; and where a new
// key would go: after the last key line of the first such section.
struct Lookup {
    std::optional<Location> key;
    std::optional<std::size_t> insert_after;
};

Lookup Find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Lookup found;
    bool inside = false;
    bool first_section = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i].text)) {
            inside = EqualsNoCase(*name, section);
            first_section = inside && !found.insert_after;
            if (first_section) {
                found.insert_after = i;
            }
            continue;
        }
        if (!inside) {
            continue;
        }
        if (const auto start = ValueStart(lines[i].text, key)) {
            found.key = Location{i, *start};
            return found;
        }
        if (first_section && IsKeyLine(lines[i].text)) {
            found.insert_after = i;
        }
    }
    return found;
}

std::optional<std::string> ReadAll(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        return std::nullopt;
    }
    return content;
}

std::string CleanValue(std::string_view raw) {
    raw = raw.substr(0, raw.find('\0'));
    raw = Trim(raw);
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') &&
        raw.back() == raw.front()) {
        raw = raw.substr(1, raw.size() - 2);
    }
    return std::string(raw.substr(0, kProfileValueMax));
}

bool HasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Replaces the file at `path` with `content` in one step: a sibling temporary file written in
// full, given the old file's permissions, then renamed over the target.
bool ReplaceFile(const std::string& path, const std::string& content) {
    std::error_code ec;
    fs::path target(path);
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::canonical(target, ec);
        if (ec) {
            return false;
        }
        target = resolved;
    }
    std::random_device seed;
    std::mt19937_64 random(seed());
    fs::path temp;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 16 && file == nullptr; ++attempt) {
        temp = target;
        temp += ".tmp" + std::to_string(random() % 1000000000);
        file = std::fopen(temp.c_str(), "wbx");
    }
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        fs::remove(temp, ec);
        return false;
    }
    const auto status = fs::status(target, ec);
    if (!ec && fs::exists(status)) {
        fs::permissions(temp, status.permissions(), ec);
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace

std::string GetProfileString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view default_value) {
    const auto content = ReadAll(path);
    if (!content) {
        return std::string(default_value);
    }
    const std::vector<Line> lines = SplitLines(*content);
    const Lookup found = Find(lines, Trim(section), Trim(key));
    if (!found.key) {
        return std::string(default_value);
    }
    return CleanValue(lines[found.key->line].text.substr(found.key->value_start));
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    const std::string_view clean_section = Trim(section);
    const std::string_view clean_key = Trim(key);
    // A name or value that would break the file's line structure is refused, not written.
    if (clean_section.empty() || clean_key.empty() || HasLineBreakOrNul(section) ||
        HasLineBreakOrNul(key) || HasLineBreakOrNul(value) ||
        clean_section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || clean_key.front() == '[' ||
        clean_key.front() == ';') {
        return false;
    }
    std::error_code ec;
    const bool exists = fs::exists(fs::path(path), ec);
    std::optional<std::string> old_content = exists ? ReadAll(path) : std::string();
    if (!old_content) {
        return false;
    }
    const std::vector<Line> lines = SplitLines(*old_content);
    // New lines follow the file's own line ends.
    const std::string_view eol = !lines.empty() && lines.front().eol == "\r\n" ? "\r\n" : "\n";
    const Lookup found = Find(lines, clean_section, clean_key);

    std::string out;
    out.reserve(old_content->size() + section.size() + key.size() + value.size() + 8);
    auto emit = [&out](const Line& line, std::string_view fallback_eol) {
        out += line.text;
        out += line.eol.empty() ? fallback_eol : line.eol;
    };
    const std::string key_line = std::string(clean_key) + "=" + std::string(value);

    if (found.key) {
        const std::size_t at = found.key->line;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i == at) {
                out += lines[i].text.substr(0, found.key->value_start);
                out += value;
                out += lines[i].eol;
            } else {
                out += lines[i].text;
                out += lines[i].eol;
            }
        }
    } else if (found.insert_after) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i == *found.insert_after) {
                emit(lines[i], eol);
                out += key_line;
                out += lines[i].eol.empty() ? std::string_view() : lines[i].eol;
            } else {
                out += lines[i].text;
                out += lines[i].eol;
            }
        }
    } else {
        out = *old_content;
        if (!lines.empty()) {
            if (lines.back().eol.empty()) {
                out += eol;
            }
            if (!Trim(lines.back().text).empty()) {
                out += eol;
            }
        }
        out += "[";
        out += clean_section;
        out += "]";
        out += eol;
        out += key_line;
        out += eol;
    }
    if (exists && out == *old_content) {
        return true;
    }
    return ReplaceFile(path, out);
}

}  // namespace parlomat
