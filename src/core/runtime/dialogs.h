#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parlomat {

enum class MsgIcon { None, Critical, Exclamation, Information };
enum class MsgButtons { Ok, YesNo };
enum class MsgReply { Ok, Yes, No };
/// The system sounds the keyer asks for; the values are the sound codes its handlers name.
enum class BeepSound : unsigned { Exclamation = 0x30, Information = 0x40 };

/// One entry of a file dialog's list of types: its text and its name patterns ("*.wav").
struct FileFilter {
    std::string text;
    std::vector<std::string> patterns;
};

/// The entries of "Text|*.a;*.b|Text|*.c": pairs of text and ';'-separated patterns (empty ones
/// dropped); a last text without patterns is left out.
std::vector<FileFilter> FileFilters(std::string_view filter);
/// `filters` written back as "Text|*.a;*.b|Text|*.c".
std::string FileFiltersText(const std::vector<FileFilter>& filters);

/// What one file dialog is asked to show.
struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    std::string title;
    std::vector<FileFilter> filters;
    int filter_index = 1;  ///< 1-based, as the filter list counts
    std::string initial_dir;
    std::string file_name;
    bool hide_read_only = false;
    bool confirm_overwrite = false;
};

/// Modal message boxes, file dialogs and the system beep. Every call waits for the operator.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual MsgReply message_box(MsgIcon icon, const std::string& title, const std::string& text,
                                 MsgButtons buttons) = 0;
    /// The chosen full path, or nothing when the operator cancelled or the dialog failed.
    virtual std::optional<std::string> file_dialog(const FileDialogRequest& request) = 0;
    virtual void beep(BeepSound sound) = 0;
};

}  // namespace parlomat
