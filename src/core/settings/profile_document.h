#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace parlomat {

/// Longest value a profile read returns, in characters.
inline constexpr std::size_t kProfileValueMax = 255;

/// An INI ("profile") file held in memory with the Windows profile semantics: read once, queried
/// and changed key by key, written once. Section and key names match without regard to case; a
/// missing section or key yields the default, less its trailing blanks; blanks around a value and
/// matching single or double quotes are removed; values are cut to kProfileValueMax characters.
/// A line ends at LF, CRLF or a bare CR; an empty key name finds a line "=value". A change replaces
/// an existing value in place, appends a new key after the last key of its section's first
/// occurrence, or appends a new section; every other line stays byte for byte as it was.
class ProfileDocument {
  public:
    /// Reads the file at `path`. A missing file gives an empty document; anything that is not a
    /// regular file (a FIFO, a device, a directory) or does not read gives an empty document
    /// that refuses to be saved, so a file that could not be read is never overwritten.
    static ProfileDocument Read(const std::string& path);

    /// A document holding `content`.
    explicit ProfileDocument(std::string content = {});
    ProfileDocument(ProfileDocument&&) noexcept = default;
    ProfileDocument& operator=(ProfileDocument&&) noexcept = default;
    ProfileDocument(const ProfileDocument&) = delete;
    ProfileDocument& operator=(const ProfileDocument&) = delete;

    /// False when the file existed but could not be read.
    bool readable() const { return readable_; }

    /// The value of `key` in `section`, or `default_value` less its trailing blanks.
    std::string Get(std::string_view section, std::string_view key,
                    std::string_view default_value) const;
    /// Whether `section` holds `key`, whatever its value.
    bool Has(std::string_view section, std::string_view key) const;

    /// Sets `key` in `section` to `value`. A name or value that would break the file's line
    /// structure (a line break, a NUL, "]" in a section name, "=" in a key, a key starting with
    /// "[" or ";", an empty name) is refused: false, and nothing changes.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    /// True once a Set has changed the text.
    bool changed() const { return changed_; }

    /// The whole file as it would be written.
    std::string Text() const;

    /// Writes the document to `path` in one replacement (temp file, flushed to the disk, renamed
    /// over the old one) when it changed or the file did not exist. False when the document is
    /// not readable or the write failed; the old file then stays whole.
    bool Save(const std::string& path) const;

  private:
    /// One line: its text without the line end, and the line end as found ("\n", "\r\n", "\r",
    /// or nothing on an unterminated last line). Both view the file's text or `added_`.
    struct Line {
        std::string_view text;
        std::string_view eol;
    };
    /// A section header and the lines up to the next one; the first section has no header and
    /// holds the lines before any header. Its lines are lines_[first, next section's first).
    struct Section {
        std::optional<std::string_view> name;
        std::size_t first = 0;  ///< the header line when there is a name
    };
    struct Found {
        std::size_t section = 0;
        std::size_t line = 0;
        std::size_t value_start = 0;
    };

    std::size_t end_of(std::size_t section) const;
    std::optional<Found> find(std::string_view section, std::string_view key) const;
    const std::vector<std::size_t>& sections_named(std::string_view name) const;
    std::string_view keep(std::string text);
    std::string_view new_line_end() const;
    void insert_line(std::size_t section, std::size_t at, Line line);

    std::unique_ptr<const std::string> content_;
    std::deque<std::string> added_;  ///< text of changed and new lines; never moves
    std::vector<Line> lines_;
    std::vector<Section> sections_;
    /// Section indices in file order, by lower-case name; built for a name when it is first
    /// asked for (a few names are asked for, of a file that may hold many sections).
    mutable std::unordered_map<std::string, std::vector<std::size_t>> named_;
    bool readable_ = true;
    bool existed_ = false;
    bool changed_ = false;
};

}  // namespace parlomat
