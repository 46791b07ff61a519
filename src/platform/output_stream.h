#pragma once

#include <portaudio.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio_mixer.h"

namespace parlomat {

/// The one PortAudio output stream and the mixer its callback renders. Mono when the device
/// takes it, otherwise the same signal on the first two channels; 48 kHz when the device takes
/// it, otherwise the device's own rate. The stream may be suspended while idle and resumed.
class OutputStream {
  public:
    /// `latency` 0: the device's own low-latency default (at least 20 ms).
    OutputStream(int device, std::chrono::milliseconds latency, unsigned long frames_per_buffer);
    ~OutputStream();
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    /// Opens and starts the stream; false (and a log entry) on failure.
    bool open();
    void close();
    bool is_open() const { return stream_ != nullptr; }
    /// Stops the callback (no CPU while idle); the stream stays open.
    void suspend();
    /// Starts a suspended stream again; false (and a log entry) when it would not start.
    bool resume();
    bool suspended() const { return suspended_.load(); }

    AudioMixer* mixer() { return mixer_.get(); }
    const AudioMixer* mixer() const { return mixer_.get(); }
    int rate() const { return rate_; }
    /// The stream clock (s) in which DAC times are given; 0 without a stream.
    double time() const;
    std::chrono::microseconds latency() const;
    /// Output buffers that came too late for the device (a dropout), since the stream opened.
    std::uint64_t underflows() const { return underflows_.load(std::memory_order_relaxed); }
    /// The stream ended by itself: the device has gone away.
    bool finished() const { return finished_.load(); }
    const std::string& device_name() const { return device_name_; }

  private:
    static int Callback(const void* input, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                        void* self);
    static void Finished(void* self);

    int device_;
    std::chrono::milliseconds latency_;
    unsigned long frames_per_buffer_;
    std::string device_name_;
    PaStream* stream_ = nullptr;
    /// Written before a stop we ask for, so the finished callback can tell it from a loss.
    std::atomic<bool> suspended_{false};
    int channels_ = 1;
    int rate_ = 0;
    std::unique_ptr<AudioMixer> mixer_;
    std::atomic<bool> finished_{false};
    std::atomic<std::uint64_t> underflows_{0};
};

/// 48 kHz (or `preferred`) when `device` takes it with `channels`, else the device's own rate;
/// 0 when neither works.
int PickRate(int device, int channels, bool output, int preferred);

}  // namespace parlomat
