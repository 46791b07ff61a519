#include "platform/wave_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/audio/audio_test_support.h"
#include "platform/files/write_failures.h"

namespace parlomat {
namespace {

TEST(WaveFileTest, DecodedSamplesAre16BitAtTheAskedRate) {
    const auto dir = test::scratch_dir("wave_file_decode");
    const std::atomic<bool> go{false};

    // A 16-bit file at the stream's rate comes out sample for sample.
    const std::vector<short> message = test::message_samples(4801);
    ASSERT_TRUE(test::write_sound_file(dir / "same.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 48000, 1,
                                       message));
    const auto same = DecodeWave((dir / "same.wav").string(), 48000, go);
    ASSERT_TRUE(same);
    EXPECT_EQ(*same, std::vector<std::int16_t>(message.begin(), message.end()));

    // Two channels are averaged.
    ASSERT_TRUE(test::write_sound_file(
        dir / "stereo.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 48000, 2,
        std::vector<short>{1000, 3000, -32768, -32768, 32767, 32767, 10, -10}));
    const auto stereo = DecodeWave((dir / "stereo.wav").string(), 48000, go);
    ASSERT_TRUE(stereo);
    EXPECT_EQ(*stereo, (std::vector<std::int16_t>{2000, -32768, 32767, 0}));

    // Floats beyond full scale are clipped, the rest rounded to the nearest step.
    ASSERT_TRUE(test::write_sound_file(
        dir / "float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 1,
        std::vector<float>{1.5f, -1.5f, 1.0f, 0.5f, 100.4f / 32768, -100.6f / 32768}));
    const auto floats = DecodeWave((dir / "float.wav").string(), 48000, go);
    ASSERT_TRUE(floats);
    EXPECT_EQ(*floats, (std::vector<std::int16_t>{32767, -32768, 32767, 16384, 100, -101}));

    // Another rate is converted: the length scales, a steady level stays where it was.
    ASSERT_TRUE(test::write_sound_file(dir / "44k.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 1,
                                       std::vector<short>(44100, 8000)));
    const auto converted = DecodeWave((dir / "44k.wav").string(), 48000, go);
    ASSERT_TRUE(converted);
    EXPECT_NEAR(static_cast<double>(converted->size()), 48000.0, 48.0);
    EXPECT_NEAR((*converted)[converted->size() / 2], 8000, 8);

    const std::atomic<bool> cancelled{true};
    EXPECT_FALSE(DecodeWave((dir / "same.wav").string(), 48000, cancelled));
}

std::string bytes_of(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(WaveFileTest, SavesWriteSamplesUnchangedAndAFailedOneLeavesTheOldFileWhole) {
    const std::vector<std::int16_t> old_take = {0, 1, -1, 32767, -32768, 12345};
    const std::vector<std::int16_t> new_take(48000, -2000);  // beyond the full disk's room
    for (const auto failure :
         {test::WriteFailure::ReadOnlyDirectory, test::WriteFailure::FullDisk}) {
        SCOPED_TRACE(test::Name(failure));
        const auto dir = test::scratch_dir("wave_file_failed_save");
        const std::string path = (dir / "msg.wav").string();
        ASSERT_TRUE(WriteWave16(path, old_take, 22050));
        const std::optional<WaveData> back = ReadWave(path);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->rate, 22050);
        EXPECT_EQ(ToPcm16(back->samples), old_take);
        EXPECT_FALSE(WriteWave16((dir / "bad.wav").string(), old_take, 0));
        const std::string before = bytes_of(path);
        const auto saved =
            test::WriteUnder(failure, dir, [&] { return WriteWave16(path, new_take, 48000); });
        ASSERT_TRUE(saved.has_value());
        EXPECT_FALSE(*saved);
        EXPECT_EQ(bytes_of(path), before);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                                std::filesystem::directory_iterator()),
                  1)
            << "a temporary file was left behind";
    }
}

}  // namespace
}  // namespace parlomat
