#pragma once

#include <QString>
#include <QStringList>

#include "core/runtime/dialogs.h"

class QWidget;

namespace parlomat {

/// The core's message boxes, file dialogs and beep as Qt's own. Each box or dialog is modal
/// over the active window and returns when the operator has closed it.
class QtDialogs final : public Dialogs {
  public:
    MsgReply message_box(MsgIcon icon, const std::string& title, const std::string& text,
                         MsgButtons buttons) override;
    std::optional<std::string> file_dialog(const FileDialogRequest& request) override;
    void beep(BeepSound sound) override;
};

/// File filters as Qt's name filters: "Wave files (*.wav)", "All files (*)". A text that shows
/// its patterns in brackets gets them once, and "*.*" means every file.
QStringList qt_name_filters(const std::vector<FileFilter>& filters);

}  // namespace parlomat
