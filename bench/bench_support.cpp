#include "bench_support.h"

#include <sys/resource.h>

#include <algorithm>
#include <cmath>

namespace parlomat::bench {

double stream_to_steady(PaStream* stream) {
    double best_span = 1e9;
    double offset = 0;
    for (int k = 0; k < 5; ++k) {
        const double before = now_s();
        const double stream_time = Pa_GetStreamTime(stream);
        const double after = now_s();
        if (after - before < best_span) {
            best_span = after - before;
            offset = (before + after) / 2 - stream_time;
        }
    }
    return offset;
}

MonitorCapture::MonitorCapture() {
    const PaDeviceIndex device = Pa_GetDefaultInputDevice();
    if (device == paNoDevice) {
        return;
    }
    PaStreamParameters p{};
    p.device = device;
    p.channelCount = 1;
    p.sampleFormat = paFloat32;
    p.suggestedLatency = 0.01;
    if (Pa_OpenStream(&stream_, &p, nullptr, rate_, paFramesPerBufferUnspecified, paNoFlag,
                      &MonitorCapture::Callback, this) != paNoError) {
        stream_ = nullptr;
        return;
    }
    if (Pa_StartStream(stream_) != paNoError) {
        Pa_CloseStream(stream_);
        stream_ = nullptr;
        return;
    }
    offset_ = stream_to_steady(stream_);
}

MonitorCapture::~MonitorCapture() {
    if (stream_ != nullptr) {
        Pa_AbortStream(stream_);
        Pa_CloseStream(stream_);
    }
}

void MonitorCapture::arm() {
    offset_ = stream_to_steady(stream_);
    armed_at_.store(Pa_GetStreamTime(stream_));
    first_.store(0);
    last_end_.store(0);
    generation_.fetch_add(1);
}

std::optional<double> MonitorCapture::first_sound() const {
    const double t = first_.load();
    return t == 0 ? std::nullopt : std::optional<double>(t + offset_);
}

std::optional<double> MonitorCapture::last_sound_end() const {
    const double t = last_end_.load();
    return t == 0 ? std::nullopt : std::optional<double>(t + offset_);
}

int MonitorCapture::Callback(const void* input, void*, unsigned long frames,
                             const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags,
                             void* self) {
    auto* capture = static_cast<MonitorCapture*>(self);
    if (input == nullptr || capture->generation_.load() == 0) {
        return paContinue;
    }
    const auto* s = static_cast<const float*>(input);
    for (unsigned long i = 0; i < frames; ++i) {
        if (s[i] == 0.0f) {
            continue;
        }
        const double t = time->inputBufferAdcTime + static_cast<double>(i) / capture->rate_;
        if (t < capture->armed_at_.load(std::memory_order_relaxed)) {
            continue;
        }
        if (capture->first_.load(std::memory_order_relaxed) == 0) {
            capture->first_.store(t);
        }
        capture->last_end_.store(t + 1.0 / capture->rate_);
    }
    return paContinue;
}

Summary Summarise(std::vector<double> values) {
    Summary s;
    if (values.empty()) {
        return s;
    }
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) {
        const auto k = static_cast<std::size_t>(std::ceil(q * static_cast<double>(values.size())));
        return values[std::min(values.size() - 1, k == 0 ? 0 : k - 1)];
    };
    s.median = values.size() % 2 == 1
                   ? values[values.size() / 2]
                   : (values[values.size() / 2 - 1] + values[values.size() / 2]) / 2;
    s.p95 = at(0.95);
    s.min = values.front();
    s.max = values.back();
    return s;
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace parlomat::bench
