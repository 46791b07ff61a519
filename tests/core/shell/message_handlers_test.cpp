#include <gtest/gtest.h>

#include "core/keyer/sim_station.h"
#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

TEST(RunRecorder, ARecorderThatDoesNotStartSaysWhereToMendIt) {
    for (const std::string recorder : {"/no/such/recorder -r", "\"/bin/true"}) {
        test::TempDir dir;
        const std::string station = dir.path().string();
        test::WriteBytes(dir.file("parlomat.ini"), "[Preference]\nRecorder=" + recorder + "\n");
        SimStation sim(station, {});
        test::Started(sim);
        sim.take_log();
        sim.keyer().cmdRecord_Click();
        const std::string shown = recorder[0] == '"' ? "\\" + recorder : recorder;
        EXPECT_EQ(sim.take_log(),
                  "      10 msgbox critical \"Parlomat\" \"An error occured while attempting to "
                  "start " +
                      shown +
                      ".  The path or filename may be incorrect.  Corrections to "
                      "either may be made in the Parlomat.ini file.  This file is located in the " +
                      station + " subdirectory.\" ok -> ok\n");
        EXPECT_EQ(sim.keyer().state().slots[0].name, "") << recorder;
        EXPECT_FALSE(sim.keyer().fields().MsgLoaded[0]) << recorder;
    }
}

}  // namespace
}  // namespace parlomat
