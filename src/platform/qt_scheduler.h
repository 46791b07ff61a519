#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "core/runtime/callback_queue.h"
#include "core/runtime/scheduler.h"

namespace parlomat {

/// The wall-clock reading of a local date-time, without its time zone.
LocalTime ToLocalTime(const QDateTime& local);

/// Real time on the Qt event loop: one precise single-shot QTimer, re-armed for the earliest due
/// callback. Lives on the UI thread and needs a running QCoreApplication event loop.
class QtScheduler final : public Scheduler {
  public:
    QtScheduler();
    QtScheduler(const QtScheduler&) = delete;
    QtScheduler& operator=(const QtScheduler&) = delete;

    Ms now() const override;
    LocalTime local_now() const override;
    std::chrono::minutes zone_offset() const override;
    CallbackId call_at(Ms due, std::function<void()> callback) override;
    void cancel(CallbackId id) override;

  private:
    void run_due();
    void rearm();

    CallbackQueue queue_;
    QElapsedTimer clock_;
    QTimer timer_;
    /// The due time the running timer is set for: a callback re-armed for the same time (the
    /// channels' notifications, every 50 ms) leaves the timer alone.
    Ms armed_for_{-1};
};

}  // namespace parlomat
