#pragma once

#include <QLineEdit>

namespace parlomat {

/// txtMessage: shows a slot's file name. Typed keys are swallowed (the main window has already
/// seen them), and a mouse release clears any selection, so the box can be neither edited nor
/// left selected.
class NameBox : public QLineEdit {
    Q_OBJECT
  public:
    explicit NameBox(QWidget* parent = nullptr);

    /// Bold for the active slot.
    void set_bold(bool bold);
    /// Bright white on black while a run is under way, else black on bright white.
    void set_run_colours(bool run);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace parlomat
