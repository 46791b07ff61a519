#pragma once

#include <array>
#include <cstdint>

#include "core/audio/wave_channels.h"
#include "core/runtime/scheduler.h"

namespace parlomat {

/// The channels' periodic progress notifications on the scheduler: each channel has its own
/// interval and phase. Shared by every WaveChannels back end, so real and simulated channels
/// notify alike.
class ChannelTicker {
  public:
    explicit ChannelTicker(Scheduler& scheduler);
    ~ChannelTicker();
    ChannelTicker(const ChannelTicker&) = delete;
    ChannelTicker& operator=(const ChannelTicker&) = delete;

    void set_listener(ChannelListener* listener) { listener_ = listener; }
    /// Period of channel `i`'s notification in ms; 0 (or less) stops it. The interval a channel
    /// already runs at keeps its phase.
    void SetUpdateInterval(int i, std::int16_t ms);
    std::int16_t interval(int i) const { return channels_[static_cast<std::size_t>(i)].interval; }

  private:
    struct Channel {
        std::int16_t interval = 0;
        Scheduler::CallbackId event = 0;
    };
    void arm(int i);

    Scheduler& scheduler_;
    ChannelListener* listener_ = nullptr;
    std::array<Channel, WaveChannels::kCount> channels_{};
};

}  // namespace parlomat
