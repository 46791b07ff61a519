#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/audio/open_failure.h"

namespace parlomat {

/// Mono audio in memory: samples in -1..1 at `rate` frames per second.
struct WaveData {
    std::vector<float> samples;
    int rate = 0;
};

/// Longest file a channel opens (five minutes, more than twice the longest Sked transmit
/// segment). Longer files are refused from their header, before anything is decoded: an hour
/// would need close to a gigabyte at the stream's rate.
inline constexpr std::chrono::seconds kMaxWaveLength{kMaxMessageLength};

/// What a sound file's header says.
struct WaveHeader {
    int rate = 0;
    int channels = 0;
    std::int64_t frames = 0;
};

/// Every reader below opens only a regular file: a FIFO, a device or a directory is refused at
/// once as a file that does not open.

/// Reads only the header of the sound file at `path`: nothing when it does not open, holds no
/// format libsndfile knows, has an unusable rate or is longer than `max_length`. Fast enough
/// for the UI thread.
std::optional<WaveHeader> ProbeWave(const std::string& path,
                                    std::chrono::seconds max_length = kMaxWaveLength);

/// Decodes the whole file and converts it to mono 16-bit samples at `to_rate` (half the memory
/// of floats; a 16-bit file at that rate comes out unchanged). Stops early, returning nothing,
/// once `cancel` turns true. Meant for a worker thread: it may take a second or more.
std::optional<std::vector<std::int16_t>> DecodeWave(
    const std::string& path, int to_rate, const std::atomic<bool>& cancel,
    std::chrono::seconds max_length = kMaxWaveLength);

/// Decodes the whole sound file at `path` (any format libsndfile reads; several channels are
/// averaged into one). Nothing when it does not open, holds no audio format libsndfile knows,
/// has an unusable rate or is longer than `max_length`.
std::optional<WaveData> ReadWave(const std::string& path,
                                 std::chrono::seconds max_length = kMaxWaveLength);

/// `samples` at `from_rate` converted to `to_rate` (a copy when the rates are equal).
std::vector<float> ConvertRate(const std::vector<float>& samples, int from_rate, int to_rate);

/// A sample in -1..1 rounded to the nearest 16-bit value (clipped at full scale).
std::int16_t ToPcm16(float sample);
std::vector<std::int16_t> ToPcm16(const std::vector<float>& samples);
/// 16-bit samples as floats in -1..1 (exact: k / 32768).
std::vector<float> ToFloat(const std::vector<std::int16_t>& samples);

/// Writes `wave` as a 16-bit PCM mono WAV file, replacing `path`. Samples are rounded to the
/// nearest 16-bit value, so what was read from a 16-bit file is written back unchanged. The new
/// file is written beside `path`, flushed to the disk and renamed over it: on false (a
/// read-only directory, a full disk, an I/O error) the old file is whole and nothing is left.
bool WriteWave16(const std::string& path, const WaveData& wave);
/// Writes 16-bit mono `samples` at `rate` as a WAV file, replacing `path` the same way.
bool WriteWave16(const std::string& path, const std::vector<std::int16_t>& samples, int rate);

}  // namespace parlomat
