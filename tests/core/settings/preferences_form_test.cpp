#include "core/settings/preferences_form.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/settings/profile_file.h"
#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

using test::TempDir;

struct Box {
    MsgIcon icon;
    std::string title;
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << static_cast<int>(box.icon) << ':' << box.title;
}

class FakeDialogs : public Dialogs {
  public:
    MsgReply message_box(MsgIcon icon, const std::string& title, const std::string&,
                         MsgButtons) override {
        boxes.push_back(Box{icon, title});
        return MsgReply::Ok;
    }
    std::optional<std::string> file_dialog(const FileDialogRequest& request) override {
        requests.push_back(request);
        auto answer = answers.empty() ? std::nullopt : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    }
    void beep(unsigned) override {}

    std::vector<Box> boxes;
    std::vector<FileDialogRequest> requests;
    std::deque<std::optional<std::string>> answers;
};

class RecordingView : public PreferencesView {
  public:
    void control_changed(PrefControl control, const std::string& text) override {
        changes.emplace_back(control, text);
    }
    std::vector<std::pair<PrefControl, std::string>> changes;
};

struct Fixture {
    explicit Fixture(Preferences initial = {}) : prefs(std::move(initial)) { form.Form_Load(); }
    TempDir dir;
    std::string ini = dir.file("parlomat.ini");
    Preferences prefs;
    FakeDialogs dialogs;
    RecordingView view;
    int closed = 0;
    PreferencesForm form{prefs, ini, dialogs, &view, [this] { ++closed; }};
};

const Box kRestart{MsgIcon::Exclamation, "Parlomat"};
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

TEST(PreferencesForm, OpeningShowsTheStoredValues) {
    struct Case {
        const char* name;
        std::function<void(Preferences&)> edit;
        PrefControl control;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"port", [](Preferences&) {}, PrefControl::cmbPort, " 1"},
        {"negative port", [](Preferences& p) { p.CommPort = -2; }, PrefControl::cmbPort, "-2"},
        {"link delay", [](Preferences&) {}, PrefControl::txtFTLinkDelay, "90"},
        {"ptt delay", [](Preferences& p) { p.PTTDelay = 1500; }, PrefControl::txtPTTDelay, "1500"},
        {"utc whole", [](Preferences&) {}, PrefControl::txtUTCDiff, " 5"},
        {"utc half",
         [](Preferences& p) {
             p.UTCDiffHours = -5;
             p.UTCDiffMinutes = -30;
         },
         PrefControl::txtUTCDiff, "-5.5"},
        {"utc quarter below zero",
         [](Preferences& p) {
             p.UTCDiffHours = 0;
             p.UTCDiffMinutes = -15;
         },
         PrefControl::txtUTCDiff, "-.25"},
        {"id interval", [](Preferences& p) { p.IDInterval = 7.5; }, PrefControl::txtID, " 7.5"},
        {"keys", [](Preferences& p) { p.PTTKey = "RTS"; }, PrefControl::cmbPTT, "RTS"},
        {"interrupt none", [](Preferences& p) { p.PTTInt = ""; }, PrefControl::cmbINT, ""},
        {"recorder", [](Preferences& p) { p.Recorder = "arecord x"; }, PrefControl::txtRecorder,
         "arecord x"},
        {"device", [](Preferences& p) { p.CommPort = 3; }, PrefControl::cmbPortDevice,
         "/dev/ttyS2"},
    };
    for (const auto& c : cases) {
        Preferences prefs;
        c.edit(prefs);
        Fixture f(prefs);
        EXPECT_EQ(f.form.text(c.control), c.text) << c.name;
        EXPECT_TRUE(f.form.is_open()) << c.name;
    }
    Fixture f;
    EXPECT_EQ(f.form.items(PrefControl::cmbPort),
              (std::vector<std::string>{" 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8"}));
    EXPECT_EQ(f.form.items(PrefControl::cmbPTT), (std::vector<std::string>{"", "DTR", "RTS"}));
    EXPECT_EQ(f.form.items(PrefControl::cmbINT), (std::vector<std::string>{"", "DSR", "CTS"}));
    EXPECT_EQ(f.view.changes.size(), static_cast<std::size_t>(kPrefControlCount));
}

TEST(PreferencesForm, SaveChecksInOrderAndStores) {
    struct Case {
        const char* name;
        std::vector<std::pair<PrefControl, std::string>> texts;
        std::vector<Box> boxes;
        bool saved;
        std::function<void(const Preferences&)> check = [](const Preferences&) {};
    };
    const Box invalid_port{MsgIcon::Critical, "Invalid Comm Port"};
    const Box valid_port{MsgIcon::Exclamation, "Valid Comm Port?"};
    const Box invalid_interrupt{MsgIcon::Critical, "Invalid PTT Interrupt"};
    const Box invalid_delay{MsgIcon::Critical, "Invalid Delay Value"};
    const Box link_notice{MsgIcon::Information, "FT Link Delay Value"};
    const Box ptt_notice{MsgIcon::Information, "PTT Delay Value"};
    const Box invalid_interval{MsgIcon::Critical, "Invalid Interval Value"};
    const Box invalid_utc{MsgIcon::Critical, "Invalid UTC Difference"};
    using C = PrefControl;
    const std::vector<Case> cases = {
        {"unchanged", {}, {}, true},
        {"port abc", {{C::cmbPort, "abc"}}, {invalid_port}, false},
        {"port 0", {{C::cmbPort, "0"}}, {invalid_port}, false},
        {"port -2", {{C::cmbPort, "-2"}}, {invalid_port}, false},
        {"port 9",
         {{C::cmbPort, " 9"}},
         {valid_port, kRestart},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.CommPort, 9); }},
        {"port 8", {{C::cmbPort, "8"}}, {kRestart}, true},
        {"port 2.5",
         {{C::cmbPort, "2.5"}},
         {kRestart},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.CommPort, 2); }},
        {"port 1.4",
         {{C::cmbPort, "1.4"}},
         {},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.CommPort, 1); }},
        {"port beyond 16 bits",
         {{C::cmbPort, "1e999"}},
         {valid_port, kRestart},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.CommPort, 32767); }},
        {"ptt dtr",
         {{C::cmbPTT, "rts"}},
         {},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.PTTKey, "RTS"); }},
        {"ptt empty", {{C::cmbPTT, ""}}, {invalid_port}, false},
        {"ptt other", {{C::cmbPTT, "CTS"}}, {invalid_port}, false},
        {"interrupt empty", {{C::cmbINT, ""}}, {invalid_interrupt}, false},
        {"interrupt dsr",
         {{C::cmbINT, "dsr"}},
         {},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.PTTInt, "DSR"); }},
        {"link -1", {{C::txtFTLinkDelay, "-1"}}, {invalid_delay}, false},
        {"link 200", {{C::txtFTLinkDelay, "200"}}, {}, true},
        {"link 201",
         {{C::txtFTLinkDelay, "201"}},
         {link_notice},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.FTLinkDelay, 201); }},
        {"ptt delay -1", {{C::txtPTTDelay, "-1"}}, {invalid_delay}, false},
        {"ptt delay 1000", {{C::txtPTTDelay, "1000"}}, {}, true},
        {"ptt delay 1000.5",
         {{C::txtPTTDelay, "1000.5"}},
         {ptt_notice},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.PTTDelay, 1000); }},
        {"ptt delay empty",
         {{C::txtPTTDelay, ""}},
         {},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.PTTDelay, 0); }},
        {"ptt delay beyond 32 bits",
         {{C::txtPTTDelay, "1e999"}},
         {ptt_notice},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.PTTDelay, kMax32); }},
        {"id -0.5", {{C::txtID, "-0.5"}}, {invalid_interval}, false},
        {"id 0",
         {{C::txtID, "0"}},
         {},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.IDInterval, 0); }},
        {"id 7.5",
         {{C::txtID, " 7.5"}},
         {},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.IDInterval, 7.5); }},
        {"utc -5.5",
         {{C::txtUTCDiff, "-5.5"}},
         {},
         true,
         [](const Preferences& p) {
             EXPECT_EQ(p.UTCDiffHours, -5);
             EXPECT_EQ(p.UTCDiffMinutes, -30);
         }},
        {"utc -.25",
         {{C::txtUTCDiff, "  -.25"}},
         {},
         true,
         [](const Preferences& p) {
             EXPECT_EQ(p.UTCDiffHours, 0);
             EXPECT_EQ(p.UTCDiffMinutes, -15);
         }},
        {"utc +3",
         {{C::txtUTCDiff, "+3 "}},
         {},
         true,
         [](const Preferences& p) {
             EXPECT_EQ(p.UTCDiffHours, 3);
             EXPECT_EQ(p.UTCDiffMinutes, 0);
         }},
        {"utc huge",
         {{C::txtUTCDiff, "99999999999"}},
         {},
         true,
         [](const Preferences& p) { EXPECT_EQ(p.UTCDiffHours, kMax32); }},
        {"utc abc", {{C::txtUTCDiff, "abc"}}, {invalid_utc}, false},
        {"utc empty", {{C::txtUTCDiff, ""}}, {invalid_utc}, false},
        {"utc 5x", {{C::txtUTCDiff, "5x"}}, {invalid_utc}, false},
        {"utc exponent", {{C::txtUTCDiff, "1e3"}}, {invalid_utc}, false},
        {"first refusal wins",
         {{C::cmbPort, "0"}, {C::cmbPTT, ""}, {C::txtID, "-1"}},
         {invalid_port},
         false},
        {"notices before a later refusal",
         {{C::cmbPort, "12"}, {C::txtFTLinkDelay, "300"}, {C::txtID, "-1"}},
         {valid_port, link_notice, invalid_interval},
         false},
        {"three notices then saved",
         {{C::cmbPort, "12"}, {C::txtFTLinkDelay, "300"}, {C::txtPTTDelay, "1500"}},
         {valid_port, link_notice, ptt_notice, kRestart},
         true,
         [](const Preferences& p) {
             EXPECT_EQ(p.CommPort, 12);
             EXPECT_EQ(p.FTLinkDelay, 300);
             EXPECT_EQ(p.PTTDelay, 1500);
         }},
    };
    for (const auto& c : cases) {
        Fixture f;
        for (const auto& [control, text] : c.texts) {
            f.form.set_text(control, text);
        }
        f.form.cmdSave_Click();
        EXPECT_EQ(f.dialogs.boxes, c.boxes) << c.name;
        EXPECT_EQ(!f.form.is_open(), c.saved) << c.name;
        EXPECT_EQ(f.closed, c.saved ? 1 : 0) << c.name;
        EXPECT_EQ(std::filesystem::exists(f.ini), c.saved) << c.name;
        if (c.saved) {
            c.check(f.prefs);
            Preferences reloaded;
            LoadPrefs(reloaded, f.ini);
            EXPECT_EQ(reloaded.CommPort, f.prefs.CommPort) << c.name;
            EXPECT_EQ(reloaded.PTTDelay, f.prefs.PTTDelay) << c.name;
        } else {
            EXPECT_EQ(f.prefs.CommPort, Preferences{}.CommPort) << c.name;
            EXPECT_EQ(f.prefs.PTTKey, Preferences{}.PTTKey) << c.name;
            EXPECT_EQ(f.prefs.PTTDelay, Preferences{}.PTTDelay) << c.name;
        }
    }
}

TEST(PreferencesForm, CancelStoresNothing) {
    Fixture f;
    for (int i = 0; i < kPrefControlCount; ++i) {
        f.form.set_text(static_cast<PrefControl>(i), "7");
    }
    f.form.cmdCancel_Click();
    EXPECT_FALSE(f.form.is_open());
    EXPECT_EQ(f.closed, 1);
    EXPECT_EQ(f.prefs.CommPort, 1);
    EXPECT_EQ(f.prefs.Recorder, "");
    EXPECT_FALSE(std::filesystem::exists(f.ini));
    EXPECT_TRUE(f.dialogs.boxes.empty());
}

TEST(PreferencesForm, PortDeviceFollowsThePortAndIsAssignedOnSave) {
    struct Case {
        const char* name;
        const char* port;
        const char* device;  ///< nullptr: left as the form shows it
        const char* shown;
        std::string assigned;
        std::vector<Box> boxes;
    };
    const std::vector<Case> cases = {
        {"default device", " 1", nullptr, "/dev/ttyS0", "", {}},
        {"another number", " 4", nullptr, "/dev/ttyS3", "", {kRestart}},
        {"assigned device", " 1", "/dev/ttyUSB0", "/dev/ttyUSB0", "/dev/ttyUSB0", {kRestart}},
        {"assigned to new number", "2", "/dev/ttyACM0", "/dev/ttyACM0", "/dev/ttyACM0", {kRestart}},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.form.set_text(PrefControl::cmbPort, c.port);
        if (c.device != nullptr) {
            f.form.set_text(PrefControl::cmbPortDevice, c.device);
        }
        EXPECT_EQ(f.form.text(PrefControl::cmbPortDevice), c.shown) << c.name;
        f.form.cmdSave_Click();
        const auto key = "COM" + std::to_string(f.prefs.CommPort);
        EXPECT_EQ(GetProfileString(f.ini, "Ports", key, ""), c.assigned) << c.name;
        EXPECT_EQ(f.dialogs.boxes, c.boxes) << c.name;
        EXPECT_EQ(SerialDevicePath(f.ini, f.prefs.CommPort), c.shown) << c.name;
    }
}

TEST(PreferencesForm, UnwritableSettingsAreReported) {
    TempDir dir;
    Preferences prefs;
    FakeDialogs dialogs;
    bool closed = false;
    PreferencesForm form(prefs, dir.file("gone/parlomat.ini"), dialogs, nullptr,
                         [&closed] { closed = true; });
    form.Form_Load();
    form.set_text(PrefControl::txtPTTDelay, "250");
    form.cmdSave_Click();
    EXPECT_EQ(dialogs.boxes, (std::vector<Box>{{MsgIcon::Exclamation, "Parlomat"}}));
    EXPECT_TRUE(closed);
    EXPECT_EQ(prefs.PTTDelay, 250);
}

TEST(PreferencesForm, SelectRecorderFillsTheBoxOnly) {
    struct Case {
        const char* name;
        std::optional<std::string> chosen;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"chosen", "/usr/bin/arecord", "/usr/bin/arecord"},
        {"path with blanks", "/opt/My Rec/rec", "\"/opt/My Rec/rec\""},
        {"cancelled", std::nullopt, "typed"},
    };
    for (const auto& c : cases) {
        Preferences prefs;
        prefs.Recorder = "/usr/bin/old";
        Fixture f(prefs);
        f.form.set_text(PrefControl::txtRecorder, "typed");
        f.dialogs.answers.push_back(c.chosen);
        f.form.cmdSelectRecorder_Click();
        ASSERT_EQ(f.dialogs.requests.size(), 1u) << c.name;
        const auto& request = f.dialogs.requests.front();
        EXPECT_EQ(request.title, "Select Audio Recorder:") << c.name;
        EXPECT_EQ(request.initial_dir, "/usr/bin") << c.name;
        EXPECT_EQ(request.file_name, "/usr/bin/old") << c.name;
        EXPECT_EQ(request.kind, FileDialogRequest::Kind::Open) << c.name;
        EXPECT_EQ(f.form.text(PrefControl::txtRecorder), c.shown) << c.name;
        EXPECT_EQ(f.prefs.Recorder, "/usr/bin/old") << c.name;
        EXPECT_TRUE(f.form.is_open()) << c.name;
    }
}

}  // namespace
}  // namespace parlomat
