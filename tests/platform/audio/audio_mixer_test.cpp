#include "platform/audio_mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

namespace parlomat {
namespace {

constexpr double kRate = 1000.0;  // one frame per millisecond keeps the DAC arithmetic readable

/// Renders `frames` frames in buffers of `period` frames, the first reaching the DAC at 10 s.
std::vector<float> render_all(AudioMixer& mixer, std::size_t frames, std::size_t period,
                              int channels = 1) {
    std::vector<float> out(frames * static_cast<std::size_t>(channels));
    for (std::size_t at = 0; at < frames; at += period) {
        mixer.render(out.data() + at * static_cast<std::size_t>(channels),
                     std::min(period, frames - at), channels,
                     10.0 + static_cast<double>(at) / kRate);
    }
    return out;
}

/// Samples over the whole 16-bit range, full scale at both ends included.
std::vector<std::int16_t> ramp(std::size_t n) {
    std::vector<std::int16_t> v(n);
    for (std::size_t i = 0; i < n; ++i) {
        const int step = 331 * static_cast<int>(i);
        v[i] = static_cast<std::int16_t>(i % 2 == 0 ? 32767 - step : -32768 + step);
    }
    return v;
}

float as_float(std::int16_t sample) {
    return static_cast<float>(sample) / 32768.0f;
}

TEST(AudioMixerTest, APlayComesOutWholeFromTheFirstFrameAtOrAfterItsDueTime) {
    // At once: ending on a buffer boundary, inside one, shorter than one, empty. Due: a fraction
    // of a frame rounds up, never down; on a boundary; buffers ahead; already past.
    const struct {
        std::size_t samples, period;
        double start_dac;   ///< s; 0: at once
        std::size_t first;  ///< the frame that carries the first sample
    } cases[] = {{100, 10, 0, 0},      {105, 10, 0, 0},       {7, 64, 0, 0},
                 {1, 1, 0, 0},         {0, 16, 0, 0},         {30, 20, 10.0235, 24},
                 {30, 20, 10.040, 40}, {30, 20, 10.137, 137}, {30, 20, 9.5, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.samples << " samples, period " << c.period << ", due " << c.start_dac);
        AudioMixer mixer(kRate);
        const std::vector<std::int16_t> message = ramp(c.samples);
        ASSERT_TRUE(mixer.play(3, message.data(), message.size(), 7, c.start_dac));
        const std::vector<float> out = render_all(mixer, 300, c.period);
        for (std::size_t i = 0; i < out.size(); ++i) {
            const bool inside = i >= c.first && i < c.first + message.size();
            ASSERT_EQ(out[i], inside ? as_float(message[i - c.first]) : 0.0f) << "frame " << i;
        }
        const AudioMixer::PlayReport r = mixer.report(3, 7);
        const double first_dac = 10.0 + static_cast<double>(c.first) / kRate;
        EXPECT_TRUE(r.started && r.finished);
        EXPECT_NEAR(r.first_dac, first_dac, 1e-9);
        EXPECT_NEAR(r.end_dac, first_dac + static_cast<double>(c.samples) / kRate, 1e-9);
        EXPECT_FALSE(mixer.report(3, 8).started);
        EXPECT_FALSE(mixer.report(2, 7).started);
    }
}

TEST(AudioMixerTest, VoicesMixClipAndFillEveryChannelReplayRestartsStopSilencesBadOnesRefused) {
    AudioMixer mixer(kRate);
    const std::vector<std::int16_t> a(4, 8192);          // 0.25
    const std::vector<std::int16_t> b = {29491, -8192};  // 0.9, -0.25
    ASSERT_TRUE(mixer.play(0, a.data(), a.size(), 1));
    ASSERT_TRUE(mixer.play(5, b.data(), b.size(), 1));
    EXPECT_FALSE(mixer.play(6, a.data(), a.size(), 1) || mixer.play(-1, a.data(), a.size(), 1));
    EXPECT_FALSE(mixer.play(1, a.data(), a.size(), 0) || mixer.stop(6));  // no voice 6, no play 0
    EXPECT_EQ(render_all(mixer, 5, 5, 2),
              (std::vector<float>{1.0f, 1.0f, 0, 0, 0.25f, 0.25f, 0.25f, 0.25f, 0, 0}));
    EXPECT_FLOAT_EQ(mixer.level(0).rms, 0.25f);  // of the samples that sounded
    EXPECT_FLOAT_EQ(mixer.level(5).peak, as_float(29491));
    EXPECT_FLOAT_EQ(mixer.level(5).rms,
                    std::sqrt((as_float(29491) * as_float(29491) + 0.0625f) / 2));

    const std::vector<std::int16_t> message = ramp(50);
    ASSERT_TRUE(mixer.play(2, message.data(), message.size(), 1));
    EXPECT_EQ(render_all(mixer, 20, 20)[19], as_float(message[19]));
    ASSERT_TRUE(mixer.play(2, message.data(), message.size(), 2));
    EXPECT_EQ(render_all(mixer, 10, 10)[0], as_float(message[0]));
    EXPECT_TRUE(mixer.report(2, 2).started);
    EXPECT_FALSE(mixer.report(2, 1).finished);
    ASSERT_TRUE(mixer.stop(2));
    const std::vector<float> out = render_all(mixer, 100, 10);
    EXPECT_EQ(mixer.processed(), mixer.sent());
    EXPECT_EQ(std::accumulate(out.begin(), out.end(), 0.0f), 0.0f);
    EXPECT_FALSE(mixer.report(2, 2).finished);
}

TEST(AudioRingTest, KeepsOrderAcrossTheWrapAndNeverOverfills) {
    AudioRing<int> ring(5);
    ASSERT_EQ(ring.capacity(), 8u);
    int next_in = 0;
    int next_out = 0;
    for (int round = 0; round < 10; ++round) {
        std::vector<int> in(6);
        std::iota(in.begin(), in.end(), next_in);
        next_in += static_cast<int>(ring.push(in.data(), in.size()));
        int got[3];
        const std::size_t popped = ring.pop(got, 3);
        for (std::size_t k = 0; k < popped; ++k) {
            ASSERT_EQ(got[k], next_out++);
        }
        ASSERT_LE(next_in - next_out, 8);
    }
    EXPECT_EQ(next_in, 6 + 5 + 8 * 3);  // 6 + 5 until full, then only the 3 freed by each pop
    int v = 0;
    while (ring.pop(v)) {
        ASSERT_EQ(v, next_out++);
    }
    EXPECT_EQ(next_out, next_in);
}

}  // namespace
}  // namespace parlomat
