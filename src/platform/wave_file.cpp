#include "platform/wave_file.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

namespace parlomat {
namespace {

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
constexpr sf_count_t kChunkFrames = 4096;

}  // namespace

std::optional<WaveData> ReadWave(const std::string& path, std::chrono::seconds max_length) {
    SF_INFO info{};
    SndfilePtr file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file || info.channels < 1 || info.samplerate < kMinRate || info.samplerate > kMaxRate ||
        info.frames < 0) {
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
    std::vector<float> out(static_cast<std::size_t>(std::ceil(samples.size() * ratio)) + 16);
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

bool WriteWave16(const std::string& path, const WaveData& wave) {
    if (wave.rate < kMinRate || wave.rate > kMaxRate) {
        return false;
    }
    SF_INFO info{};
    info.samplerate = wave.rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SndfilePtr file(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!file) {
        return false;
    }
    std::vector<short> pcm(wave.samples.size());
    std::transform(wave.samples.begin(), wave.samples.end(), pcm.begin(), [](float s) {
        const long v = std::lround(static_cast<double>(s) * 32768.0);
        return static_cast<short>(std::clamp(v, -32768L, 32767L));
    });
    const auto frames = static_cast<sf_count_t>(pcm.size());
    if (sf_writef_short(file.get(), pcm.data(), frames) != frames) {
        return false;
    }
    return sf_close(file.release()) == 0;
}

}  // namespace parlomat
