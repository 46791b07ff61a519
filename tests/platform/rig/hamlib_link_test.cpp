#include "platform/hamlib_link.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "core/keyer/sim_station.h"
#include "core/settings/temp_dir.h"
#include "platform/rig/rigctld_process.h"

namespace parlomat::test {
namespace {

using std::chrono::milliseconds;

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "platform_rig_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

std::mutex link_log_mutex;
std::string link_log;  // the station log's "parlomat.link" lines, from any thread

void KeepLinkLine(QtMsgType, const QMessageLogContext& context, const QString& text) {
    if (std::string_view(context.category) == "parlomat.link") {
        const std::lock_guard lock(link_log_mutex);
        link_log += text.toStdString() + "\n";
    }
}

RigSettings Rig(int model, std::string port = {}, std::string ptt_type = {}) {
    RigSettings rig;
    rig.Model = model;
    rig.Port = std::move(port);
    rig.PTTType = std::move(ptt_type);
    return rig;
}

TEST(HamlibLink, InstallationCheckIsAModelThisHamlibKnows) {
    App();
    const struct {
        int model;
        bool installed;
    } cases[] = {{0, false}, {1, true}, {2, true}, {-5, false}, {99999999, false}};
    for (const auto& c : cases) {
        HamlibLink link(Rig(c.model), milliseconds{50});
        EXPECT_EQ(link.IsFileInstalled("ftlink.exe"), c.installed) << "model " << c.model;
    }
}

TEST(HamlibLink, DummyRigInProcessMapsThePortCalls) {
    App();
    HamlibLink link(Rig(1, {}, "RIG"), milliseconds{20});
    EXPECT_EQ(link.Name(), "Hamlib: Hamlib Dummy");
    auto monitor = link.GetMonitor();
    ASSERT_TRUE(monitor);
    EXPECT_EQ(monitor->MonitorStatus(), 2);
    EXPECT_TRUE(monitor->SetLinkMode(1));
    int failures = 0;
    monitor->set_failure_handler([&] { ++failures; });
    for (int value : {1, 0, 1, 0}) {
        EXPECT_TRUE(monitor->SetPTT(value));
        EXPECT_TRUE(WaitFor([&] { return monitor->TransmitState() == value; }))
            << "after SetPTT " << value;
    }
    EXPECT_EQ(failures, 0);
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
    HamlibLink link(Rig(2, rigctld_.address()), milliseconds{30});
    auto monitor = link.GetMonitor();
    ASSERT_TRUE(monitor) << link.OpenError();
    EXPECT_EQ(monitor->MonitorStatus(), 2);
    int failures = 0;
    monitor->set_failure_handler([&] { ++failures; });
    monitor->SetPTT(1);
    EXPECT_TRUE(WaitFor([&] { return rigctld_.rigctl({"t"}) == "1"; }));
    monitor->SetPTT(0);
    EXPECT_TRUE(WaitFor([&] { return monitor->TransmitState() == 0; }));
    // The test answers from a link of its own and does not key the shared radio.
    std::string answer;
    link.Test(Rig(2, rigctld_.address()), [&](const std::string& text) { answer = text; });
    EXPECT_TRUE(WaitFor([&] { return !answer.empty(); }));
    EXPECT_EQ(answer, "OK: Hamlib NET rigctl, PTT reads off");
    EXPECT_EQ(rigctld_.rigctl({"t"}), "0");
    EXPECT_EQ(failures, 0);

    // A frozen rigctld holds the worker inside Hamlib: the keyer's calls still return at once.
    rigctld_.pause();
    EXPECT_TRUE(monitor->SetPTT(1));
    EXPECT_TRUE(monitor->SetPTT(0));
    EXPECT_EQ(monitor->TransmitState(), std::nullopt) << "no read can follow the commands yet";

    rigctld_.kill();
    EXPECT_TRUE(WaitFor([&] { return failures >= 1; }));
    EXPECT_TRUE(monitor->SetPTT(1));
    EXPECT_TRUE(WaitFor([&] { return failures >= 2; })) << "a key with the radio gone fails";
    EXPECT_EQ(monitor->TransmitState(), std::nullopt);

    // Back again: the link reopens by itself, unkeys (the last request) and keys on request.
    ASSERT_TRUE(rigctld_.start());
    EXPECT_TRUE(
        WaitFor([&] { return monitor->TransmitState() == 1 || monitor->TransmitState() == 0; }));
    monitor->SetPTT(1);
    EXPECT_TRUE(WaitFor([&] { return rigctld_.rigctl({"t"}) == "1"; }));
    monitor->SetPTT(0);
    EXPECT_TRUE(WaitFor([&] { return monitor->TransmitState() == 0; }));

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

/// The keyer in virtual time on simulated devices, keying the radio through rigctld.
struct RigStation {
    RigStation(const std::string& dir, const RigSettings& rig)
        : link(rig, milliseconds{20}),
          sim(dir, LocalTime{}),
          keyer(Started(sim, {.link = &link}).keyer()) {}
    /// Lets `ms` of virtual time pass in 50 ms steps, each with the worker's results delivered.
    void run(int ms) {
        for (int passed = 0; passed < ms; passed += 50) {
            QThread::msleep(25);
            QCoreApplication::processEvents();
            sim.scheduler.advance(Ms{50});
        }
    }
    /// Once the keyer's unkey has reached the radio, a second client keys it and the link has
    /// read that.
    void other_program_keys(Rigctld& rigctld) {
        ASSERT_TRUE(WaitFor([&] { return rigctld.rigctl({"t"}) == "0"; }));
        rigctld.rigctl({"T", "1"});
        QThread::msleep(200);
    }
    const std::string& panel(Panel which) const {
        return keyer.state().panels[static_cast<int>(which)];
    }

    HamlibLink link;
    SimStation sim;
    Keyer& keyer;
};

TEST(HamlibLink, KeyerWarnsOfARigThatDoesNotOpenAndKeysByTheSerialPort) {
    App();
    TempDir dir;
    const std::string address = "127.0.0.1:" + std::to_string(FreePort());
    RigStation station(dir.path().string(), Rig(2, address));
    const std::string log = station.sim.log();
    const auto box = log.find(
        "msgbox exclamation \"Rig Not Available\" \"Parlomat could not "
        "open Hamlib: Hamlib NET rigctl.\\n\\nPort " +
        address + ": ");
    EXPECT_NE(box, std::string::npos) << log;
    EXPECT_NE(log.find("port open", box), std::string::npos) << log;
    EXPECT_FALSE(station.keyer.fields().FTLinkActive);
    EXPECT_FALSE(station.link.GetMonitor());
}

TEST_F(RigctldLink, KeyerReleaseWaitAndStuckPttReadback) {
    TempDir dir;
    RigStation station(dir.path().string(), Rig(2, rigctld_.address()));
    ASSERT_TRUE(station.keyer.fields().FTLinkActive);
    EXPECT_EQ(station.sim.log().find("port open"), std::string::npos) << "no serial port";
    station.run(200);

    station.keyer.cmdXmit_Click();
    EXPECT_EQ(station.panel(Panel::pnlPTT), "PTT On");
    EXPECT_TRUE(WaitFor([&] { return rigctld_.rigctl({"t"}) == "1"; }));
    station.keyer.cmdXmit_Click();
    station.run(300);
    EXPECT_FALSE(station.keyer.fields().PTTKeyed) << "the radio reported 0: the wait ended";

    // Another program keys the radio after the unkey: 2 s on the keyer unkeys it again.
    station.keyer.cmdXmit_Click();
    station.run(100);
    station.keyer.cmdXmit_Click();
    station.other_program_keys(rigctld_);
    station.run(1500);
    EXPECT_TRUE(station.keyer.fields().PTTKeyed);
    EXPECT_EQ(rigctld_.rigctl({"t"}), "1");
    station.run(1000);
    EXPECT_EQ(rigctld_.rigctl({"t"}), "0");
    EXPECT_FALSE(station.keyer.fields().PTTKeyed);
    EXPECT_EQ(station.sim.log().find("beep"), std::string::npos);

    // rigctld gone: the key request returns at once and its failure shows when known.
    rigctld_.kill();
    station.keyer.cmdXmit_Click();
    EXPECT_EQ(station.panel(Panel::pnlFeedback), "Manual PTT On");
    EXPECT_TRUE(WaitFor([&] { return station.panel(Panel::pnlFeedback) == "PTT crap error"; }));
}

}  // namespace
}  // namespace parlomat::test
