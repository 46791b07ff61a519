#pragma once

#include <map>
#include <utility>

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
    bool idle() const { return queue_.empty(); }

  private:
    using Key = std::pair<Ms, CallbackId>;  // due time, then scheduling order
    std::map<Key, std::function<void()>> queue_;
    std::map<CallbackId, Ms> due_of_;
    LocalTime start_;
    /// The simulated system stands at UTC-05:00 unless a test says otherwise.
    std::chrono::minutes zone_offset_{-300};
    Ms now_{0};
    CallbackId next_id_ = 1;
};

}  // namespace parlomat
