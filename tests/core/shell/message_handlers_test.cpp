#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/keyer/sim_station.h"
#include "core/settings/temp_dir.h"
#include "sim/sim_channels.h"

namespace parlomat {
namespace {

/// Writes the station's files into a folder of its own inside `dir`, so that files can lie
/// beside it, and returns that folder.
std::string MakeStation(const test::TempDir& dir, const std::string& ini,
                        const std::vector<std::string>& waves = {}) {
    std::filesystem::create_directory(dir.file("station"));
    for (const auto& wave : waves) {
        std::filesystem::create_directories(std::filesystem::path(dir.file(wave)).parent_path());
        SimChannels::WriteSilence(dir.file(wave), 100);
    }
    test::WriteBytes(dir.file("station/parlomat.ini"), ini);
    return dir.file("station");
}

/// `text` with every `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

TEST(RunRecorder, StartsTheRecorderOrSaysWhereToMendIt) {
    struct Case {
        const char* recorder;
        std::string trace;
    };
    const std::string failed =
        "      10 msgbox critical \"Parlomat\" \"An error occured while attempting to start %.  "
        "The path or filename may be incorrect.  Corrections to either may be made in the "
        "Parlomat.ini file.  This file is located in the <station> subdirectory.\" ok -> ok\n";
    const auto failure = [&failed](const std::string& recorder) {
        std::string text = failed;
        return text.replace(text.find('%'), 1, recorder);
    };
    const std::vector<Case> cases = {
        {"/bin/true --rate 8000", "      10 launch \"/bin/true --rate 8000\"\n"},
        {"/no/such/recorder -r", failure("/no/such/recorder -r")},
        {"\"/bin/true\" x", "      10 launch \"\\\"/bin/true\\\" x\"\n"},
        {"\"/bin/true", failure("\\\"/bin/true")},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        test::SimStation station(
            MakeStation(dir, "[Preference]\nRecorder=" + std::string(c.recorder) + "\n"), {});
        station.take_log();
        station.keyer.cmdRecord_Click();
        EXPECT_EQ(station.take_log(), Replaced(c.trace, "<station>", dir.file("station")))
            << c.recorder;
        EXPECT_EQ(station.keyer.state().slots[0].name, "") << c.recorder;
        EXPECT_FALSE(station.keyer.fields().MsgLoaded[0]) << c.recorder;
    }
}

// A name that is not found there keeps its name, greyed, and is not loaded.
TEST(ReadMsgConfig, LooksForNamesOnlyUnderTheStationDirectory) {
    struct Case {
        std::string name;
        bool opened;
    };
    const std::vector<std::string> waves = {"station/cq.wav", "station/sub/id.wav", "outside.wav"};
    const std::vector<Case> cases = {
        {"cq.wav", true},          {"sub/id.wav", true},         {"gone.wav", false},
        {"../outside.wav", false}, {"<dir>/outside.wav", false}, {"<dir>/station/cq.wav", false},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        const std::string name = Replaced(c.name, "<dir>", dir.path().string());
        test::SimStation station(
            MakeStation(dir, "[MSG Config]\nMSG2=" + name + "\nDelay2=7\n", waves), {});
        const auto& slot = station.keyer.state().slots[1];
        EXPECT_EQ(slot.name, name) << name;
        EXPECT_EQ(slot.unplayable, c.opened ? "" : "not found in the station directory") << name;
        EXPECT_EQ(slot.delay, "7") << name;
        EXPECT_EQ(station.keyer.fields().MsgLoaded[1], c.opened) << name;
        EXPECT_EQ(station.channels.ChannelMode(1), c.opened ? mode::kStopped : mode::kNotOpen)
            << name;
    }
}

}  // namespace
}  // namespace parlomat
