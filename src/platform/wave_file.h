#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace parlomat {

/// Mono audio in memory: samples in -1..1 at `rate` frames per second.
struct WaveData {
    std::vector<float> samples;
    int rate = 0;
};

/// Longest file a channel opens. Longer files are refused before any sample is decoded, so an
/// open never holds the UI thread long (a 10-minute file decodes and converts in well under
/// the 50 ms the UI may be held; an hour would take seconds and hundreds of megabytes).
inline constexpr std::chrono::seconds kMaxWaveLength{600};

/// Decodes the whole sound file at `path` (any format libsndfile reads; several channels are
/// averaged into one). Nothing when it does not open, holds no audio format libsndfile knows,
/// has an unusable rate or is longer than `max_length`.
std::optional<WaveData> ReadWave(const std::string& path,
                                 std::chrono::seconds max_length = kMaxWaveLength);

/// `samples` at `from_rate` converted to `to_rate` (a copy when the rates are equal).
std::vector<float> ConvertRate(const std::vector<float>& samples, int from_rate, int to_rate);

/// Writes `wave` as a 16-bit PCM mono WAV file, replacing `path`. Samples are rounded to the
/// nearest 16-bit value, so what was read from a 16-bit file is written back unchanged.
bool WriteWave16(const std::string& path, const WaveData& wave);

}  // namespace parlomat
