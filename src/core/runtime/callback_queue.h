#pragma once

#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <utility>

#include "core/runtime/scheduler.h"

namespace parlomat {

/// The pending callbacks of a scheduler: ordered by due time, ties in the order they were added.
/// Ids grow with every add, so an id also tells when a callback was armed.
class CallbackQueue {
  public:
    using Id = Scheduler::CallbackId;

    struct Due {
        Ms due;
        Id id;
        std::function<void()> callback;
    };

    Id add(Ms due, std::function<void()> callback);
    /// Forgets a callback that has not been taken yet; unknown ids are ignored.
    void cancel(Id id);
    /// Removes and returns the first callback due at or before `until` whose id is below
    /// `added_before` (callbacks added from then on wait for a later round).
    std::optional<Due> take_due(Ms until, Id added_before = std::numeric_limits<Id>::max());

    bool empty() const { return queue_.empty(); }
    /// The due time of the first callback, or nothing when the queue is empty.
    std::optional<Ms> next_due() const;
    /// The id the next add will return.
    Id next_id() const { return next_id_; }

  private:
    using Key = std::pair<Ms, Id>;
    std::map<Key, std::function<void()>> queue_;
    std::map<Id, Ms> due_of_;
    Id next_id_ = 1;
};

}  // namespace parlomat
