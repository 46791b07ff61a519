#include "platform/output_stream.h"

#include <algorithm>
#include <cmath>

#include "platform/log_categories.h"

namespace parlomat {
namespace {

constexpr int kPreferredRate = 48000;
/// The device's low-latency default, but no less: PulseAudio's ALSA plug-in offers 8.7 ms,
/// which dropped buffers on a busy 2-core machine. Onsets are scheduled at their DAC time, so a
/// longer buffer costs only the start of a message keyed with a PTT delay shorter than it.
constexpr double kMinLatencySeconds = 0.020;

bool RateSupported(int device, int channels, double rate, bool output) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    if (info == nullptr) {
        return false;
    }
    PaStreamParameters p{};
    p.device = device;
    p.channelCount = channels;
    p.sampleFormat = paFloat32;
    if (output) {
        p.suggestedLatency = info->defaultLowOutputLatency;
        return Pa_IsFormatSupported(nullptr, &p, rate) == paFormatIsSupported;
    }
    p.suggestedLatency = info->defaultLowInputLatency;
    return Pa_IsFormatSupported(&p, nullptr, rate) == paFormatIsSupported;
}

}  // namespace

int PickRate(int device, int channels, bool output, int preferred) {
    if (RateSupported(device, channels, preferred, output)) {
        return preferred;
    }
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    if (info != nullptr && info->defaultSampleRate > 0 &&
        RateSupported(device, channels, info->defaultSampleRate, output)) {
        return static_cast<int>(std::lround(info->defaultSampleRate));
    }
    return 0;
}

OutputStream::OutputStream(int device, std::chrono::milliseconds latency,
                           unsigned long frames_per_buffer)
    : device_(device), latency_(latency), frames_per_buffer_(frames_per_buffer) {
    if (const PaDeviceInfo* info = device_ >= 0 ? Pa_GetDeviceInfo(device_) : nullptr) {
        device_name_ = info->name != nullptr ? info->name : "";
    }
}

OutputStream::~OutputStream() {
    close();
}

bool OutputStream::open() {
    const PaDeviceInfo* info = device_ >= 0 ? Pa_GetDeviceInfo(device_) : nullptr;
    if (info == nullptr || info->maxOutputChannels < 1) {
        qCWarning(lcAudio, "no output device");
        return false;
    }
    int channels = 1;
    int rate = PickRate(device_, channels, true, kPreferredRate);
    if (rate == 0 && info->maxOutputChannels >= 2) {
        channels = 2;
        rate = PickRate(device_, channels, true, kPreferredRate);
    }
    if (rate == 0) {
        qCWarning(lcAudio, "output device \"%s\" takes no usable format", device_name_.c_str());
        return false;
    }
    PaStreamParameters p{};
    p.device = device_;
    p.channelCount = channels;
    p.sampleFormat = paFloat32;
    p.suggestedLatency = latency_.count() > 0
                             ? std::chrono::duration<double>(latency_).count()
                             : std::max(info->defaultLowOutputLatency, kMinLatencySeconds);
    mixer_ = std::make_unique<AudioMixer>(rate);
    channels_ = channels;
    rate_ = rate;
    finished_.store(false);
    const unsigned long frames =
        frames_per_buffer_ == 0 ? paFramesPerBufferUnspecified : frames_per_buffer_;
    PaStream* stream = nullptr;
    PaError error = Pa_OpenStream(&stream, nullptr, &p, rate, frames, paClipOff | paDitherOff,
                                  &OutputStream::Callback, this);
    if (error == paNoError) {
        Pa_SetStreamFinishedCallback(stream, &OutputStream::Finished);
        stream_ = stream;
        error = Pa_StartStream(stream_);
    }
    if (error != paNoError) {
        qCWarning(lcAudio, "output device \"%s\" did not open: %s", device_name_.c_str(),
                  Pa_GetErrorText(error));
        close();
        return false;
    }
    suspended_.store(false);
    qCInfo(lcAudio, "output device \"%s\" open: %d Hz, %d channel(s), latency %.1f ms",
           device_name_.c_str(), rate_, channels_, static_cast<double>(latency().count()) / 1000.0);
    return true;
}

void OutputStream::close() {
    if (stream_ != nullptr) {
        suspended_.store(true);
        Pa_AbortStream(stream_);
        Pa_CloseStream(stream_);
        stream_ = nullptr;
        qCInfo(lcAudio, "output device \"%s\" closed", device_name_.c_str());
    }
    // No callback runs any more: nothing refers to the mixer.
    mixer_.reset();
    rate_ = 0;
    suspended_.store(false);
}

void OutputStream::suspend() {
    if (stream_ == nullptr || suspended_.load()) {
        return;
    }
    suspended_.store(true);
    Pa_StopStream(stream_);
    qCInfo(lcAudio, "output stream suspended while idle");
}

bool OutputStream::resume() {
    if (stream_ == nullptr) {
        return false;
    }
    if (!suspended_.load()) {
        return true;
    }
    const PaError error = Pa_StartStream(stream_);
    if (error != paNoError) {
        qCWarning(lcAudio, "output device \"%s\" did not start again: %s", device_name_.c_str(),
                  Pa_GetErrorText(error));
        return false;
    }
    suspended_.store(false);
    qCInfo(lcAudio, "output stream running again");
    return true;
}

double OutputStream::time() const {
    return stream_ == nullptr ? 0.0 : Pa_GetStreamTime(stream_);
}

std::chrono::microseconds OutputStream::latency() const {
    const PaStreamInfo* info = stream_ != nullptr ? Pa_GetStreamInfo(stream_) : nullptr;
    if (info == nullptr) {
        return std::chrono::microseconds{0};
    }
    return std::chrono::microseconds{std::lround(info->outputLatency * 1e6)};
}

int OutputStream::Callback(const void*, void* output, unsigned long frames,
                           const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                           void* self) {
    auto* stream = static_cast<OutputStream*>(self);
    if ((flags & paOutputUnderflow) != 0) {
        stream->underflows_.fetch_add(1, std::memory_order_relaxed);
    }
    stream->mixer_->render(static_cast<float*>(output), frames, stream->channels_,
                           time->outputBufferDacTime);
    return paContinue;
}

void OutputStream::Finished(void* self) {
    auto* stream = static_cast<OutputStream*>(self);
    // A stop we asked for is no loss.
    if (!stream->suspended_.load()) {
        stream->finished_.store(true);
    }
}

}  // namespace parlomat
