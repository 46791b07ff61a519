#include "sim/sim_scheduler.h"

#include <algorithm>

namespace parlomat {

SimScheduler::SimScheduler(LocalTime start) : start_(start) {}

Scheduler::CallbackId SimScheduler::call_at(Ms due, std::function<void()> callback) {
    const CallbackId id = next_id_++;
    due = std::max(due, now_);
    queue_.emplace(Key{due, id}, std::move(callback));
    due_of_.emplace(id, due);
    return id;
}

void SimScheduler::cancel(CallbackId id) {
    const auto it = due_of_.find(id);
    if (it == due_of_.end()) {
        return;
    }
    queue_.erase(Key{it->second, id});
    due_of_.erase(it);
}

void SimScheduler::advance(Ms duration) {
    // Monotonic time never runs backwards, whatever a caller computes.
    const Ms end = now_ + std::max(duration, Ms{0});
    while (!queue_.empty() && queue_.begin()->first.first <= end) {
        auto node = queue_.extract(queue_.begin());
        due_of_.erase(node.key().second);
        now_ = node.key().first;
        node.mapped()();
    }
    now_ = end;
}

}  // namespace parlomat
