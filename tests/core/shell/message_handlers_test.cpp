#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/keyer/sim_station.h"
#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

/// Writes the station's settings into a folder "station" inside `dir`; returns that folder.
std::string MakeStation(const test::TempDir& dir, const std::string& ini) {
    std::filesystem::create_directory(dir.file("station"));
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
        {"/no/such/recorder -r", failure("/no/such/recorder -r")},
        {"\"/bin/true\" x", "      10 launch \"\\\"/bin/true\\\" x\"\n"},
        {"\"/bin/true", failure("\\\"/bin/true")},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        SimStation station(
            MakeStation(dir, "[Preference]\nRecorder=" + std::string(c.recorder) + "\n"), {});
        test::Started(station);
        station.take_log();
        station.keyer().cmdRecord_Click();
        EXPECT_EQ(station.take_log(), Replaced(c.trace, "<station>", dir.file("station")))
            << c.recorder;
        EXPECT_EQ(station.keyer().state().slots[0].name, "") << c.recorder;
        EXPECT_FALSE(station.keyer().fields().MsgLoaded[0]) << c.recorder;
    }
}

}  // namespace
}  // namespace parlomat
