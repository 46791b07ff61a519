#pragma once

#include <dlfcn.h>
#include <sndfile.h>
#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <type_traits>
#include <vector>

#include "core/settings/temp_dir.h"
#include "platform/event_wait.h"

namespace parlomat::test {

/// One QCoreApplication per process. ALSA's plugins, unloaded when PortAudio closes, would leave
/// unnamed modules in LeakSanitizer's report; pinned, they keep names tests/lsan.supp can match.
inline QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "platform_audio_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    static const bool pinned = [] {
        Dl_info info{};
        void* symbol = dlsym(RTLD_DEFAULT, "snd_pcm_open");
        if (symbol == nullptr || dladdr(symbol, &info) == 0 || info.dli_fname == nullptr) {
            return false;
        }
        std::error_code error;
        const auto dir = std::filesystem::path(info.dli_fname).parent_path() / "alsa-lib";
        for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
            if (entry.path().extension() == ".so") {
                dlopen(entry.path().c_str(), RTLD_LAZY | RTLD_NODELETE);
            }
        }
        return true;
    }();
    (void)pinned;
    return instance;
}

/// Writes interleaved `short` or `float` samples of `channels` channels in `format`.
template <class Sample>
bool write_sound_file(const std::filesystem::path& path, int format, int rate, int channels,
                      const std::vector<Sample>& interleaved) {
    SF_INFO info{0, rate, channels, format, 0, 0};
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    const sf_count_t frames = static_cast<sf_count_t>(interleaved.size()) / channels;
    if (f == nullptr) {
        return false;
    }
    sf_count_t written = 0;
    if constexpr (std::is_same_v<Sample, float>) {
        written = sf_writef_float(f, interleaved.data(), frames);
    } else {
        written = sf_writef_short(f, interleaved.data(), frames);
    }
    return sf_close(f) == 0 && written == frames;
}

/// Noise with no zero sample, so a message's ends can be found in a recording of silence.
inline std::vector<short> message_samples(std::size_t frames) {
    std::vector<short> s(frames);
    std::uint32_t x = 12345;
    for (short& v : s) {
        x = x * 1664525u + 1013904223u;
        v = static_cast<short>((static_cast<int>((x >> 16) % 20001) - 10000) | 1);
    }
    return s;
}

inline short to_pcm16(float v) {
    return static_cast<short>(
        std::clamp(std::lround(static_cast<double>(v) * 32768.0), -32768L, 32767L));
}

}  // namespace parlomat::test
