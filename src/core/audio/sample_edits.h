#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace parlomat {

/// Trim: samples quieter than this are silence (-45 dBFS).
inline constexpr float kTrimThresholdDbfs = -45.0f;
/// Trim keeps this much of the silence before the first and after the last loud sample.
inline constexpr int kTrimKeepMs = 100;
/// Normalize brings the loudest sample to this level (-1 dBFS).
inline constexpr float kNormalizePeakDbfs = -1.0f;

/// The part of a message that Trim keeps: [begin, end) sample indices.
struct SampleRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool operator==(const SampleRange&) const = default;
};

/// From 100 ms before the first sample at or above -45 dBFS to 100 ms after the last one,
/// limited to the message; an empty range when every sample is quieter. `rate` in Hz.
SampleRange TrimRange(const std::vector<float>& samples, int rate);

/// `samples` cut to TrimRange.
std::vector<float> Trim(const std::vector<float>& samples, int rate);

/// `samples` scaled so that the largest magnitude is -1 dBFS; silence stays silence.
std::vector<float> Normalize(const std::vector<float>& samples);

/// The operator's edits of a message's samples.
enum class SampleEdit { Trim, Normalize };

/// `samples` (at `rate` Hz) after `edit`, or nothing when the edit is refused or would change
/// nothing: a Trim of a message with no sound at all (it would leave an empty message) or with
/// no silence to cut, a Normalize of silence or of a message already at -1 dBFS
/// (within one 16-bit step).
std::optional<std::vector<float>> ApplyEdit(SampleEdit edit, const std::vector<float>& samples,
                                            int rate);

}  // namespace parlomat
