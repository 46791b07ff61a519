#pragma once

#include <QCheckBox>
#include <functional>

namespace parlomat {

/// chkLoop: a three-state check box (0 unchecked, 1 checked, 2 greyed) whose value only the
/// core sets. A click asks for the next value: unchecked becomes checked, anything else
/// unchecked.
class LoopBox : public QCheckBox {
    Q_OBJECT
  public:
    explicit LoopBox(QWidget* parent = nullptr);

    void set_value(int value);
    int value() const;
    /// Receives the value a click asks for.
    void on_click(std::function<void(int)> handler) { on_click_ = std::move(handler); }

  protected:
    void nextCheckState() override;

  private:
    std::function<void(int)> on_click_;
};

}  // namespace parlomat
