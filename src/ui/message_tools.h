#pragma once

#include <QWidget>

class QPushButton;

namespace parlomat {

class Keyer;

/// The row of tools for the active slot's message: Listen, Trim, Normalize and Undo. Each
/// button runs its core handler and is enabled as Keyer::MessageToolsState allows.
class MessageTools : public QWidget {
    Q_OBJECT
  public:
    explicit MessageTools(QWidget* parent = nullptr);

    void bind(Keyer& keyer);
    /// Enables the buttons as the core allows now.
    void refresh();

    QPushButton* cmdListen() const { return cmdListen_; }
    QPushButton* cmdTrim() const { return cmdTrim_; }
    QPushButton* cmdNormalize() const { return cmdNormalize_; }
    QPushButton* cmdUndo() const { return cmdUndo_; }

  private:
    QPushButton* add(const char* object, const char* caption, const char* tip,
                     void (Keyer::*handler)());

    Keyer* keyer_ = nullptr;
    QPushButton* cmdListen_ = nullptr;
    QPushButton* cmdTrim_ = nullptr;
    QPushButton* cmdNormalize_ = nullptr;
    QPushButton* cmdUndo_ = nullptr;
};

}  // namespace parlomat
