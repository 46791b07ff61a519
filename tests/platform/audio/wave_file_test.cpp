#include "platform/wave_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/audio/audio_test_support.h"

namespace parlomat {
namespace {

TEST(WaveFileTest, DecodedSamplesAre16BitMonoAtTheAskedRateAndADecodeCanBeCancelled) {
    const test::TempDir temp;
    const auto& dir = temp.path();
    const auto decode = [&](const char* name, int format, int rate, int channels, auto samples) {
        const std::string path = (dir / name).string();
        EXPECT_TRUE(test::write_sound_file(path, SF_FORMAT_WAV | format, rate, channels, samples));
        const std::atomic<bool> go{false};
        return DecodeWave(path, 48000, go).value_or(std::vector<std::int16_t>{});
    };
    EXPECT_EQ(decode("stereo.wav", SF_FORMAT_PCM_16, 48000, 2,  // channels averaged
                     std::vector<short>{1000, 3000, -32768, -32768, 32767, 32767, 10, -10}),
              (std::vector<std::int16_t>{2000, -32768, 32767, 0}));
    EXPECT_EQ(decode("float.wav", SF_FORMAT_FLOAT, 48000, 1,  // clipped, rounded to the nearest
                     std::vector<float>{1.5f, -1.5f, 1.0f, 0.5f, 100.4f / 32768, -100.6f / 32768}),
              (std::vector<std::int16_t>{32767, -32768, 32767, 16384, 100, -101}));
    const std::atomic<bool> cancelled{true};
    EXPECT_FALSE(DecodeWave((dir / "float.wav").string(), 48000, cancelled));
}

}  // namespace
}  // namespace parlomat
