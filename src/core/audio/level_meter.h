#pragma once

#include <chrono>
#include <optional>

namespace parlomat {

/// The level meter's scale: -60 dBFS at its left end, 0 dBFS (full scale) at its right.
inline constexpr float kMeterFloorDbfs = -60.0f;
/// A peak at or above this counts as clipping (the largest 16-bit sample is -0.0003 dBFS).
inline constexpr float kClipDbfs = -0.01f;
/// How long the clip lamp stays lit after the last clipped period.
inline constexpr std::chrono::milliseconds kClipHold{1000};

/// Where a level in dBFS lies on the meter, 0..1, linear in dB; silence (minus infinity) and
/// anything below the floor give 0, anything above full scale 1, NaN 0.
float MeterFraction(float dbfs);

/// Keeps the clip lamp lit for kClipHold after the last clipped reading.
class ClipHold {
  public:
    /// Takes a reading of `peak_dbfs` at monotonic time `now`; true while the lamp is lit.
    bool update(float peak_dbfs, std::chrono::milliseconds now);
    void reset() { lit_until_.reset(); }

  private:
    std::optional<std::chrono::milliseconds> lit_until_;
};

}  // namespace parlomat
