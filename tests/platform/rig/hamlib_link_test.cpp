#include "platform/hamlib_link.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <mutex>
#include <string>
#include <string_view>

#include "core/keyer/sim_station.h"
#include "core/settings/temp_dir.h"
#include "platform/rig/rigctld_process.h"

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"  // settings name only what is used

namespace parlomat::test {
namespace {

using std::chrono::milliseconds;

void App() {
    static int argc = 1;
    static char name[] = "platform_rig_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

TEST(HamlibLink, InstallationCheckIsAModelThisHamlibKnows) {
    for (const auto& [model, installed] : {std::pair{0, false}, {1, true}, {99999999, false}}) {
        App();
        HamlibLink link(RigSettings{.Model = model}, milliseconds{50});
        EXPECT_EQ(link.IsFileInstalled("ftlink.exe"), installed) << "model " << model;
    }
}

std::mutex link_log_mutex;
std::string link_log;  // the station log's "parlomat.link" lines, from any thread

void KeepLinkLine(QtMsgType, const QMessageLogContext& context, const QString& text) {
    if (std::string_view(context.category) == "parlomat.link") {
        const std::lock_guard lock(link_log_mutex);
        link_log += text.toStdString() + "\n";
    }
}

class RigctldLink : public ::testing::Test {
  protected:
    void SetUp() override {
        App();
        ASSERT_TRUE(rigctld_.start()) << "rigctld did not start";
    }
    Rigctld rigctld_{FreePort()};
};

TEST_F(RigctldLink, KeysTestsAndFailsWithoutBlockingRecoversAndLogsIt) {
    const QtMessageHandler previous = qInstallMessageHandler(KeepLinkLine);
    HamlibLink link(RigSettings{.Model = 2, .Port = rigctld_.address()}, milliseconds{30});
    auto monitor = link.GetMonitor();
    ASSERT_TRUE(monitor) << link.OpenError();
    EXPECT_EQ(monitor->MonitorStatus(), MonitorState::Running);
    int failures = 0;
    monitor->set_failure_handler([&] { ++failures; });
    monitor->SetPTT(true);
    EXPECT_TRUE(WaitFor([&] { return rigctld_.rigctl({"t"}) == "1"; }));
    monitor->SetPTT(false);
    EXPECT_TRUE(WaitFor([&] { return monitor->TransmitState() == LinkTransmit::NotTransmitting; }));
    // The test answers from a link of its own and does not key the shared radio.
    std::string answer;
    link.Test(RigSettings{.Model = 2, .Port = rigctld_.address()},
              [&](const std::string& text) { answer = text; });
    EXPECT_TRUE(WaitFor([&] { return answer == "OK: Hamlib NET rigctl, PTT reads off"; }))
        << answer;
    EXPECT_EQ(rigctld_.rigctl({"t"}), "0");
    EXPECT_EQ(failures, 0);

    // A frozen rigctld holds the worker inside Hamlib: the keyer's calls still return at once.
    rigctld_.pause();
    EXPECT_TRUE(monitor->SetPTT(true));
    EXPECT_TRUE(monitor->SetPTT(false));
    EXPECT_EQ(monitor->TransmitState(), std::nullopt) << "no read can follow the commands yet";

    rigctld_.kill();
    EXPECT_TRUE(WaitFor([&] { return failures >= 1; }));
    EXPECT_TRUE(monitor->SetPTT(true));
    EXPECT_TRUE(WaitFor([&] { return failures >= 2; })) << "a key with the radio gone fails";
    EXPECT_EQ(monitor->TransmitState(), std::nullopt);

    // Back again: the link reopens by itself, unkeys (the last request) and keys on request.
    ASSERT_TRUE(rigctld_.start());
    EXPECT_TRUE(WaitFor([&] { return monitor->TransmitState().has_value(); }));
    monitor->SetPTT(true);
    EXPECT_TRUE(WaitFor([&] { return rigctld_.rigctl({"t"}) == "1"; }));
    monitor->SetPTT(false);
    EXPECT_TRUE(WaitFor([&] { return monitor->TransmitState() == LinkTransmit::NotTransmitting; }));

    // The station log tells the story, in order, naming the rig and Hamlib's error.
    qInstallMessageHandler(previous);
    const std::lock_guard lock(link_log_mutex);
    std::size_t at = 0;
    for (const std::string event :
         {" open", " lost: ", " did not reopen (", ": PTT on failed: ", " back"}) {
        at = link_log.find("Hamlib NET rigctl on " + rigctld_.address() + event, at);
        EXPECT_NE(at, std::string::npos) << event << " in\n" << link_log;
    }
}

TEST(HamlibLink, KeyerWarnsOfARigThatDoesNotOpenAndKeysByTheSerialPort) {
    App();
    const std::string address = "127.0.0.1:" + std::to_string(FreePort());
    TempDir dir;
    HamlibLink link(RigSettings{.Model = 2, .Port = address}, milliseconds{20});
    SimStation sim(dir.path().string(), LocalTime{});
    const Keyer& keyer = Started(sim, {.link = &link}).keyer();
    const std::string log = sim.log();
    const auto box = log.find(
        "msgbox exclamation \"Rig Not Available\" \"Parlomat could "
        "not open Hamlib: Hamlib NET rigctl.\\n\\nPort " +
        address + ": ");
    EXPECT_NE(box, std::string::npos) << log;
    EXPECT_NE(log.find("port open", box), std::string::npos) << log;
    EXPECT_FALSE(keyer.fields().FTLinkActive);
}

}  // namespace
}  // namespace parlomat::test
