#include "platform/audio_recorder.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/log_categories.h"
#include "platform/output_stream.h"

namespace parlomat {

AudioRecorder::AudioRecorder(int device) : device_(device) {
    if (const PaDeviceInfo* info = device_ >= 0 ? Pa_GetDeviceInfo(device_) : nullptr) {
        device_name_ = info->name != nullptr ? info->name : "";
    }
}

AudioRecorder::~AudioRecorder() {
    stop();
}

bool AudioRecorder::start(int preferred_rate) {
    if (device_ < 0 || stream_ != nullptr) {
        return false;
    }
    const int rate = PickRate(device_, 1, false, preferred_rate);
    if (rate == 0) {
        qCWarning(lcAudio, "input device \"%s\" takes no usable format", device_name_.c_str());
        return false;
    }
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device_);
    PaStreamParameters p{};
    p.device = device_;
    p.channelCount = 1;
    p.sampleFormat = paFloat32;
    p.suggestedLatency = info != nullptr ? info->defaultLowInputLatency : 0.02;
    float discard = 0;
    while (ring_.pop(discard)) {
    }
    started_.store(false);
    overflow_.store(false);
    PaStream* stream = nullptr;
    PaError error = Pa_OpenStream(&stream, &p, nullptr, rate, paFramesPerBufferUnspecified,
                                  paNoFlag, &AudioRecorder::Callback, this);
    if (error == paNoError) {
        error = Pa_StartStream(stream);
        if (error != paNoError) {
            Pa_CloseStream(stream);
        }
    }
    if (error != paNoError) {
        qCWarning(lcAudio, "input device \"%s\" did not open: %s", device_name_.c_str(),
                  Pa_GetErrorText(error));
        return false;
    }
    stream_ = stream;
    rate_ = rate;
    qCInfo(lcAudio, "input device \"%s\" recording at %d Hz", device_name_.c_str(), rate_);
    return true;
}

void AudioRecorder::stop() {
    if (stream_ == nullptr) {
        return;
    }
    Pa_AbortStream(stream_);
    Pa_CloseStream(stream_);
    stream_ = nullptr;
    peak_.store(0);
    rms_.store(0);
    if (overflow_.load()) {
        qCWarning(lcAudio, "input device \"%s\": samples were lost (the take fell behind)",
                  device_name_.c_str());
    }
    qCInfo(lcAudio, "input device \"%s\" closed", device_name_.c_str());
}

void AudioRecorder::drain(std::vector<float>& take, std::size_t& pos, std::size_t limit) {
    std::array<float, 4096> chunk{};
    for (;;) {
        const std::size_t room = limit - std::min(pos, limit);
        const std::size_t n = ring_.pop(chunk.data(), std::min(chunk.size(), room));
        if (n == 0) {
            return;
        }
        for (std::size_t k = 0; k < n; ++k, ++pos) {
            if (pos < take.size()) {
                take[pos] = chunk[k];
            } else {
                take.push_back(chunk[k]);
            }
        }
    }
}

double AudioRecorder::first_adc() const {
    return started_.load(std::memory_order_acquire) ? first_adc_.load(std::memory_order_relaxed)
                                                    : 0.0;
}

int AudioRecorder::Callback(const void* input, void*, unsigned long frames,
                            const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags,
                            void* self) {
    auto* recorder = static_cast<AudioRecorder*>(self);
    if (input == nullptr) {
        return paContinue;
    }
    if (!recorder->started_.load(std::memory_order_relaxed)) {
        recorder->first_adc_.store(time->inputBufferAdcTime, std::memory_order_relaxed);
        recorder->started_.store(true, std::memory_order_release);
    }
    const auto* samples = static_cast<const float*>(input);
    float peak = 0;
    float squares = 0;
    for (unsigned long k = 0; k < frames; ++k) {
        peak = std::max(peak, std::fabs(samples[k]));
        squares += samples[k] * samples[k];
    }
    recorder->peak_.store(peak, std::memory_order_relaxed);
    recorder->rms_.store(frames > 0 ? std::sqrt(squares / static_cast<float>(frames)) : 0.0f,
                         std::memory_order_relaxed);
    if (recorder->ring_.push(samples, frames) != frames) {
        recorder->overflow_.store(true, std::memory_order_relaxed);
    }
    return paContinue;
}

}  // namespace parlomat
