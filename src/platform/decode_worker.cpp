#include "platform/decode_worker.h"

#include "platform/wave_file.h"

namespace parlomat {

DecodeWorker::DecodeWorker(Done on_done) : on_done_(std::move(on_done)) {
    thread_ = std::thread([this] { run(); });
}

DecodeWorker::~DecodeWorker() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
        for (const auto& job : queue_) {
            job->cancel.store(true);
        }
    }
    wake_.notify_all();
    thread_.join();
}

std::shared_ptr<DecodeJob> DecodeWorker::submit(const std::string& path, int rate) {
    auto job = std::make_shared<DecodeJob>();
    job->path = path;
    job->rate = rate;
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(job);
    }
    wake_.notify_all();
    return job;
}

void DecodeWorker::wait(const std::shared_ptr<DecodeJob>& job) {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return job->done; });
}

void DecodeWorker::run() {
    for (;;) {
        std::shared_ptr<DecodeJob> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
            if (queue_.empty()) {
                return;
            }
            job = queue_.front();
        }
        if (!job->cancel.load()) {
            job->result = DecodeWave(job->path, job->rate, job->cancel);
        }
        {
            const std::lock_guard lock(mutex_);
            queue_.pop_front();
            job->done = true;
        }
        finished_.notify_all();
        if (!job->cancel.load()) {
            to_owner_.post([this, job] { on_done_(job); });
        }
    }
}

}  // namespace parlomat
