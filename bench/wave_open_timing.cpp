// What opening a wave file costs: the header check OpenChannel does on the UI thread, and the
// whole decode with conversion to the 48 kHz stream rate that its worker thread does, per file
// kind and length. Usage: wave_open_timing [repeats=3]

#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/wave_file.h"

namespace {

struct Kind {
    const char* name;
    int format;
    int rate;
    int channels;
};

bool write_file(const std::string& path, const Kind& kind, int seconds) {
    SF_INFO info{};
    info.samplerate = kind.rate;
    info.channels = kind.channels;
    info.format = kind.format;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (f == nullptr) {
        return false;
    }
    std::vector<short> block(static_cast<std::size_t>(kind.rate * kind.channels));
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<short>(8000 * std::sin(0.03 * static_cast<double>(i)));
    }
    bool ok = true;
    for (int s = 0; s < seconds && ok; ++s) {
        ok = sf_writef_short(f, block.data(), kind.rate) == kind.rate;
    }
    return sf_close(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    using parlomat::bench::now_s;
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 3;
    const Kind kinds[] = {
        {"48 kHz 16-bit mono", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 48000, 1},
        {"44.1 kHz 16-bit stereo", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2},
        {"8 kHz 8-bit mono", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 8000, 1},
        {"96 kHz 16-bit stereo", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 96000, 2},
    };
    const int lengths[] = {10, 60, 300, 3600};
    const auto dir = std::filesystem::temp_directory_path() / "parlomat_wave_open_timing";
    std::filesystem::create_directories(dir);
    std::printf("%-24s %8s %14s %14s %16s\n", "file", "length s", "UI thread ms", "worker best ms",
                "worker worst ms");
    for (const Kind& kind : kinds) {
        for (const int seconds : lengths) {
            const std::string path = (dir / "f.wav").string();
            if (!write_file(path, kind, seconds)) {
                return 1;
            }
            double probe = 0;
            double best = 1e9;
            double worst = 0;
            bool refused = false;
            for (int r = 0; r < repeats; ++r) {
                const double start = now_s();
                refused = !parlomat::ProbeWave(path);
                probe = std::max(probe, now_s() - start);
                if (refused) {
                    continue;
                }
                const std::atomic<bool> cancel{false};
                const double decode_start = now_s();
                if (!parlomat::DecodeWave(path, 48000, cancel)) {
                    return 1;
                }
                const double took = now_s() - decode_start;
                best = std::min(best, took);
                worst = std::max(worst, took);
            }
            if (refused) {
                std::printf("%-24s %8d %14.2f %31s\n", kind.name, seconds, probe * 1e3,
                            "refused (longer than 5 min)");
                continue;
            }
            std::printf("%-24s %8d %14.2f %14.1f %16.1f\n", kind.name, seconds, probe * 1e3,
                        best * 1e3, worst * 1e3);
        }
    }
    std::filesystem::remove_all(dir);
    return 0;
}
