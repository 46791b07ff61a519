#pragma once

#include <portaudio.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace parlomat::bench {

/// Seconds on the monotonic clock every figure of the benchmark is measured in.
inline double now_s() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

/// Offset that turns a PortAudio stream time into now_s() time, read as close together as
/// possible (the smallest of several readings' spans wins).
double stream_to_steady(PaStream* stream);

/// Records the sink's monitor and notes when sound (any non-zero sample) is first and last
/// captured after arm(), in now_s() seconds. The capture clock is the monitor's own, so the
/// engine and aplay are measured alike.
class MonitorCapture {
  public:
    MonitorCapture();
    ~MonitorCapture();
    MonitorCapture(const MonitorCapture&) = delete;
    MonitorCapture& operator=(const MonitorCapture&) = delete;

    bool ok() const { return stream_ != nullptr; }
    void arm();
    /// The first and last non-zero sample since arm(); nothing when none came.
    std::optional<double> first_sound() const;
    std::optional<double> last_sound_end() const;

  private:
    static int Callback(const void* input, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                        void* self);

    PaStream* stream_ = nullptr;
    double rate_ = 48000;
    double offset_ = 0;  ///< capture stream time -> now_s()
    std::atomic<std::uint64_t> generation_{0};
    std::atomic<double> armed_at_{0};  ///< capture stream time of arm(): earlier sound is ignored
    std::atomic<double> first_{0};
    std::atomic<double> last_end_{0};
};

/// Median, 95th percentile, minimum and maximum of `values`.
struct Summary {
    double median = 0;
    double p95 = 0;
    double min = 0;
    double max = 0;
};
Summary Summarise(std::vector<double> values);

/// Process CPU time (user + system) in seconds.
double ProcessCpuSeconds();

}  // namespace parlomat::bench
