#include "core/settings/preferences_form.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/profile_file.h"
#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

using test::TempDir;

/// Records each message box as "icon:title"; file dialogs answer from a queue.
class FakeDialogs : public Dialogs {
  public:
    MsgReply message_box(MsgIcon icon, const std::string& title, const std::string&,
                         MsgButtons) override {
        boxes.push_back(std::to_string(static_cast<int>(icon)) + ":" + title);
        return MsgReply::Ok;
    }
    std::optional<std::string> file_dialog(const FileDialogRequest& request) override {
        requests.push_back(request);
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void beep(BeepSound) override {}

    std::vector<std::string> boxes;
    std::vector<FileDialogRequest> requests;
    std::deque<std::optional<std::string>> answers;
};

/// A form opened on default preferences, with its settings file in a fresh directory.
struct Fixture {
    Fixture() { form.Form_Load(); }
    /// The text `control` shows when the dialog is opened again on the stored record.
    std::string reopened(PrefControl control) {
        PreferencesForm again(prefs, ini, dialogs, nullptr, [] {});
        again.Form_Load();
        return again.text(control);
    }
    TempDir dir;
    std::string ini = dir.file("parlomat.ini");
    Preferences prefs;
    FakeDialogs dialogs;
    int closed = 0;
    PreferencesForm form{prefs, ini, dialogs, nullptr, [this] { ++closed; }};
};

const std::string kPortNotice = "2:Valid Comm Port?";
const std::string kPTTNotice = "3:PTT Delay Value";
const std::string kRestart = "2:Parlomat";
const std::string kBadUTC = "1:Invalid UTC Difference";
const std::string kBadSetting = "1:Invalid Setting";
const std::string kLongest(255, 'r');
const std::string kTooLong(256, 'o');

TEST(PreferencesForm, SaveRoundsClampsAndAdvises) {
    using C = PrefControl;
    struct Case {
        PrefControl control;
        const char* typed;
        std::vector<std::string> boxes;
        const char* stored;  ///< what the reopened dialog shows; nullptr: refused, nothing stored
    };
    const std::vector<Case> cases = {
        {C::cmbPort, " 9", {kPortNotice, kRestart}, " 9"},
        {C::cmbPort, "2.5", {kRestart}, " 2"},
        {C::txtPTTDelay, "", {}, "0"},
        {C::txtPTTDelay, "1e999", {kPTTNotice}, "2147483647"},
        {C::txtUTCDiff, "  -.25", {}, "-.25"},
        {C::txtUTCDiff, " AUTOMATIC", {}, "automatic"},
        {C::txtRecorder, "rec\n--x", {kBadSetting}, nullptr},
        {C::txtRecorder, kLongest.c_str(), {}, kLongest.c_str()},
        {C::cmbAudioOut, kTooLong.c_str(), {kBadSetting}, nullptr},
        {C::cmbRigModel, "Hamlib NET rigctl (2)", {kRestart}, "2"},
        {C::cmbRigModel, "FT-991A", {"1:Invalid Rig Model"}, nullptr},
        {C::txtRigSpeed, "fast", {"1:Invalid Rig Speed"}, nullptr},
        {C::cmbRigPTTType, " cm108", {kRestart}, "CM108"},
        {C::txtUTCDiff, "", {kBadUTC}, nullptr},
        {C::txtAudioIdle, "0", {}, "0"},
        {C::txtAudioIdle, "4", {"1:Invalid Audio Idle"}, nullptr},
    };
    for (const auto& c : cases) {
        const auto name =
            std::string(kPrefControlNames[static_cast<int>(c.control)]) + " \"" + c.typed + "\"";
        Fixture f;
        f.form.set_text(c.control, c.typed);
        f.form.cmdSave_Click();
        EXPECT_EQ(f.dialogs.boxes, c.boxes) << name;
        EXPECT_EQ(f.closed, c.stored ? 1 : 0) << name;
        EXPECT_EQ(f.form.is_open(), !c.stored) << name;
        EXPECT_EQ(std::filesystem::exists(f.ini), c.stored != nullptr) << name;
        if (c.stored) {
            EXPECT_EQ(f.reopened(c.control), c.stored) << name;
        } else {
            const Fixture untouched;
            EXPECT_EQ(f.reopened(c.control), untouched.form.text(c.control)) << name;
            EXPECT_EQ(f.form.text(c.control), c.typed) << name;
        }
    }
}

TEST(PreferencesForm, RigModelComesFromTheListAndTestAnswersInTheTab) {
    Fixture f;
    WriteProfileString(f.ini, "Rig", "Model", "1");
    f.form.Form_Load();
    f.form.set_items(PrefControl::cmbRigModel,
                     {"None", "Hamlib Dummy (1)", "Hamlib NET rigctl (2)"});
    EXPECT_EQ(f.form.text(PrefControl::cmbRigModel), "Hamlib Dummy (1)");

    std::vector<RigSettings> asked;
    std::function<void(const std::string&)> answer;
    f.form.set_rig_tester(
        [&](const RigSettings& rig, std::function<void(const std::string&)> done) {
            asked.push_back(rig);
            answer = std::move(done);
        });
    f.form.set_text(PrefControl::cmbRigModel, "Hamlib NET rigctl (2)");
    f.form.cmdRigTest_Click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Model, 2);
    EXPECT_EQ(asked[0].Port, "localhost:4532");

    f.form.set_text(PrefControl::cmbRigModel, "7");
    f.form.cmdRigTest_Click();
    EXPECT_EQ(asked.size(), 1u) << "a model not in the list is not tested";
    f.form.cmdSave_Click();
    EXPECT_EQ(f.dialogs.boxes, std::vector<std::string>{"1:Invalid Rig Model"});

    // An answer that comes after the dialog has gone is dropped: were it delivered to the
    // destroyed form, AddressSanitizer (CI's test build) would fail this test.
    auto gone = std::make_unique<PreferencesForm>(f.prefs, f.ini, f.dialogs, nullptr, [] {});
    gone->Form_Load();
    gone->set_rig_tester([&](const RigSettings&, std::function<void(const std::string&)> done) {
        answer = std::move(done);
    });
    gone->set_text(PrefControl::cmbRigModel, "1");
    gone->cmdRigTest_Click();
    gone.reset();
    answer("late");
}

TEST(PreferencesForm, PortDeviceFollowsThePortAndIsAssignedOnSave) {
    struct Case {
        const char* port;
        const char* device;  ///< nullptr: left as the form shows it
        const char* shown;
        std::string assigned;
        std::vector<std::string> boxes;
    };
    const std::vector<Case> cases = {
        {" 1", nullptr, "/dev/ttyS0", "", {}},
        {" 1", "/dev/ttyUSB0", "/dev/ttyUSB0", "/dev/ttyUSB0", {kRestart}},
        {"2", "/dev/ttyACM0", "/dev/ttyACM0", "/dev/ttyACM0", {kRestart}},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.form.set_text(PrefControl::cmbPort, c.port);
        if (c.device != nullptr) {
            f.form.set_text(PrefControl::cmbPortDevice, c.device);
        }
        EXPECT_EQ(f.form.text(PrefControl::cmbPortDevice), c.shown) << c.port;
        f.form.cmdSave_Click();
        const auto key = "COM" + std::to_string(f.prefs.CommPort);
        EXPECT_EQ(GetProfileString(f.ini, "Ports", key, ""), c.assigned) << c.port;
        EXPECT_EQ(f.dialogs.boxes, c.boxes) << c.port;
        EXPECT_EQ(f.reopened(PrefControl::cmbPortDevice), c.shown) << c.port;
    }
}

TEST(PreferencesForm, UnwritableSettingsAreReported) {
    Fixture f;
    f.ini = f.dir.file("gone/parlomat.ini");
    PreferencesForm form(f.prefs, f.ini, f.dialogs, nullptr, [&f] { ++f.closed; });
    form.Form_Load();
    form.set_text(PrefControl::txtPTTDelay, "250");
    form.cmdSave_Click();
    EXPECT_EQ(f.dialogs.boxes, std::vector<std::string>{"2:Parlomat"});
    EXPECT_EQ(f.closed, 1);
    EXPECT_EQ(f.prefs.PTTDelay, 250);
}

TEST(PreferencesForm, SelectRecorderFillsTheBoxOnly) {
    struct Case {
        std::optional<std::string> chosen;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"/opt/My Rec/rec", "\"/opt/My Rec/rec\""},
        {std::nullopt, "typed"},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.prefs.Recorder = "/usr/bin/old";
        f.form.set_text(PrefControl::txtRecorder, "typed");
        f.dialogs.answers.push_back(c.chosen);
        f.form.cmdSelectRecorder_Click();
        ASSERT_EQ(f.dialogs.requests.size(), 1u) << c.shown;
        EXPECT_EQ(f.dialogs.requests[0].initial_dir, "/usr/bin") << c.shown;
        EXPECT_EQ(f.dialogs.requests[0].file_name, "/usr/bin/old") << c.shown;
        EXPECT_EQ(f.form.text(PrefControl::txtRecorder), c.shown) << c.shown;
        EXPECT_EQ(f.prefs.Recorder, "/usr/bin/old") << c.shown;
    }
}

}  // namespace
}  // namespace parlomat
