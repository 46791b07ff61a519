#pragma once

#include <portaudio.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/audio_ring.h"

namespace parlomat {

/// The input stream of a recording: mono float samples from the callback through a lock-free
/// ring, drained on the UI thread into the take.
class AudioRecorder {
  public:
    explicit AudioRecorder(int device);
    ~AudioRecorder();
    AudioRecorder(const AudioRecorder&) = delete;
    AudioRecorder& operator=(const AudioRecorder&) = delete;

    bool has_device() const { return device_ >= 0; }
    /// Opens and starts the input at `preferred_rate` or the device's own; false (and a log
    /// entry) when it would not start.
    bool start(int preferred_rate);
    void stop();
    bool running() const { return stream_ != nullptr; }
    int rate() const { return rate_; }
    /// Moves what the callback captured into `take` from `pos` on (overwriting, then
    /// appending) up to `limit` samples; `pos` ends past the last sample written. Input past
    /// the limit is dropped.
    void drain(std::vector<float>& take, std::size_t& pos, std::size_t limit);
    /// Stream time (s) the first sample was captured; 0 before any has arrived.
    double first_adc() const;
    /// Peak and RMS (linear) of the latest input buffer.
    float peak() const { return peak_.load(std::memory_order_relaxed); }
    float rms() const { return rms_.load(std::memory_order_relaxed); }

  private:
    static int Callback(const void* input, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                        void* self);

    int device_;
    std::string device_name_;
    PaStream* stream_ = nullptr;
    int rate_ = 0;
    AudioRing<float> ring_{1u << 21};
    std::atomic<bool> started_{false};
    std::atomic<double> first_adc_{0};
    std::atomic<bool> overflow_{false};
    std::atomic<float> peak_{0};
    std::atomic<float> rms_{0};
};

}  // namespace parlomat
