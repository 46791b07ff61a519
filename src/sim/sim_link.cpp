#include "sim/sim_link.h"

namespace parlomat {

class SimLink::Monitor final : public LinkMonitor {
  public:
    explicit Monitor(SimLink& link) : link_(link) {}

    bool SetPTT(int value) override {
        link_.trace_.event("link SetPTT " + std::to_string(value));
        return true;
    }
    std::optional<std::int32_t> TransmitState() override { return link_.transmit_; }
    std::optional<std::int32_t> MonitorStatus() override { return link_.status_; }
    bool SetLinkMode(std::int32_t mode) override {
        link_.trace_.event("link SetLinkMode " + std::to_string(mode));
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

void SimLink::install(std::int32_t status) {
    installed_ = true;
    fails_ = false;
    status_ = status;
}

void SimLink::install_failing() {
    installed_ = true;
    fails_ = true;
}

}  // namespace parlomat
