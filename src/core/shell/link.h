#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace parlomat {

/// What the link reports of the transmitter.
enum class LinkTransmit { NotTransmitting, MicKeyed, Transmitting };
/// What the link reports of the rig-control program's Monitoring Screen.
enum class MonitorState { Running, NotRunning, Unusable };
/// The one link mode the keyer asks for: working while the Monitoring Screen is not running.
enum class LinkMode : std::int32_t { WithoutMonitoringScreen = 1 };

/// The link's own numbers for the transmitter: 0 not transmitting, 2 keyed by microphone, any
/// other value still transmitting.
constexpr LinkTransmit LinkTransmitFromNumber(std::int32_t number) {
    return number == 0   ? LinkTransmit::NotTransmitting
           : number == 2 ? LinkTransmit::MicKeyed
                         : LinkTransmit::Transmitting;
}
/// The link's own numbers for the Monitoring Screen: 2 running, 1 not running, any other value
/// no usable link.
constexpr MonitorState MonitorStateFromNumber(std::int32_t number) {
    return number == 2   ? MonitorState::Running
           : number == 1 ? MonitorState::NotRunning
                         : MonitorState::Unusable;
}

/// The Monitoring Screen of the outside rig-control program. Every call may fail: a failed
/// call returns false or nothing.
class LinkMonitor {
  public:
    virtual ~LinkMonitor() = default;
    /// Keys (true) or unkeys the radio.
    virtual bool SetPTT(bool keyed) = 0;
    virtual std::optional<LinkTransmit> TransmitState() = 0;
    virtual std::optional<MonitorState> MonitorStatus() = 0;
    virtual bool SetLinkMode(LinkMode mode) = 0;
    /// `handler` runs on the UI thread when a call that already returned true fails later (a
    /// link that works in the background). The default link never fails later.
    /// By value, so that an override can move it into place.
    // NOLINTNEXTLINE(performance-unnecessary-value-param)
    virtual void set_failure_handler(std::function<void()> /*handler*/) {}
};

/// The link server: whether it is installed, and creating its monitor object.
class LinkServer {
  public:
    virtual ~LinkServer() = default;
    /// True when the server file `name` ("ftlink.exe") is installed.
    virtual bool IsFileInstalled(const std::string& name) const = 0;
    /// Creates the link object and returns its monitor (GetMonitor); nullptr on any failure.
    virtual std::unique_ptr<LinkMonitor> GetMonitor() = 0;
    /// The name the start-up question and warning give the link.
    virtual std::string Name() const { return "FT-Manager"; }
    /// True when the operator chose this link in the preferences: that choice answers the
    /// start-up question.
    virtual bool ChosenByOperator() const { return false; }
    /// Why the last GetMonitor failed, for the operator (port and the server's own error);
    /// empty when a failure is to pass silently.
    virtual std::string OpenError() const { return {}; }
};

/// The production back end on Linux: no link server exists, so the check always fails.
class NoLinkServer final : public LinkServer {
  public:
    bool IsFileInstalled(const std::string&) const override { return false; }
    std::unique_ptr<LinkMonitor> GetMonitor() override { return nullptr; }
};

}  // namespace parlomat
