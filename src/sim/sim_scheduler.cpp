#include "sim/sim_scheduler.h"

#include <algorithm>

namespace parlomat {

SimScheduler::SimScheduler(LocalTime start) : start_(start) {}

Scheduler::CallbackId SimScheduler::call_at(Ms due, std::function<void()> callback) {
    return queue_.add(std::max(due, now_), std::move(callback));
}

void SimScheduler::cancel(CallbackId id) {
    queue_.cancel(id);
}

bool SimScheduler::run_next(Ms end) {
    auto next = queue_.take_due(end);
    if (!next) {
        return false;
    }
    now_ = next->due;
    next->callback();
    return true;
}

void SimScheduler::advance(Ms duration) {
    // Monotonic time never runs backwards, whatever a caller computes.
    const Ms end = now_ + std::max(duration, Ms{0});
    while (run_next(end)) {
    }
    now_ = end;
}

}  // namespace parlomat
