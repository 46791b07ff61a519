#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "core/settings/rig_settings.h"
#include "core/shell/link.h"
#include "platform/queued_calls.h"
#include "platform/rig_worker.h"

namespace parlomat {

/// The outside link realised with Hamlib: the rig of section "Rig" keyed by CAT, CM108, a
/// serial line or a shared rigctld. Every Hamlib call runs on one worker thread; the calls of
/// the link port return at once (GetMonitor, at start-up, waits for the rig to open).
/// Create, use and destroy it on the UI thread.
class HamlibLink final : public LinkServer {
  public:
    /// `poll`: how often the worker reads the radio's PTT (FTLinkDelay).
    HamlibLink(RigSettings settings, std::chrono::milliseconds poll);
    ~HamlibLink() override;

    /// True when the configured model is one this Hamlib knows; the name is not used.
    bool IsFileInstalled(const std::string& name) const override;
    std::unique_ptr<LinkMonitor> GetMonitor() override;
    /// "Hamlib: <manufacturer> <model>".
    std::string Name() const override;
    bool ChosenByOperator() const override { return true; }
    std::string OpenError() const override { return open_error_; }

    /// The preferences' Test button: opens a rig with `settings` on the worker, never keys;
    /// `done` runs on the UI thread with "OK: …" or Hamlib's error.
    void Test(const RigSettings& settings, std::function<void(const std::string&)> done);

  private:
    class Monitor;
    /// Runs `call` on the UI thread, unless the link is gone by then.
    void to_ui(std::function<void()> call);
    RigWorker& worker();

    const RigSettings settings_;
    const std::chrono::milliseconds poll_;
    std::string open_error_;
    std::function<void()> failure_handler_;
    QueuedCalls to_ui_;  // the worker's results, run on the UI thread
    std::unique_ptr<RigWorker> worker_;
};

}  // namespace parlomat
