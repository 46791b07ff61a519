#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/settings/rig_settings.h"
#include "platform/hamlib_rig.h"

namespace parlomat {

/// The one thread that makes every Hamlib call, in order. It keeps the rig open, reads its PTT
/// every poll interval, and reopens it with back-off when the radio or rigctld went away.
/// Completion callbacks run on the worker thread.
class RigWorker {
  public:
    struct OpenResult {
        bool opened = false;
        bool answers = false;  ///< the rig answered a PTT read
        std::string error;     ///< port and Hamlib's error when not opened
    };

    RigWorker(RigSettings settings, std::chrono::milliseconds poll);
    /// Runs the jobs still queued (a last unkey reaches the radio), closes the rig, joins.
    ~RigWorker();
    RigWorker(const RigWorker&) = delete;
    RigWorker& operator=(const RigWorker&) = delete;

    /// Opens the rig and reads its PTT once; waits for the worker's answer.
    OpenResult Open();
    /// Queues a PTT command; `done(ok)` runs after Hamlib answered.
    void SetPTT(bool on, std::function<void(bool ok)> done);
    /// The PTT read last, when it was read after the last queued command.
    std::optional<LinkTransmit> TransmitState() const;
    /// Opens a rig with `settings` beside the link, reads its PTT, closes it; never keys.
    /// `done` gets "OK: <model>, PTT reads off" (or on) or the error.
    void Test(RigSettings settings, std::function<void(std::string)> done);

  private:
    using Job = std::function<void()>;
    void post(Job job);
    void run();
    bool reopen();
    void read_ptt();
    void lost(int status);

    const RigSettings settings_;
    const std::chrono::milliseconds poll_;
    HamlibRig rig_;  // worker thread only

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool stopping_ = false;
    std::uint64_t queued_commands_ = 0;
    std::uint64_t read_after_ = 0;  // commands done before the last good read
    std::optional<LinkTransmit> state_;

    // Worker thread only.
    std::uint64_t done_commands_ = 0;
    bool want_on_ = false;
    std::chrono::steady_clock::time_point next_try_{};
    std::chrono::milliseconds backoff_{0};
    bool opened_once_ = false;

    std::thread thread_;
};

}  // namespace parlomat
