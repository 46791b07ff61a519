#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace parlomat {

using Ms = std::chrono::milliseconds;

/// Local wall-clock date-time, millisecond resolution, no time zone attached.
using LocalTime = std::chrono::local_time<std::chrono::milliseconds>;

/// Time as the keyer sees it: a monotonic clock, the local date-time and one-shot callbacks.
/// Implemented by QtScheduler (real time) and SimScheduler (virtual time).
class Scheduler {
  public:
    using CallbackId = std::uint64_t;

    virtual ~Scheduler() = default;

    /// Monotonic time since an arbitrary epoch.
    virtual Ms now() const = 0;
    /// The local date-time now.
    virtual LocalTime local_now() const = 0;
    /// How far the system's local time is ahead of UTC now (summer time included): +60 min in
    /// Central Europe in winter, -300 min in New York.
    virtual std::chrono::minutes zone_offset() const = 0;
    /// Runs `callback` once on the UI thread at monotonic time `due` (at once if past).
    /// Callbacks due at the same time run in the order they were scheduled.
    virtual CallbackId call_at(Ms due, std::function<void()> callback) = 0;
    /// Forgets a callback that has not run yet; unknown ids are ignored.
    virtual void cancel(CallbackId id) = 0;
};

}  // namespace parlomat
