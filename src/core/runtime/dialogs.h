#pragma once

#include <optional>
#include <string>

namespace parlomat {

enum class MsgIcon { None, Critical, Exclamation, Information };
enum class MsgButtons { Ok, YesNo };
enum class MsgReply { Ok, Yes, No };

/// What one file dialog is asked to show. `filter` is "Text|*.ext|Text|*.ext".
struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    std::string title;
    std::string filter;
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
    /// System sound: 0x40 information, 0x30 exclamation.
    virtual void beep(unsigned type) = 0;
};

}  // namespace parlomat
