#pragma once

#include <functional>
#include <optional>

#include "core/runtime/scheduler.h"

namespace parlomat {

/// A window timer: an interval of 0..65,535 ms (0 never fires) and an enabled flag.
/// It fires once per interval while enabled. Enabling a stopped timer, or giving a running
/// one a different interval, restarts the countdown; giving a running timer the interval it
/// already has, or enabling it again, leaves the countdown running.
class Timer {
  public:
    static constexpr Ms kMaxInterval{65535};

    Timer(Scheduler& scheduler, std::function<void()> on_fire, Ms interval = Ms{0},
          bool enabled = false);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    /// Values outside 0..65,535 ms are clamped into that range.
    void set_interval(Ms interval);
    void set_enabled(bool enabled);
    Ms interval() const { return interval_; }
    bool enabled() const { return enabled_; }
    /// The scheduler time of the next firing, or nothing while the timer does not run.
    std::optional<Ms> next_due() const { return armed_ ? std::optional<Ms>(due_) : std::nullopt; }

  private:
    void arm(Ms from);
    void disarm();
    void fire();

    Scheduler& scheduler_;
    std::function<void()> on_fire_;
    Ms interval_{0};
    bool enabled_ = false;
    bool armed_ = false;
    Scheduler::CallbackId pending_ = 0;
    Ms due_{0};
};

}  // namespace parlomat
