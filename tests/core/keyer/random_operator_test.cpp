#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <random>
#include <string>

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

/// An operator pressing keys, buttons and menus at random while the serial PTT line is watched:
/// it may be raised only while the keyer believes it keyed, for a run or a manual key, never
/// longer than the TX time-out and, outside a manual key, no longer than the PTT delay plus
/// slack with nothing playing; "PTT On" is shown only with a line raised.
class RandomOperator {
  public:
    RandomOperator(SimStation& s, unsigned seed) : s_(s), rng_(seed) {}

    /// Empty, or the first broken rule with the latest trace lines.
    std::string run(int steps) {
        for (int step = 0; step < steps; ++step) {
            if (const std::string why = act(); !why.empty()) {
                const std::string log = s_.log.str();
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
    void note(const std::string& what) { s_.trace.event("> " + what); }
    bool enabled(Button b) const { return s_.keyer.state().buttons[int(b)]; }

    std::string act() {
        Keyer& k = s_.keyer;
        const int roll = pick(100);
        if (roll < 35) {
            const int ms = 1 + pick(5000);
            note("advance " + std::to_string(ms));
            for (int done = 0; done < ms; done += int(kSample.count())) {
                s_.scheduler.advance(std::min(Ms{ms - done}, kSample));
                if (std::string why = check(); !why.empty()) {
                    return why + " (at " + std::to_string(s_.scheduler.now().count()) + " ms)";
                }
            }
            return {};
        }
        if (k.modal_open()) {
            note("dialog cmdCancel");
            if (auto* form = k.preferences_form()) {
                form->cmdCancel_Click();
            }
            return check();
        }
        const int slot = pick(6);
        const std::string at = " " + std::to_string(slot);
        const bool started = roll < 52;
        if (roll < 52) {  // F1..F6 with or without Shift, F12, or a click on Start
            const int key = roll < 45 ? kKeyF1 + slot : kKeyF12;
            const bool click = roll >= 45 && pick(2) == 0;
            note(click ? "click cmdStart" : "key " + std::to_string(key));
            if (!click) {
                k.Form_KeyDown(key, pick(4));  // no modifier, Shift, Ctrl or both
            } else if (enabled(Button::cmdStart)) {
                k.cmdStart_Click();
            }
        } else if (roll < 58) {
            const bool click = pick(2) == 0;
            note(click ? "click cmdStop" : "Esc");
            if (!click) {
                k.Form_KeyDown(kKeyEscape, 0);
            } else if (enabled(Button::cmdStop)) {
                k.cmdStop_Click();
            }
        } else if (roll < 64) {
            note("click optMessage" + at);
            k.optMessage_Click(slot);
        } else if (roll < 70) {
            const char* text =
                any({"", "abc", "-3", "1e999", "20", "0", "2.5", "0.004", "5", "1000"});
            note("set txtPAM" + at + " \"" + text + "\"");
            k.txtPAM_Change(slot, text);
        } else if (roll < 75) {
            note("set chkLoop" + at + " " + std::to_string(slot % 3));
            k.chkLoop_Change(slot, slot % 3);
        } else if (roll < 80) {
            note("click cmdXmit");
            if (enabled(Button::cmdXmit)) {
                k.cmdXmit_Click();
                manual_ = manual_ || k.fields().PTTKeyed;
            }
        } else if (roll < 86) {
            const Check box = roll < 84 ? Check::chkMode : Check::chkInterval;
            note(roll < 84 ? "click chkMode" : "click chkInterval");
            const int value = k.state().checks[int(box)] ? 0 : 1;
            roll < 84 ? k.chkMode_Click(value) : k.chkInterval_Click(value);
        } else if (roll < 93) {
            note(roll < 88 ? "menu timing" + at : "menu PTT Enable");
            roll < 88 ? k.mnuOptionsTimingItem_Click(slot % 4) : k.mnuOptionsItem_Click(2);
        } else if (roll < 97) {  // the sound server comes and goes; CTS interrupts now and then
            note(roll < 94 ? "audio lost/back" : "line CTS");
            roll < 94 ? s_.channels.set_audio_lost(pick(2) == 0) : s_.serial.set_cts(pick(8) == 0);
        } else {
            const char* line = any({"DTR", "RTS", ""});
            const char* delay = any({"300", "0", "50", "70000"});
            note(std::string("preferences cmbPTT ") + line + " txtPTTDelay " + delay);
            k.mnuFileItem_Click(2);
            if (auto* form = k.preferences_form()) {
                form->set_text(PrefControl::cmbPTT, line);
                form->set_text(PrefControl::txtPTTDelay, delay);
                form->cmdSave_Click();
            }
        }
        // A run started outside Sked mode owns the key from now on and releases it at its end.
        const MainScreenFields& f = k.fields();
        if (started && f.Playing && !f.SkedMode) {
            manual_ = false;
        }
        idle_since_.reset();
        return check();
    }

    /// Empty while the line is held for a reason.
    std::string check() {
        const MainScreenFields& f = s_.keyer.fields();
        const bool raised = s_.serial.dtr_on() || s_.serial.rts_on();
        const Ms now = s_.scheduler.now();
        if (s_.keyer.state().panels[int(Panel::pnlPTT)] == "PTT On" && !raised) {
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
        if (raised && !f.PTTKeyed) {
            return "line raised while the keyer believes the transmitter released";
        }
        if (raised && !f.Playing && !manual_) {
            return "line raised with no run and no manual key";
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
        ASSERT_TRUE(station.serial.is_open());
        RandomOperator op(station, seed);
        EXPECT_EQ(op.run(3000), "") << "seed " << seed;
        // The session must have sent messages, or it proves nothing about keying.
        EXPECT_GT(op.sending_samples, 100) << "seed " << seed;
    }
}

}  // namespace
}  // namespace parlomat::test
