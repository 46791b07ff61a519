#include "core/audio/sound_filter.h"

#include <gtest/gtest.h>

namespace parlomat {
namespace {

TEST(LoadFilter, WaveFirstThenEveryPlayableExtensionThenAll) {
    EXPECT_EQ(LoadFilter({}), "Wave (*.wav)|*.wav|All (*.*)|*.*");
    EXPECT_EQ(LoadFilter({"wav", "flac", "oga", "wav", "", "mp3"}),
              "Wave (*.wav)|*.wav|Sound files (*.wav *.flac *.oga *.mp3)|*.wav;*.flac;*.oga;*.mp3|"
              "All (*.*)|*.*");
}

}  // namespace
}  // namespace parlomat
