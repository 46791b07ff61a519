#pragma once

#include <QString>

#include <cstdint>
#include <mutex>
#include <string>

#include "core/runtime/event_log.h"

namespace parlomat {

/// The station log file: every Qt log message (the parlomat.* categories and Qt's own warnings)
/// as one line "2026-05-01T12:34:56.789Z parlomat.ptt: text", UTC to the millisecond. The file is
/// rotated when it reaches `max_bytes` (parlomat.log → parlomat.log.1 → … → .N, the oldest
/// dropped). `verbose` also prints every line, debug ones included, to standard error; otherwise
/// standard error sees only what is wrong outside our own categories. Installs itself as Qt's
/// message handler while it lives (Qt has only the one, process-wide).
class StationLog {
  public:
    static constexpr std::int64_t kMaxBytes = std::int64_t{1024} * 1024;
    static constexpr int kKeep = 3;

    StationLog(QString path, bool verbose, std::int64_t max_bytes = kMaxBytes, int keep = kKeep);
    ~StationLog();
    StationLog(const StationLog&) = delete;
    StationLog& operator=(const StationLog&) = delete;

    /// $XDG_STATE_HOME/parlomat/parlomat.log (~/.local/state/parlomat/parlomat.log).
    static QString DefaultPath();
    const QString& path() const { return path_; }

  private:
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text);
    void write(QtMsgType type, const char* category, const QString& text);
    void rotate();

    QString path_;
    bool verbose_;
    std::int64_t max_bytes_;
    int keep_;
    std::mutex mutex_;  // messages may come from worker threads (never the audio callback)
    QtMessageHandler previous_ = nullptr;
};

/// The keyer's transmit log on the parlomat.ptt category.
class QtEventLog final : public EventLog {
  public:
    void KeyChange(bool down, KeyCause cause, int slot, bool on_air) override;
    void TxTimedOut(int seconds) override;
};

}  // namespace parlomat
