#include "platform/hamlib_link.h"

#include <utility>

namespace parlomat {

/// The open rig as the keyer's monitor: commands are queued, reads answer from the worker's
/// latest PTT read.
class HamlibLink::Monitor final : public LinkMonitor {
  public:
    Monitor(HamlibLink& link, bool answers) : link_(link), answers_(answers) {}
    ~Monitor() override { link_.failure_handler_ = {}; }

    bool SetPTT(bool keyed) override {
        link_.worker().SetPTT(keyed, [link = &link_](bool ok) {
            if (!ok) {
                link->to_ui([link] {
                    if (link->failure_handler_) {
                        link->failure_handler_();
                    }
                });
            }
        });
        return true;
    }
    std::optional<LinkTransmit> TransmitState() override { return link_.worker().TransmitState(); }
    std::optional<MonitorState> MonitorStatus() override {
        return answers_ ? MonitorState::Running : MonitorState::NotRunning;
    }
    bool SetLinkMode(LinkMode) override { return true; }
    void set_failure_handler(std::function<void()> handler) override {
        link_.failure_handler_ = std::move(handler);
    }

  private:
    HamlibLink& link_;
    const bool answers_;
};

HamlibLink::HamlibLink(RigSettings settings, std::chrono::milliseconds poll)
    : settings_(std::move(settings)), poll_(poll) {
    InitHamlib();  // here, on the UI thread, before the worker's first Hamlib call
}

HamlibLink::~HamlibLink() {
    // The worker first: its last jobs may still post to the context.
    worker_.reset();
}

bool HamlibLink::IsFileInstalled(const std::string&) const {
    RigModel model;
    return HamlibModel(settings_.Model, model);
}

std::unique_ptr<LinkMonitor> HamlibLink::GetMonitor() {
    const auto open = worker().Open();
    if (!open.opened) {
        open_error_ = open.error;
        worker_.reset();
        return nullptr;
    }
    open_error_.clear();
    return std::make_unique<Monitor>(*this, open.answers);
}

std::string HamlibLink::Name() const {
    RigModel model;
    if (!HamlibModel(settings_.Model, model)) {
        return "Hamlib: model " + std::to_string(settings_.Model);
    }
    return "Hamlib: " + model.manufacturer + " " + model.name;
}

void HamlibLink::Test(const RigSettings& settings, std::function<void(const std::string&)> done) {
    worker().Test(settings, [this, done = std::move(done)](std::string result) {
        to_ui([done, result = std::move(result)] { done(result); });
    });
}

void HamlibLink::to_ui(std::function<void()> call) {
    to_ui_.post(std::move(call));
}

RigWorker& HamlibLink::worker() {
    if (!worker_) {
        worker_ = std::make_unique<RigWorker>(settings_, poll_);
    }
    return *worker_;
}

}  // namespace parlomat
