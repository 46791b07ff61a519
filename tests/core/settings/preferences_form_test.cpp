#include "core/settings/preferences_form.h"

#include <gtest/gtest.h>

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

/// Records each message box as "icon:title"; file dialogs are cancelled.
class FakeDialogs : public Dialogs {
  public:
    MsgReply message_box(MsgIcon icon, const std::string& title, const std::string&,
                         MsgButtons) override {
        boxes.push_back(std::to_string(static_cast<int>(icon)) + ":" + title);
        return MsgReply::Ok;
    }
    std::optional<std::string> file_dialog(const FileDialogRequest&) override { return {}; }
    void beep(BeepSound) override {}

    std::vector<std::string> boxes;
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

const std::string kRestart = "2:Parlomat";

TEST(PreferencesForm, SaveRoundsClampsAndAdvises) {
    using C = PrefControl;
    struct Case {
        PrefControl control;
        std::string typed;
        std::vector<std::string> boxes;
        const char* stored;  ///< what the reopened dialog shows; nullptr: refused, nothing stored
    };
    const std::vector<Case> cases = {
        {C::cmbPort, "2.5", {kRestart}, " 2"},
        {C::txtPTTDelay, "", {}, "0"},
        {C::txtPTTDelay, "1e999", {"3:PTT Delay Value"}, "2147483647"},
        {C::txtUTCDiff, " AUTOMATIC", {}, "automatic"},
        {C::cmbAudioOut, std::string(256, 'o'), {"1:Invalid Setting"}, nullptr},
        {C::cmbRigModel, "FT-991A", {"1:Invalid Rig Model"}, nullptr},
        {C::txtRigSpeed, "fast", {"1:Invalid Rig Speed"}, nullptr},
        {C::cmbRigPTTType, " cm108", {kRestart}, "CM108"},
        {C::txtAudioIdle, "0", {}, "0"},
        {C::txtAudioIdle, "4", {"1:Invalid Audio Idle"}, nullptr},
    };
    for (const auto& c : cases) {
        const auto name = std::string(kPrefControlNames[static_cast<int>(c.control)]) + " \"" +
                          c.typed.substr(0, 9) + "\"";
        Fixture f;
        f.form.set_text(c.control, c.typed);
        f.form.cmdSave_Click();
        EXPECT_EQ(f.dialogs.boxes, c.boxes) << name;
        EXPECT_EQ(f.closed, c.stored ? 1 : 0) << name;
        // A refused save stores nothing: reopening shows the default again.
        EXPECT_EQ(f.reopened(c.control), c.stored ? c.stored : Fixture().form.text(c.control))
            << name;
    }
}

TEST(PreferencesForm, RigModelComesFromTheListAndTestAnswersInTheTab) {
    Fixture f;
    WriteProfileString(f.ini, "Rig", "Model", "1");
    f.form.Form_Load();
    f.form.set_items(PrefControl::cmbRigModel,
                     {"None", "Hamlib Dummy (1)", "Hamlib NET rigctl (2)"});
    EXPECT_EQ(f.form.text(PrefControl::cmbRigModel), "Hamlib Dummy (1)");

    std::vector<std::string> asked;  // "model port" of each test started
    std::function<void(const std::string&)> answer;
    const auto tester = [&](const RigSettings& rig, std::function<void(const std::string&)> done) {
        asked.push_back(std::to_string(rig.Model) + " " + rig.Port);
        answer = std::move(done);
    };
    f.form.set_rig_tester(tester);
    for (const char* model : {"Hamlib NET rigctl (2)", "7"}) {  // 7 is not in the list
        f.form.set_text(PrefControl::cmbRigModel, model);
        f.form.cmdRigTest_Click();
    }
    EXPECT_EQ(asked, std::vector<std::string>{"2 localhost:4532"});

    // An answer that comes after the dialog has gone is dropped: were it delivered to the
    // destroyed form, AddressSanitizer (CI's test build) would fail this test.
    auto gone = std::make_unique<PreferencesForm>(f.prefs, f.ini, f.dialogs, nullptr, [] {});
    gone->Form_Load();
    gone->set_rig_tester(tester);
    gone->set_text(PrefControl::cmbRigModel, "1");
    gone->cmdRigTest_Click();
    gone.reset();
    ASSERT_EQ(asked.size(), 2u);
    answer("late");
}

TEST(PreferencesForm, PortDeviceFollowsThePortAndIsAssignedOnSave) {
    // The device a port shows unchanged is not assigned; a chosen one is, with a notice.
    for (const std::string device : {"/dev/ttyS0", "/dev/ttyUSB0"}) {
        Fixture f;
        f.form.set_text(PrefControl::cmbPort, " 1");
        EXPECT_EQ(f.form.text(PrefControl::cmbPortDevice), "/dev/ttyS0");
        f.form.set_text(PrefControl::cmbPortDevice, device);
        f.form.cmdSave_Click();
        const bool assigned = device != "/dev/ttyS0";
        EXPECT_EQ(GetProfileString(f.ini, "Ports", "COM1", ""), assigned ? device : "") << device;
        EXPECT_EQ(f.dialogs.boxes.size(), assigned ? 1u : 0u) << device;
        EXPECT_EQ(f.reopened(PrefControl::cmbPortDevice), device) << device;
    }
}

TEST(PreferencesForm, UnwritableSettingsAreReportedButApplied) {
    Fixture f;
    PreferencesForm form(f.prefs, f.dir.file("gone/parlomat.ini"), f.dialogs, nullptr, [] {});
    form.Form_Load();
    form.set_text(PrefControl::txtPTTDelay, "250");
    form.cmdSave_Click();
    EXPECT_EQ(f.dialogs.boxes, std::vector<std::string>{kRestart});
    EXPECT_EQ(f.prefs.PTTDelay, 250);
}

}  // namespace
}  // namespace parlomat
