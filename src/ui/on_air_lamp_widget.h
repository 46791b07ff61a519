#pragma once

#include <QFrame>

#include "core/keyer/on_air_lamp.h"

class QLabel;

namespace parlomat {

/// The large on-air indicator beside the status bar: red "ON AIR" while the transmitter is
/// really keyed, amber while it is about to be or between transmissions, dark otherwise; the
/// countdown and the ID reminder under it.
class OnAirLampWidget : public QFrame {
    Q_OBJECT
  public:
    explicit OnAirLampWidget(QWidget* parent = nullptr);

    void set_state(const LampState& state);
    const LampState& state() const { return state_; }
    QLabel* caption() const { return caption_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void paint_colours();

    LampState state_;
    QLabel* caption_ = nullptr;
    QLabel* countdown_ = nullptr;
    QLabel* id_ = nullptr;
};

}  // namespace parlomat
