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
    /// A named file that does not play: the name greyed, `reason` as the tool tip. Empty: the
    /// name is shown as usual again.
    void set_unplayable(const QString& reason);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void apply_palette();

    bool run_ = false;
    bool unplayable_ = false;
};

}  // namespace parlomat
