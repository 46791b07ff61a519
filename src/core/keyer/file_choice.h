#pragma once

#include <optional>
#include <string>

#include "core/runtime/dialogs.h"

namespace parlomat {

/// The shared file dialog opened in `dir` with a "Text|*.ext|…" filter, read-only box hidden;
/// nothing on cancel.
std::optional<std::string> ChooseFile(Dialogs& dialogs, const std::string& dir,
                                      FileDialogRequest::Kind kind, const char* title,
                                      const char* filter, bool confirm_overwrite);

}  // namespace parlomat
