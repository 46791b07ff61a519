#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/shell/link.h"
#include "sim/trace.h"

namespace parlomat {

/// A link server the scenario installs (or not). Its monitor traces every SetPTT and SetLinkMode
/// call and answers the status and transmit state the scenario sets.
class SimLink final : public LinkServer {
  public:
    explicit SimLink(Trace& trace) : trace_(trace) {}

    bool IsFileInstalled(const std::string& name) const override;
    std::unique_ptr<LinkMonitor> GetMonitor() override;

    /// Installs a server whose monitor answers `status`.
    void install(MonitorState status);
    /// Installs a server that cannot be created.
    void install_failing();
    void set_transmit_state(LinkTransmit state) { transmit_ = state; }

  private:
    class Monitor;

    Trace& trace_;
    bool installed_ = false;
    bool fails_ = false;
    MonitorState status_ = MonitorState::Unusable;
    LinkTransmit transmit_ = LinkTransmit::NotTransmitting;
};

}  // namespace parlomat
