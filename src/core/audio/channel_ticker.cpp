#include "core/audio/channel_ticker.h"

#include <algorithm>

namespace parlomat {

ChannelTicker::ChannelTicker(Scheduler& scheduler) : scheduler_(scheduler) {}

ChannelTicker::~ChannelTicker() {
    for (const Channel& c : channels_) {
        scheduler_.cancel(c.event);
    }
}

void ChannelTicker::SetUpdateInterval(int i, std::int16_t ms) {
    if (i < 0 || i >= WaveChannels::kCount) {
        return;
    }
    Channel& c = channels_[static_cast<std::size_t>(i)];
    const std::int16_t interval = std::max<std::int16_t>(ms, 0);
    if (interval == c.interval && (interval == 0 || c.event != 0)) {
        return;
    }
    c.interval = interval;
    arm(i);
}

void ChannelTicker::arm(int i) {
    Channel& c = channels_[static_cast<std::size_t>(i)];
    scheduler_.cancel(c.event);
    c.event = 0;
    if (c.interval <= 0) {
        return;
    }
    c.event = scheduler_.call_at(scheduler_.now() + Ms{c.interval}, [this, i] {
        channels_[static_cast<std::size_t>(i)].event = 0;
        // Re-armed before the listener runs: it may change this or any channel's interval.
        arm(i);
        if (listener_ != nullptr) {
            listener_->mci_StatusUpdate(i);
        }
    });
}

}  // namespace parlomat
