#include "platform/rig_worker.h"

#include <algorithm>
#include <future>
#include <utility>

#include "platform/log_categories.h"

namespace parlomat {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kFirstBackoff{250};
constexpr std::chrono::milliseconds kLastBackoff{8000};

std::string ModelText(int number) {
    RigModel model;
    if (!HamlibModel(number, model)) {
        return "model " + std::to_string(number);
    }
    return model.manufacturer + " " + model.name;
}

/// "Yaesu FT-991 on /dev/ttyUSB0": the rig as the log names it.
std::string RigText(const RigSettings& settings) {
    return ModelText(settings.Model) + " on " +
           (settings.Port.empty() ? std::string("its default port") : settings.Port);
}

}  // namespace

RigWorker::RigWorker(RigSettings settings, std::chrono::milliseconds poll)
    : settings_(std::move(settings)),
      poll_(std::max(poll, std::chrono::milliseconds{20})),
      thread_([this] { run(); }) {}

RigWorker::~RigWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void RigWorker::post(Job job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_all();
}

RigWorker::OpenResult RigWorker::Open() {
    std::promise<OpenResult> answer;
    auto result = answer.get_future();
    post([this, &answer] {
        OpenResult open;
        open.opened = rig_.open(settings_, open.error);
        if (!open.opened) {
            qCWarning(lcLink, "rig %s did not open: %s", RigText(settings_).c_str(),
                      open.error.c_str());
        } else {
            qCInfo(lcLink, "rig %s open", RigText(settings_).c_str());
            opened_once_ = true;
            LinkTransmit state{};
            open.answers = rig_.get_ptt(state) == 0;
            read_ptt();
        }
        answer.set_value(std::move(open));
    });
    return result.get();
}

void RigWorker::SetPTT(bool on, std::function<void(bool)> done) {
    {
        std::lock_guard lock(mutex_);
        ++queued_commands_;
    }
    post([this, on, done = std::move(done)] {
        want_on_ = on;
        if (!rig_.is_open() && opened_once_) {
            reopen();
        }
        const int status = rig_.set_ptt(on);
        ++done_commands_;
        if (status != 0) {
            qCWarning(lcLink, "rig %s: PTT %s failed: %s", RigText(settings_).c_str(),
                      on ? "on" : "off", HamlibError(status).c_str());
            lost(status);
        } else {
            read_ptt();
        }
        if (done) {
            done(status == 0);
        }
    });
}

std::optional<LinkTransmit> RigWorker::TransmitState() const {
    std::lock_guard lock(mutex_);
    if (read_after_ != queued_commands_) {
        return std::nullopt;
    }
    return state_;
}

void RigWorker::Test(RigSettings settings, std::function<void(std::string)> done) {
    post([settings = std::move(settings), done = std::move(done)] {
        HamlibRig rig;
        std::string error;
        if (!rig.open(settings, error)) {
            done(error);
            return;
        }
        LinkTransmit state{};
        const int status = rig.get_ptt(state);
        if (status != 0) {
            done("Port " + settings.Port + ": " + HamlibError(status));
            return;
        }
        done("OK: " + ModelText(settings.Model) + ", PTT reads " +
             (state == LinkTransmit::NotTransmitting ? "off" : "on"));
    });
}

void RigWorker::read_ptt() {
    LinkTransmit state{};
    const int status = rig_.get_ptt(state);
    if (status != 0 && HamlibLinkLost(status)) {
        lost(status);
        return;
    }
    if (status != 0) {
        // A rig that cannot report its PTT is taken to have done what it was told.
        state = want_on_ ? LinkTransmit::Transmitting : LinkTransmit::NotTransmitting;
    }
    std::lock_guard lock(mutex_);
    state_ = state;
    read_after_ = done_commands_;
}

void RigWorker::lost(int status) {
    {
        std::lock_guard lock(mutex_);
        state_.reset();
    }
    if (HamlibLinkLost(status) && rig_.is_open()) {
        qCWarning(lcLink, "rig %s lost: %s", RigText(settings_).c_str(),
                  HamlibError(status).c_str());
        rig_.close();
        backoff_ = kFirstBackoff;
        next_try_ = Clock::now() + backoff_;
    }
}

bool RigWorker::reopen() {
    std::string error;
    if (!rig_.open(settings_, error)) {
        backoff_ = std::min(backoff_ * 2, kLastBackoff);
        next_try_ = Clock::now() + backoff_;
        qCWarning(lcLink, "rig %s did not reopen (next try in %lld ms): %s",
                  RigText(settings_).c_str(), static_cast<long long>(backoff_.count()),
                  error.c_str());
        return false;
    }
    qCInfo(lcLink, "rig %s back", RigText(settings_).c_str());
    backoff_ = std::chrono::milliseconds{0};
    // A radio that came back after an unkey is unkeyed again: it may have missed it.
    if (!want_on_) {
        rig_.set_ptt(false);
    }
    read_ptt();
    return true;
}

void RigWorker::run() {
    auto next_poll = Clock::now() + poll_;
    std::unique_lock lock(mutex_);
    for (;;) {
        const auto due = rig_.is_open() || !opened_once_ ? next_poll : next_try_;
        wake_.wait_until(lock, due, [&] { return stopping_ || !jobs_.empty(); });
        if (!jobs_.empty()) {
            Job job = std::move(jobs_.front());
            jobs_.pop_front();
            lock.unlock();
            job();
            lock.lock();
            continue;
        }
        if (stopping_) {
            break;
        }
        if (Clock::now() < due) {
            continue;
        }
        lock.unlock();
        if (rig_.is_open()) {
            read_ptt();
        } else if (opened_once_) {
            reopen();
        }
        next_poll = Clock::now() + poll_;
        lock.lock();
    }
    lock.unlock();
    rig_.close();
}

}  // namespace parlomat
