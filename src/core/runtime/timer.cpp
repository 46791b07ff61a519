#include "core/runtime/timer.h"

#include <algorithm>
#include <utility>

namespace parlomat {

Timer::Timer(Scheduler& scheduler, std::function<void()> on_fire, Ms interval, bool enabled)
    : scheduler_(scheduler), on_fire_(std::move(on_fire)) {
    set_interval(interval);
    set_enabled(enabled);
}

Timer::~Timer() {
    disarm();
}

void Timer::set_interval(Ms interval) {
    interval = std::clamp(interval, Ms{0}, kMaxInterval);
    if (interval == interval_) {
        return;
    }
    interval_ = interval;
    disarm();
    if (enabled_) {
        arm(scheduler_.now());
    }
}

void Timer::set_enabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    disarm();
    if (enabled_) {
        arm(scheduler_.now());
    }
}

void Timer::arm(Ms from) {
    if (interval_ == Ms{0}) {
        return;
    }
    due_ = from + interval_;
    armed_ = true;
    pending_ = scheduler_.call_at(due_, [this] { fire(); });
}

void Timer::disarm() {
    if (armed_) {
        scheduler_.cancel(pending_);
        armed_ = false;
    }
}

void Timer::fire() {
    armed_ = false;
    // The next countdown begins now, before the handler runs, so the handler may change it.
    // A tick that comes a whole interval late (a blocked event loop) does not catch up.
    const Ms now = scheduler_.now();
    arm(now - due_ >= interval_ ? now : due_);
    on_fire_();
}

}  // namespace parlomat
