#include "core/settings/profile_document.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/settings/file_replace.h"
#include "core/settings/text.h"

namespace parlomat {

namespace {

namespace fs = std::filesystem;

// The section name of a header line "[name]", or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    text.remove_prefix(1);
    const auto close = text.find(']');
    return TrimBlanks(text.substr(0, close));
}

// For a key line "name=value": where the value starts (just after the first "=").
std::optional<std::size_t> ValueStart(std::string_view text, std::string_view key) {
    const auto eq = text.find('=');
    if (eq == std::string_view::npos) {
        return std::nullopt;
    }
    // An empty name is a key too: an empty key finds a line "=value".
    const std::string_view name = TrimBlanks(text.substr(0, eq));
    if ((!name.empty() && name.front() == ';') || !EqualsNoCase(name, key)) {
        return std::nullopt;
    }
    return eq + 1;
}

bool IsKeyLine(std::string_view text) {
    const std::string_view t = TrimBlanks(text);
    return !t.empty() && t.front() != ';' && t.find('=') != std::string_view::npos;
}

std::string CleanValue(std::string_view raw) {
    raw = raw.substr(0, raw.find('\0'));
    raw = TrimBlanks(raw);
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') &&
        raw.back() == raw.front()) {
        raw = raw.substr(1, raw.size() - 2);
    }
    return std::string(raw.substr(0, kProfileValueMax));
}

bool HasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// The whole file, or nothing when it does not read. Only a regular file is opened: a FIFO or a
// device named as the settings file would block the read or act on the device.
std::optional<std::string> ReadAll(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(path), ec)) {
        return std::nullopt;
    }
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

}  // namespace

ProfileDocument ProfileDocument::Read(const std::string& path) {
    std::error_code ec;
    const bool exists = fs::exists(fs::path(path), ec);
    if (!exists) {
        // A path that cannot even be looked at is no more readable than one that fails to read.
        ProfileDocument missing;
        missing.readable_ = !ec;
        return missing;
    }
    std::optional<std::string> content = ReadAll(path);
    if (!content) {
        ProfileDocument unreadable;
        unreadable.readable_ = false;
        unreadable.existed_ = true;
        return unreadable;
    }
    ProfileDocument document(std::move(*content));
    document.existed_ = true;
    return document;
}

ProfileDocument::ProfileDocument(std::string content)
    : content_(std::make_unique<const std::string>(std::move(content))) {
    sections_.push_back(Section{std::nullopt, 0});
    std::string_view rest = *content_;
    lines_.reserve(static_cast<std::size_t>(std::count(rest.begin(), rest.end(), '\n')) + 1);
    while (!rest.empty()) {
        // A line ends at LF, CRLF or a bare CR.
        const auto end = rest.find_first_of("\r\n");
        Line line;
        if (end == std::string_view::npos) {
            line.text = rest;
            rest = {};
        } else {
            const std::size_t eol_size = rest.substr(end, 2) == "\r\n" ? 2 : 1;
            line.text = rest.substr(0, end);
            line.eol = rest.substr(end, eol_size);
            rest.remove_prefix(end + eol_size);
        }
        if (const auto name = SectionName(line.text)) {
            sections_.push_back(Section{*name, lines_.size()});
        }
        lines_.push_back(line);
    }
}

std::size_t ProfileDocument::end_of(std::size_t section) const {
    return section + 1 < sections_.size() ? sections_[section + 1].first : lines_.size();
}

const std::vector<std::size_t>& ProfileDocument::sections_named(std::string_view name) const {
    const auto [it, added] = named_.try_emplace(LowerCase(std::string(name)));
    if (added) {
        for (std::size_t s = 1; s < sections_.size(); ++s) {
            if (EqualsNoCase(*sections_[s].name, name)) {
                it->second.push_back(s);
            }
        }
    }
    return it->second;
}

std::optional<ProfileDocument::Found> ProfileDocument::find(std::string_view section,
                                                            std::string_view key) const {
    // Every section of that name, in file order; a header line is never a key.
    for (const std::size_t s : sections_named(section)) {
        for (std::size_t i = sections_[s].first + 1; i < end_of(s); ++i) {
            if (const auto start = ValueStart(lines_[i].text, key)) {
                return Found{s, i, *start};
            }
        }
    }
    return std::nullopt;
}

std::string ProfileDocument::Get(std::string_view section, std::string_view key,
                                 std::string_view default_value) const {
    const auto found = find(TrimBlanks(section), TrimBlanks(key));
    if (!found) {
        // The default loses its trailing blanks, as a value read from the file would.
        default_value = default_value.substr(0, default_value.find_last_not_of(" \t\r\v\f") + 1);
        return std::string(default_value);
    }
    return CleanValue(lines_[found->line].text.substr(found->value_start));
}

bool ProfileDocument::Has(std::string_view section, std::string_view key) const {
    return find(TrimBlanks(section), TrimBlanks(key)).has_value();
}

std::string_view ProfileDocument::keep(std::string text) {
    return added_.emplace_back(std::move(text));
}

std::string_view ProfileDocument::new_line_end() const {
    // New lines follow the file's own line ends, as its first line shows them; a new or
    // one-line file gets LF.
    return !lines_.empty() && !lines_.front().eol.empty() ? lines_.front().eol : "\n";
}

void ProfileDocument::insert_line(std::size_t section, std::size_t at, Line line) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), line);
    for (std::size_t s = section + 1; s < sections_.size(); ++s) {
        ++sections_[s].first;
    }
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view clean_section = TrimBlanks(section);
    const std::string_view clean_key = TrimBlanks(key);
    if (clean_section.empty() || clean_key.empty() || HasLineBreakOrNul(section) ||
        HasLineBreakOrNul(key) || HasLineBreakOrNul(value) ||
        clean_section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || clean_key.front() == '[' ||
        clean_key.front() == ';') {
        return false;
    }
    if (const auto found = find(clean_section, clean_key)) {
        Line& line = lines_[found->line];
        std::string text =
            std::string(line.text.substr(0, found->value_start)) + std::string(value);
        if (text != line.text) {
            line.text = keep(std::move(text));
            changed_ = true;
        }
        return true;
    }
    const std::string_view eol = new_line_end();
    const std::string_view key_line = keep(std::string(clean_key) + "=" + std::string(value));
    changed_ = true;
    if (const auto& named = sections_named(clean_section); !named.empty()) {
        // After the last key line of the first section of that name, or after its header.
        const std::size_t s = named.front();
        std::size_t after = sections_[s].first;
        for (std::size_t i = after + 1; i < end_of(s); ++i) {
            if (IsKeyLine(lines_[i].text)) {
                after = i;
            }
        }
        const Line added{key_line, lines_[after].eol};
        if (lines_[after].eol.empty()) {
            lines_[after].eol = eol;
        }
        insert_line(s, after + 1, added);
        return true;
    }
    // A new section at the end, after a blank line.
    if (!lines_.empty()) {
        Line& last = lines_.back();
        const bool blank = TrimBlanks(last.text).empty();
        if (last.eol.empty()) {
            last.eol = eol;
        }
        if (!blank) {
            lines_.push_back(Line{{}, eol});
        }
    }
    const std::string_view name = keep(std::string(clean_section));
    named_[LowerCase(std::string(name))].push_back(sections_.size());
    sections_.push_back(Section{name, lines_.size()});
    lines_.push_back(Line{keep("[" + std::string(name) + "]"), eol});
    lines_.push_back(Line{key_line, eol});
    return true;
}

std::string ProfileDocument::Text() const {
    std::string out;
    out.reserve(content_->size() + 256);
    for (const Line& line : lines_) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

bool ProfileDocument::Save(const std::string& path) const {
    if (!readable_) {
        return false;
    }
    if (existed_ && !changed_) {
        return true;
    }
    return ReplaceFileContent(path, Text());
}

}  // namespace parlomat
