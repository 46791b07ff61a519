#include "platform/wave_file.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <memory>

#include <unistd.h>

#include "platform/files/regular_file.h"
#include "platform/files/replacement_file.h"

namespace parlomat {
namespace {

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

/// A sound file read from a regular file only: a FIFO, a device or a directory does not open,
/// at once, so a bad name never blocks the thread that opens it.
class SoundReader {
  public:
    explicit SoundReader(const std::string& path) : fd_(OpenRegularFile(path)) {
        if (fd_ >= 0) {
            file_.reset(sf_open_fd(fd_, SFM_READ, &info_, SF_FALSE));
        }
    }
    ~SoundReader() {
        file_.reset();
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    SoundReader(const SoundReader&) = delete;
    SoundReader& operator=(const SoundReader&) = delete;

    SNDFILE* get() const { return file_.get(); }
    const SF_INFO& info() const { return info_; }

  private:
    int fd_;
    SF_INFO info_{};
    SndfilePtr file_;
};

constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
constexpr sf_count_t kChunkFrames = 4096;

}  // namespace

std::optional<WaveHeader> ProbeWave(const std::string& path, std::chrono::seconds max_length) {
    const SoundReader file(path);
    const SF_INFO& info = file.info();
    if (file.get() == nullptr || info.channels < 1 || info.samplerate < kMinRate ||
        info.samplerate > kMaxRate || info.frames < 0 ||
        info.frames > static_cast<sf_count_t>(max_length.count()) * info.samplerate) {
        return std::nullopt;
    }
    return WaveHeader{info.samplerate, info.channels, info.frames};
}

std::optional<std::vector<std::int16_t>> DecodeWave(const std::string& path, int to_rate,
                                                    const std::atomic<bool>& cancel,
                                                    std::chrono::seconds max_length) {
    const SoundReader file(path);
    const SF_INFO& info = file.info();
    if (file.get() == nullptr || info.channels < 1 || info.samplerate < kMinRate ||
        info.samplerate > kMaxRate || info.frames < 0 ||
        info.frames > static_cast<sf_count_t>(max_length.count()) * info.samplerate ||
        to_rate < kMinRate || to_rate > kMaxRate) {
        return std::nullopt;
    }
    const double ratio = static_cast<double>(to_rate) / info.samplerate;
    int error = 0;
    std::unique_ptr<SRC_STATE, SRC_STATE* (*)(SRC_STATE*)> converter(
        info.samplerate == to_rate ? nullptr : src_new(SRC_SINC_FASTEST, 1, &error), &src_delete);
    if (info.samplerate != to_rate && !converter) {
        return std::nullopt;
    }
    std::vector<std::int16_t> out;
    out.reserve(static_cast<std::size_t>(std::ceil(static_cast<double>(info.frames) * ratio)) + 64);
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames) * channels);
    std::vector<float> mono(static_cast<std::size_t>(kChunkFrames));
    std::vector<float> converted(static_cast<std::size_t>(kChunkFrames * ratio) + 64);
    sf_count_t read_total = 0;
    for (bool end = false; !end;) {
        if (cancel.load(std::memory_order_relaxed)) {
            return std::nullopt;
        }
        // A truncated file reports more frames than it holds: read until the data ends.
        const sf_count_t got = sf_readf_float(file.get(), chunk.data(), kChunkFrames);
        end = got <= 0;
        const auto n = static_cast<std::size_t>(end ? 0 : got);
        read_total += static_cast<sf_count_t>(n);
        if (read_total > info.frames) {
            return std::nullopt;
        }
        for (std::size_t f = 0; f < n; ++f) {
            float sum = 0;
            for (std::size_t c = 0; c < channels; ++c) {
                sum += chunk[f * channels + c];
            }
            mono[f] = channels == 1 ? sum : sum / static_cast<float>(channels);
        }
        if (!converter) {
            std::transform(mono.begin(), mono.begin() + static_cast<std::ptrdiff_t>(n),
                           std::back_inserter(out), [](float v) { return ToPcm16(v); });
            continue;
        }
        SRC_DATA data{};
        data.data_in = mono.data();
        data.input_frames = static_cast<long>(n);
        data.src_ratio = ratio;
        data.end_of_input = end ? 1 : 0;
        do {
            data.data_out = converted.data();
            data.output_frames = static_cast<long>(converted.size());
            if (src_process(converter.get(), &data) != 0) {
                return std::nullopt;
            }
            std::transform(converted.begin(),
                           converted.begin() + static_cast<std::ptrdiff_t>(data.output_frames_gen),
                           std::back_inserter(out), [](float v) { return ToPcm16(v); });
            data.data_in += data.input_frames_used;
            data.input_frames -= data.input_frames_used;
        } while (data.input_frames > 0 || (end && data.output_frames_gen > 0));
    }
    return out;
}

std::optional<WaveData> ReadWave(const std::string& path, std::chrono::seconds max_length) {
    const SoundReader file(path);
    const SF_INFO& info = file.info();
    if (file.get() == nullptr || info.channels < 1 || info.samplerate < kMinRate ||
        info.samplerate > kMaxRate || info.frames < 0) {
        return std::nullopt;
    }
    if (info.frames > static_cast<sf_count_t>(max_length.count()) * info.samplerate) {
        return std::nullopt;
    }
    WaveData wave;
    wave.rate = info.samplerate;
    wave.samples.reserve(static_cast<std::size_t>(info.frames));
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames) * channels);
    for (;;) {
        // A truncated file reports more frames than it holds: read until the data ends.
        const sf_count_t got = sf_readf_float(file.get(), chunk.data(), kChunkFrames);
        if (got <= 0) {
            break;
        }
        for (sf_count_t f = 0; f < got; ++f) {
            const float* frame = chunk.data() + static_cast<std::size_t>(f) * channels;
            float sum = 0;
            for (std::size_t c = 0; c < channels; ++c) {
                sum += frame[c];
            }
            wave.samples.push_back(sum / static_cast<float>(channels));
        }
        if (wave.samples.size() > static_cast<std::size_t>(info.frames)) {
            return std::nullopt;
        }
    }
    return wave;
}

std::vector<float> ConvertRate(const std::vector<float>& samples, int from_rate, int to_rate) {
    if (from_rate == to_rate || samples.empty() || from_rate <= 0 || to_rate <= 0) {
        return samples;
    }
    const double ratio = static_cast<double>(to_rate) / from_rate;
    std::vector<float> out(
        static_cast<std::size_t>(std::ceil(static_cast<double>(samples.size()) * ratio)) + 16);
    SRC_DATA data{};
    data.data_in = samples.data();
    data.input_frames = static_cast<long>(samples.size());
    data.data_out = out.data();
    data.output_frames = static_cast<long>(out.size());
    data.src_ratio = ratio;
    data.end_of_input = 1;
    if (src_simple(&data, SRC_SINC_FASTEST, 1) != 0) {
        return {};
    }
    out.resize(static_cast<std::size_t>(data.output_frames_gen));
    return out;
}

std::int16_t ToPcm16(float sample) {
    const long v = std::lround(static_cast<double>(sample) * 32768.0);
    return static_cast<std::int16_t>(std::clamp(v, -32768L, 32767L));
}

std::vector<std::int16_t> ToPcm16(const std::vector<float>& samples) {
    std::vector<std::int16_t> out(samples.size());
    std::transform(samples.begin(), samples.end(), out.begin(), [](float v) { return ToPcm16(v); });
    return out;
}

std::vector<float> ToFloat(const std::vector<std::int16_t>& samples) {
    std::vector<float> out(samples.size());
    std::transform(samples.begin(), samples.end(), out.begin(),
                   [](std::int16_t v) { return static_cast<float>(v) / 32768.0f; });
    return out;
}

bool WriteWave16(const std::string& path, const WaveData& wave) {
    return WriteWave16(path, ToPcm16(wave.samples), wave.rate);
}

bool WriteWave16(const std::string& path, const std::vector<std::int16_t>& samples, int rate) {
    if (rate < kMinRate || rate > kMaxRate) {
        return false;
    }
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    // The old file stays whole until the new one is complete on the disk.
    ReplacementFile out(path);
    if (!out.ok()) {
        return false;
    }
    SndfilePtr file(sf_open_fd(out.fd(), SFM_WRITE, &info, SF_FALSE));
    if (!file) {
        return false;
    }
    const auto frames = static_cast<sf_count_t>(samples.size());
    if (sf_writef_short(file.get(), samples.data(), frames) != frames) {
        return false;
    }
    return sf_close(file.release()) == 0 && out.Commit();
}

}  // namespace parlomat
