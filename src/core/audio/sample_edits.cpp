#include "core/audio/sample_edits.h"

#include <algorithm>
#include <cmath>

namespace parlomat {
namespace {

float Amplitude(float dbfs) {
    return std::pow(10.0f, dbfs / 20.0f);
}

}  // namespace

SampleRange TrimRange(const std::vector<float>& samples, int rate) {
    const float threshold = Amplitude(kTrimThresholdDbfs);
    const auto loud = [threshold](float s) { return std::fabs(s) >= threshold; };
    const auto first = std::ranges::find_if(samples, loud);
    if (first == samples.end()) {
        return {};
    }
    const auto last = std::ranges::find_if(samples.rbegin(), samples.rend(), loud);
    const std::size_t keep = static_cast<std::size_t>(std::max(rate, 0)) * kTrimKeepMs / 1000;
    const auto begin = static_cast<std::size_t>(first - samples.begin());
    const auto end = static_cast<std::size_t>(samples.rend() - last);  // one past the last loud
    return {begin > keep ? begin - keep : 0, std::min(end + keep, samples.size())};
}

std::vector<float> Trim(const std::vector<float>& samples, int rate) {
    const SampleRange range = TrimRange(samples, rate);
    return {samples.begin() + static_cast<std::ptrdiff_t>(range.begin),
            samples.begin() + static_cast<std::ptrdiff_t>(range.end)};
}

std::vector<float> Normalize(const std::vector<float>& samples) {
    float peak = 0.0f;
    for (const float s : samples) {
        peak = std::max(peak, std::fabs(s));
    }
    if (peak == 0.0f || !std::isfinite(peak)) {
        return samples;
    }
    const float gain = Amplitude(kNormalizePeakDbfs) / peak;
    std::vector<float> out(samples.size());
    std::ranges::transform(samples, out.begin(), [gain](float s) { return s * gain; });
    return out;
}

std::optional<std::vector<float>> ApplyEdit(SampleEdit edit, const std::vector<float>& samples,
                                            int rate) {
    if (edit == SampleEdit::Trim) {
        const SampleRange range = TrimRange(samples, rate);
        if (range.begin == range.end || range == SampleRange{0, samples.size()}) {
            return std::nullopt;
        }
        return Trim(samples, rate);
    }
    float peak = 0.0f;
    for (const float s : samples) {
        peak = std::max(peak, std::fabs(s));
    }
    // Within one 16-bit step of the target the message is normalized already: a second
    // Normalize of a saved message must not count as an edit.
    constexpr float kStep = 1.0f / 32768.0f;
    if (peak == 0.0f || !std::isfinite(peak) ||
        std::fabs(peak - Amplitude(kNormalizePeakDbfs)) <= kStep) {
        return std::nullopt;
    }
    return Normalize(samples);
}

}  // namespace parlomat
