#pragma once

#include <QStatusBar>
#include <array>

#include "core/keyer/window_state.h"

class QLabel;

namespace parlomat {

/// StatusBar1: six panels side by side in fixed relative widths. A click anywhere on the bar
/// emits clicked(); a double click emits clicked() for its first click, then doubleClicked().
class StatusPanelBar : public QStatusBar {
    Q_OBJECT
  public:
    explicit StatusPanelBar(QWidget* parent = nullptr);

    void set_text(Panel panel, const QString& text);
    QString text(Panel panel) const;
    QLabel* label(Panel panel) const { return labels_[static_cast<int>(panel)]; }

  Q_SIGNALS:
    void clicked();
    void doubleClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    /// True when the mouse event was a left-button click or double click on the bar.
    bool mouse(const QMouseEvent& event);

    std::array<QLabel*, kPanelCount> labels_{};
    bool release_ends_double_click_ = false;
};

}  // namespace parlomat
