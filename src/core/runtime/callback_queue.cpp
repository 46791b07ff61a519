#include "core/runtime/callback_queue.h"

namespace parlomat {

CallbackQueue::Id CallbackQueue::add(Ms due, std::function<void()> callback) {
    const Id id = next_id_++;
    queue_.emplace(Key{due, id}, std::move(callback));
    due_of_.emplace(id, due);
    return id;
}

void CallbackQueue::cancel(Id id) {
    const auto it = due_of_.find(id);
    if (it == due_of_.end()) {
        return;
    }
    queue_.erase(Key{it->second, id});
    due_of_.erase(it);
}

std::optional<CallbackQueue::Due> CallbackQueue::take_due(Ms until, Id added_before) {
    if (queue_.empty()) {
        return std::nullopt;
    }
    const auto first = queue_.begin();
    if (first->first.first > until || first->first.second >= added_before) {
        return std::nullopt;
    }
    auto node = queue_.extract(first);
    due_of_.erase(node.key().second);
    return Due{node.key().first, node.key().second, std::move(node.mapped())};
}

std::optional<Ms> CallbackQueue::next_due() const {
    if (queue_.empty()) {
        return std::nullopt;
    }
    return queue_.begin()->first.first;
}

}  // namespace parlomat
