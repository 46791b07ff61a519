#include "sim/sim_link.h"

namespace parlomat {

class SimLink::Monitor final : public LinkMonitor {
  public:
    explicit Monitor(SimLink& link) : link_(link) {}

    // The trace shows each call as the link receives it: the PTT as 1 or 0, the mode's number.
    bool SetPTT(bool keyed) override {
        link_.trace_.event(std::string("link SetPTT ") + (keyed ? "1" : "0"));
        return true;
    }
    std::optional<LinkTransmit> TransmitState() override { return link_.transmit_; }
    std::optional<MonitorState> MonitorStatus() override { return link_.status_; }
    bool SetLinkMode(LinkMode mode) override {
        link_.trace_.event("link SetLinkMode " + std::to_string(static_cast<std::int32_t>(mode)));
        return true;
    }

  private:
    SimLink& link_;
};

bool SimLink::IsFileInstalled(const std::string& name) const {
    return installed_ && name == "ftlink.exe";
}

std::unique_ptr<LinkMonitor> SimLink::GetMonitor() {
    if (!installed_ || fails_) {
        return nullptr;
    }
    return std::make_unique<Monitor>(*this);
}

void SimLink::install(MonitorState status) {
    installed_ = true;
    fails_ = false;
    status_ = status;
}

void SimLink::install_failing() {
    installed_ = true;
    fails_ = true;
}

}  // namespace parlomat
