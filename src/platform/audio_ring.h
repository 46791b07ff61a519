#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

namespace parlomat {

/// Lock-free single-producer/single-consumer ring of trivially copyable items. One thread
/// pushes, one other thread pops; neither ever blocks or allocates after construction.
template <typename T>
class AudioRing {
  public:
    /// Holds up to `capacity` items; `capacity` is rounded up to a power of two.
    explicit AudioRing(std::size_t capacity) : mask_(round_up(capacity) - 1) {
        // Left uninitialised: the pages of a large ring cost memory only once something is
        // pushed, and only pushed items are ever read.
        items_ = std::make_unique_for_overwrite<T[]>(mask_ + 1);
    }
    AudioRing(const AudioRing&) = delete;
    AudioRing& operator=(const AudioRing&) = delete;

    std::size_t capacity() const { return mask_ + 1; }

    /// Producer side: false (nothing pushed) when the ring is full.
    bool push(const T& item) { return push(&item, 1) == 1; }

    /// Producer side: pushes as many of `count` items as fit; returns how many.
    std::size_t push(const T* items, std::size_t count) {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        const std::size_t tail = tail_.load(std::memory_order_acquire);
        const std::size_t free_slots = capacity() - (head - tail);
        const std::size_t n = count < free_slots ? count : free_slots;
        for (std::size_t k = 0; k < n; ++k) {
            items_[(head + k) & mask_] = items[k];
        }
        head_.store(head + n, std::memory_order_release);
        return n;
    }

    /// Consumer side: false when the ring is empty.
    bool pop(T& item) { return pop(&item, 1) == 1; }

    /// Consumer side: pops up to `count` items into `items`; returns how many.
    std::size_t pop(T* items, std::size_t count) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        const std::size_t head = head_.load(std::memory_order_acquire);
        const std::size_t available = head - tail;
        const std::size_t n = count < available ? count : available;
        for (std::size_t k = 0; k < n; ++k) {
            items[k] = items_[(tail + k) & mask_];
        }
        tail_.store(tail + n, std::memory_order_release);
        return n;
    }

  private:
    static std::size_t round_up(std::size_t n) {
        std::size_t p = 1;
        while (p < n) {
            p <<= 1;
        }
        return p;
    }

    std::size_t mask_;
    std::unique_ptr<T[]> items_;
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
};

}  // namespace parlomat
