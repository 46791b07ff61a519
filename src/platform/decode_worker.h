#pragma once

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/queued_calls.h"

namespace parlomat {

/// One file to decode into 16-bit samples at a stream's rate.
struct DecodeJob {
    std::string path;
    int rate = 0;
    std::atomic<bool> cancel{false};
    /// Set by the worker before `done`; nothing when the data did not decode.
    std::optional<std::vector<std::int16_t>> result;
    bool done = false;  ///< guarded by the worker's mutex
};

/// Decodes wave files one after another on a single worker thread, so a long file never holds
/// the window's thread. Each finished job is handed to `on_done` on the thread that owns this
/// object (through its event loop), unless it was cancelled.
class DecodeWorker : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(const std::shared_ptr<DecodeJob>&)>;

    explicit DecodeWorker(Done on_done);
    ~DecodeWorker() override;

    std::shared_ptr<DecodeJob> submit(const std::string& path, int rate);
    /// Blocks until `job` has been decoded (or skipped, when cancelled).
    void wait(const std::shared_ptr<DecodeJob>& job);

  private:
    void run();

    Done on_done_;
    QueuedCalls to_owner_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    std::deque<std::shared_ptr<DecodeJob>> queue_;
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace parlomat
