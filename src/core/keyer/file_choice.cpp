#include "core/keyer/file_choice.h"

namespace parlomat {

std::optional<std::string> ChooseFile(Dialogs& dialogs, const std::string& dir,
                                      FileDialogRequest::Kind kind, const char* title,
                                      const char* filter, bool confirm_overwrite) {
    FileDialogRequest request;
    request.kind = kind;
    request.title = title;
    request.filters = FileFilters(filter);
    request.initial_dir = dir;
    request.hide_read_only = true;
    request.confirm_overwrite = confirm_overwrite;
    return dialogs.file_dialog(request);
}

}  // namespace parlomat
