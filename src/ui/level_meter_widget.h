#pragma once

#include <QWidget>
#include <chrono>

#include "core/audio/level_meter.h"
#include "core/audio/wave_channels.h"

namespace parlomat {

/// The level meter: the RMS level as a bar and the peak as a line, -60..0 dBFS, with a clip
/// lamp at the right end that stays lit for a second after the last clipped period.
class LevelMeterWidget : public QWidget {
    Q_OBJECT
  public:
    explicit LevelMeterWidget(QWidget* parent = nullptr);

    /// A reading taken at monotonic time `now`.
    void set_level(const ChannelLevel& level, std::chrono::milliseconds now);
    bool clip_lit() const { return clip_lit_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ChannelLevel level_;
    ClipHold clip_;
    bool clip_lit_ = false;
};

}  // namespace parlomat
