#pragma once

#include "core/runtime/callback_queue.h"
#include "core/runtime/scheduler.h"

namespace parlomat {

/// Virtual time. Nothing happens until advance(); callbacks run in order of due time, ties in
/// the order they were scheduled. The local date-time is a start value plus virtual time.
class SimScheduler final : public Scheduler {
  public:
    explicit SimScheduler(LocalTime start = LocalTime{});

    Ms now() const override { return now_; }
    LocalTime local_now() const override { return start_ + now_; }
    std::chrono::minutes zone_offset() const override { return zone_offset_; }
    CallbackId call_at(Ms due, std::function<void()> callback) override;
    void cancel(CallbackId id) override;

    void set_local_start(LocalTime start) { start_ = start; }
    void set_zone_offset(std::chrono::minutes offset) { zone_offset_ = offset; }
    /// Lets `duration` pass, running every callback due up to and including its end.
    /// A negative duration lets no time pass.
    void advance(Ms duration);
    /// Runs the first callback due up to and including `end`, with the time moved to its due
    /// time; false when none is due (the time then stays where it is).
    bool run_next(Ms end);
    bool idle() const { return queue_.empty(); }

  private:
    CallbackQueue queue_;
    LocalTime start_;
    /// The simulated system stands at UTC-05:00 unless a test says otherwise.
    std::chrono::minutes zone_offset_{-300};
    Ms now_{0};
};

}  // namespace parlomat
