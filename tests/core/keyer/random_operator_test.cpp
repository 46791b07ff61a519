#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/keyer/key_codes.h"
#include "core/settings/temp_dir.h"
#include "sim_station.h"

namespace parlomat::test {
namespace {

constexpr Ms kSample{50};
// Longest a key may last with nothing playing beyond the PTT delay: one status tick to notice
// the end of a pass, one sample of lateness, and the Sked repeat gap.
constexpr Ms kKeyedIdleSlack{200};
constexpr Ms kTxTimeout{20'000};  // "TX Timeout" of the station below

/// Random keys, buttons and menus while the PTT line is watched: raised only while the keyer
/// believes it keyed, for a run or a manual key, never past the TX time-out nor, outside a manual
/// key, the PTT delay plus slack with nothing playing; "PTT On" shown only with a line raised.
class RandomOperator {
  public:
    RandomOperator(SimStation& s, unsigned seed) : s_(s), rng_(seed) {}

    /// Empty, or the first broken rule with the latest trace lines.
    std::string run(int steps) {
        for (int step = 0; step < steps; ++step) {
            if (const std::string why = act(); !why.empty()) {
                const std::string log = s_.log();
                const auto from = log.size() > 4000 ? log.find('\n', log.size() - 4000) + 1 : 0;
                return "step " + std::to_string(step) + ": " + why + "\n" + log.substr(from);
            }
        }
        return {};
    }

    int sending_samples = 0;  // samples at which a message went out over a keyed line

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    const char* any(std::initializer_list<const char*> list) {
        return list.begin()[pick(int(list.size()))];
    }
    /// Runs `handler` only while `button` is enabled, as the window would.
    void click(Button button, void (Keyer::*handler)()) {
        if (s_.keyer().state().buttons[int(button)]) {
            (s_.keyer().*handler)();
        }
    }
    int toggled(Check box) const { return s_.keyer().state().checks[int(box)] ? 0 : 1; }

    struct Action {
        int until;  // rolls below this (and above the previous row's) choose the action
        const char* name;
        std::function<void(Keyer&, int slot)> run;
    };
    const std::vector<Action> actions_ = {
        {45, "F1+slot", [this](Keyer& k, int i) { k.Form_KeyDown(kKeyF1 + i, pick(4)); }},
        {48, "F12", [this](Keyer& k, int) { k.Form_KeyDown(kKeyF12, pick(4)); }},
        {52, "cmdStart", [this](Keyer&, int) { click(Button::cmdStart, &Keyer::cmdStart_Click); }},
        {55, "Esc", [](Keyer& k, int) { k.Form_KeyDown(kKeyEscape, 0); }},
        {58, "cmdStop", [this](Keyer&, int) { click(Button::cmdStop, &Keyer::cmdStop_Click); }},
        {64, "optMessage", [](Keyer& k, int i) { k.optMessage_Click(i); }},
        {70, "txtPAM",
         [this](Keyer& k, int i) {
             k.txtPAM_Change(i, any({"", "abc", "-3", "1e999", "20", "0", "2.5", "0.004", "1000"}));
         }},
        {75, "chkLoop", [this](Keyer& k, int i) { k.chkLoop_Change(i, pick(3)); }},
        {80, "cmdXmit", [this](Keyer&, int) { click(Button::cmdXmit, &Keyer::cmdXmit_Click); }},
        {84, "chkMode", [this](Keyer& k, int) { k.chkMode_Click(toggled(Check::chkMode)); }},
        {86, "chkInterval",
         [this](Keyer& k, int) { k.chkInterval_Click(toggled(Check::chkInterval)); }},
        {88, "timing menu", [](Keyer& k, int i) { k.mnuOptionsTimingItem_Click(i % 4); }},
        {91, "PTT Enable menu", [](Keyer& k, int) { k.mnuOptionsItem_Click(2); }},
        {92, "audio lost/back", [this](Keyer&, int i) { s_.channels.set_audio_lost(i < 3); }},
        {95, "CTS", [this](Keyer&, int) { s_.serial.set_cts(pick(8) == 0); }},
        {100, "cmbPTT, txtPTTDelay",
         [this](Keyer& k, int) {
             k.mnuFileItem_Click(2);
             if (auto* form = k.preferences_form()) {
                 form->set_text(PrefControl::cmbPTT, any({"DTR", "RTS", ""}));
                 form->set_text(PrefControl::txtPTTDelay, any({"300", "0", "50", "70000"}));
                 form->cmdSave_Click();
             }
         }},
    };

    std::string act() {
        Keyer& k = s_.keyer();
        const int roll = pick(100);
        if (roll < 35) {
            const int ms = 1 + pick(5000);
            s_.trace.event("> advance " + std::to_string(ms));
            for (int done = 0; done < ms; done += int(kSample.count())) {
                s_.scheduler.advance(std::min(Ms{ms - done}, kSample));
                if (std::string why = check(); !why.empty()) {
                    return why + " (at " + std::to_string(s_.scheduler.now().count()) + " ms)";
                }
            }
            return {};
        }
        if (auto* form = k.preferences_form(); form && k.modal_open()) {  // a refused save
            s_.trace.event("> dialog cmdCancel");
            form->cmdCancel_Click();
            return check();
        }
        const Action& action = *std::find_if(actions_.begin(), actions_.end(),
                                             [roll](const Action& a) { return roll < a.until; });
        const int slot = pick(6);
        s_.trace.event("> " + std::string(action.name) + ", slot " + std::to_string(slot));
        action.run(k, slot);
        // A run started outside Sked mode owns the key from now on and releases it at its end;
        // a key cmdXmit raised is held until released.
        if (action.until <= 52 && k.fields().Playing && !k.fields().SkedMode) {
            manual_ = false;
        }
        manual_ = manual_ || (action.until == 80 && k.fields().PTTKeyed);
        idle_since_.reset();
        return check();
    }

    /// Empty while the line is held for a reason.
    std::string check() {
        const MainScreenFields& f = s_.keyer().fields();
        const bool raised = s_.serial.dtr_on() || s_.serial.rts_on();
        const Ms now = s_.scheduler.now();
        if (s_.keyer().state().panels[int(Panel::pnlPTT)] == "PTT On" && !raised) {
            return "\"PTT On\" shown with no line raised";
        }
        raised_since_ = raised ? raised_since_.value_or(now) : std::optional<Ms>{};
        if (now - raised_since_.value_or(now) > kTxTimeout + kSample) {
            return "line raised since " + std::to_string(raised_since_->count()) + " ms";
        }
        // A key delay runs with the PTT delay in force when it began, even if changed since.
        const Ms delay = std::clamp(Ms{f.prefs.PTTDelay}, Ms{1}, Timer::kMaxInterval);
        longest_delay_ = raised ? std::max(longest_delay_, delay) : delay;
        manual_ = manual_ && f.PTTKeyed;
        if (raised && (!f.PTTKeyed || (!f.Playing && !manual_))) {
            return f.PTTKeyed ? "line raised with no run and no manual key"
                              : "line raised while the keyer believes the transmitter released";
        }
        const bool playing = s_.channels.ChannelMode(f.ActiveMsg) == mode::kPlaying;
        sending_samples += (raised && playing) ? 1 : 0;
        if (!raised || playing || manual_) {
            idle_since_.reset();
        } else if (idle_since_ = idle_since_.value_or(now);
                   now - *idle_since_ > longest_delay_ + kKeyedIdleSlack) {
            return "line raised with nothing playing since " +
                   std::to_string(idle_since_->count()) + " ms";
        }
        return {};
    }

    SimStation& s_;
    std::mt19937 rng_;
    Ms longest_delay_{0};
    bool manual_ = false;
    std::optional<Ms> idle_since_, raised_since_;
};

TEST(RandomOperator, TransmitterIsKeyedOnlyForARunOrAManualKey) {
    for (const unsigned seed : {1u, 7u, 42u, 2026u, 65535u}) {
        TempDir dir;
        const std::pair<const char*, int> waves[] = {
            {"a", 1500}, {"b", 700}, {"c", 4000}, {"e", 0}, {"f", 50}};
        for (const auto& [name, ms] : waves) {
            SimChannels::WriteSilence(dir.file(std::string(name) + ".wav"), ms);
        }
        WriteBytes(dir.file("junk.wav"), "not a wave file\n");
        WriteBytes(dir.file("parlomat.ini"),
                   "[Preference]\nPTT Delay=300\nNAMSTiming=1\nTX Timeout=20\n[MSG Config]\n"
                   "MSG1=a.wav\nDelay1=0\nLoop1=False\nMSG2=b.wav\nDelay2=20\nLoop2=True\n"
                   "MSG3=c.wav\nDelay3=0\nLoop3=True\nMSG4=junk.wav\nDelay4=5\nLoop4=True\n"
                   "MSG5=f.wav\nDelay5=0\nLoop5=True\nMSG6=e.wav\nDelay6=0\nLoop6=True\n");
        using namespace std::chrono;
        SimStation station(dir.path().string(),
                           LocalTime{sys_days{year{2026} / 1 / 1}.time_since_epoch()} + hours{12});
        Started(station);
        ASSERT_TRUE(station.serial.is_open());
        RandomOperator op(station, seed);
        EXPECT_EQ(op.run(3000), "") << "seed " << seed;
        // The session must have sent messages, or it proves nothing about keying.
        EXPECT_GT(op.sending_samples, 100) << "seed " << seed;
    }
}

}  // namespace
}  // namespace parlomat::test
