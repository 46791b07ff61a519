#include "core/audio/sound_filter.h"

#include <gtest/gtest.h>

namespace parlomat {
namespace {

TEST(LoadFilter, WaveFirstThenEveryPlayableExtensionThenAll) {
    const struct {
        std::vector<std::string> playable;
        const char* filter;
    } cases[] = {
        {{}, "Wave (*.wav)|*.wav|All (*.*)|*.*"},
        {{"wav", "flac", "oga", "wav", "", "mp3"},
         "Wave (*.wav)|*.wav|Sound files (*.wav *.flac *.oga *.mp3)|*.wav;*.flac;*.oga;*.mp3|"
         "All (*.*)|*.*"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadFilter(c.playable), c.filter);
    }
}

}  // namespace
}  // namespace parlomat
