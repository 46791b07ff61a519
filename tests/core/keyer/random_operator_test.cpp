#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <string>

#include "core/settings/temp_dir.h"
#include "sim_station.h"

namespace parlomat::test {
namespace {

using std::chrono::sys_days;

constexpr int kSteps = 3000;
constexpr Ms kSample{50};
// Longest a key may last with nothing playing beyond the PTT delay: one status tick to notice
// the end of a pass, one sample of lateness, and the Sked repeat gap.
constexpr Ms kKeyedIdleSlack{200};
constexpr Ms kTxTimeout{20'000};  // "TX Timeout" of the station below

const std::array<const char*, 10> kDelayTexts = {"",  "abc", "-3",    "1e999", "20",
                                                 "0", "2.5", "0.004", "5",     "1000"};
const std::array<const char*, 9> kLoadChoices = {"a.wav", "b.wav",    "c.wav",    "d.wav", "e.wav",
                                                 "f.wav", "junk.wav", "gone.wav", ""};
const std::array<const char*, 3> kPttLines = {"DTR", "RTS", ""};
const std::array<const char*, 4> kPttDelays = {"300", "0", "50", "70000"};

void WriteStation(const TempDir& dir) {
    SimChannels::WriteSilence(dir.file("a.wav"), 1500);
    SimChannels::WriteSilence(dir.file("b.wav"), 700);
    SimChannels::WriteSilence(dir.file("c.wav"), 4000);
    SimChannels::WriteSilence(dir.file("d.wav"), 300);
    SimChannels::WriteSilence(dir.file("e.wav"), 0);
    SimChannels::WriteSilence(dir.file("f.wav"), 50);
    WriteBytes(dir.file("junk.wav"), "not a wave file\n");
    WriteBytes(dir.file("parlomat.ini"),
               "[Preference]\nPTT Delay=300\nNAMSTiming=1\nTX Timeout=20\n"
               "[MSG Config]\n"
               "MSG1=a.wav\nDelay1=0\nLoop1=False\n"
               "MSG2=b.wav\nDelay2=20\nLoop2=True\n"
               "MSG3=c.wav\nDelay3=0\nLoop3=True\n"
               "MSG4=junk.wav\nDelay4=5\nLoop4=True\n"
               "MSG5=f.wav\nDelay5=0\nLoop5=True\n"
               "MSG6=e.wav\nDelay6=0\nLoop6=True\n");
}

/// Watches the serial PTT line through a whole random session. Between two operator actions
/// the line may be raised only while the keyer believes it keyed, only during a run or a manual
/// key, and never longer than the PTT delay plus two status ticks with nothing playing, unless
/// the operator keyed by hand; no key-down outlasts the TX time-out; "PTT On" is shown only
/// with a line raised.
class LineWatch {
  public:
    /// Checked at every sample; false with `why` filled when the line is held for no reason.
    bool check(SimStation& s, std::string& why) {
        const MainScreenFields& f = s.keyer.fields();
        const bool raised = s.serial.dtr_on() || s.serial.rts_on();
        const Ms now = s.scheduler.now();
        if (s.keyer.state().panels[static_cast<int>(Panel::pnlPTT)] == "PTT On" && !raised) {
            why = "\"PTT On\" shown with no line raised";
            return false;
        }
        if (!raised) {
            raised_since_.reset();
        } else if (!raised_since_) {
            raised_since_ = now;
        } else if (now - *raised_since_ > kTxTimeout + kSample) {
            why = "line raised without a break since " + std::to_string(raised_since_->count()) +
                  " ms, longer than the TX time-out";
            return false;
        }
        // A key delay runs with the PTT delay in force when it began, even if changed since.
        const Ms delay = std::clamp(Ms{f.prefs.PTTDelay}, Ms{1}, Timer::kMaxInterval);
        longest_delay_ = raised ? std::max(longest_delay_, delay) : delay;
        if (!f.PTTKeyed) {
            manual_ = false;
        }
        if (raised && !f.PTTKeyed) {
            why = "line raised while the keyer believes the transmitter released";
            return false;
        }
        if (raised && !f.Playing && !manual_) {
            why = "line raised with no run and no manual key";
            return false;
        }
        const bool playing = s.channels.ChannelMode(f.ActiveMsg) == mode::kPlaying;
        if (raised && playing) {
            ++sending_samples_;
        }
        if (!raised || playing || manual_) {
            idle_since_.reset();
            return true;
        }
        if (!idle_since_) {
            idle_since_ = now;
        }
        const Ms bound = longest_delay_ + kKeyedIdleSlack;
        if (now - *idle_since_ > bound) {
            why = "line raised with nothing playing since " + std::to_string(idle_since_->count()) +
                  " ms";
            return false;
        }
        return true;
    }

    /// An operator action: a new key (or a refused one) starts a fresh measure.
    void action(SimStation& s, bool manual_key, bool started) {
        const MainScreenFields& f = s.keyer.fields();
        if (manual_key && f.PTTKeyed) {
            manual_ = true;
        }
        // A run started outside Sked mode owns the key from now on and releases it at its end.
        if (started && f.Playing && !f.SkedMode) {
            manual_ = false;
        }
        idle_since_.reset();
    }

    /// Samples at which a message went out over a keyed line.
    int sending_samples() const { return sending_samples_; }

  private:
    int sending_samples_ = 0;
    Ms longest_delay_{0};
    bool manual_ = false;
    std::optional<Ms> idle_since_;
    std::optional<Ms> raised_since_;
};

class RandomOperator {
  public:
    RandomOperator(SimStation& s, unsigned seed) : s_(s), rng_(seed) {}

    /// Runs `steps` random actions; false at the first broken rule, with `failure` telling why.
    bool run(int steps, std::string& failure) {
        for (int step = 0; step < steps; ++step) {
            std::string why;
            if (!act(why)) {
                failure = "step " + std::to_string(step) + ": " + why + "\n" + history();
                return false;
            }
        }
        return true;
    }

    int sending_samples() const { return watch_.sending_samples(); }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    /// Marks an action in the trace, so that a failure shows the latest actions and their events.
    void note(const std::string& what) { s_.trace.event("> " + what); }

    /// The last lines of the trace.
    std::string history() const {
        const std::string log = s_.log.str();
        return log.substr(log.size() > 4000 ? log.find('\n', log.size() - 4000) + 1 : 0);
    }

    bool enabled(Button button) const { return s_.keyer.state().buttons[static_cast<int>(button)]; }

    bool act(std::string& why) {
        Keyer& k = s_.keyer;
        const int roll = pick(100);
        if (roll < 35) {
            const int ms = 1 + pick(5000);
            note("advance " + std::to_string(ms));
            for (int done = 0; done < ms;) {
                const int step = std::min<int>(ms - done, int(kSample.count()));
                s_.scheduler.advance(Ms{step});
                done += step;
                if (!watch_.check(s_, why)) {
                    why += " (at " + std::to_string(s_.scheduler.now().count()) + " ms)";
                    return false;
                }
            }
            return true;
        }
        if (k.modal_open()) {
            if (auto* form = k.preferences_form()) {
                form->cmdCancel_Click();
            }
            note("dialog cmdCancel");
            return watch_.check(s_, why);
        }
        bool manual = false;
        bool started = false;
        if (roll < 45) {
            const int slot = pick(6);
            note("F" + std::to_string(slot + 1));
            k.Form_KeyDown(112 + slot, pick(2));
            started = true;
        } else if (roll < 52) {
            note("click cmdStart / F12");
            if (pick(2) == 0) {
                k.Form_KeyDown(123, 0);
            } else if (enabled(Button::cmdStart)) {
                k.cmdStart_Click();
            }
            started = true;
        } else if (roll < 58) {
            note("Esc / click cmdStop");
            if (pick(2) == 0) {
                k.Form_KeyDown(27, 0);
            } else if (enabled(Button::cmdStop)) {
                k.cmdStop_Click();
            }
        } else if (roll < 64) {
            note("click optMessage");
            k.optMessage_Click(pick(6));
        } else if (roll < 70) {
            const int slot = pick(6);
            const char* text = kDelayTexts[pick(int(kDelayTexts.size()))];
            note("set txtPAM " + std::to_string(slot) + " \"" + text + "\"");
            k.txtPAM_Change(slot, text);
        } else if (roll < 75) {
            const int slot = pick(6);
            const int value = pick(3);
            note("set chkLoop " + std::to_string(slot + 1) + " " + std::to_string(value));
            k.chkLoop_Change(slot, value);
        } else if (roll < 80) {
            note("click cmdXmit");
            if (enabled(Button::cmdXmit)) {
                k.cmdXmit_Click();
                manual = true;
            }
        } else if (roll < 84) {
            const bool checked = k.state().checks[static_cast<int>(Check::chkMode)];
            note("click chkMode");
            k.chkMode_Click(checked ? 0 : 1);
        } else if (roll < 86) {
            const bool checked = k.state().checks[static_cast<int>(Check::chkInterval)];
            note("click chkInterval");
            k.chkInterval_Click(checked ? 0 : 1);
        } else if (roll < 88) {
            note("menu Options 1 timing");
            k.mnuOptionsTimingItem_Click(pick(4));
        } else if (roll < 91) {
            note("menu Options 2 (PTT Enable)");
            k.mnuOptionsItem_Click(2);
        } else if (roll < 92) {
            const bool lost = pick(2) == 0;
            note(lost ? "audio lost" : "audio back");
            s_.channels.set_audio_lost(lost);
        } else if (roll < 95) {
            const bool on = pick(8) == 0;
            note(std::string("line CTS ") + (on ? "on" : "off"));
            s_.serial.set_cts(on);
        } else if (roll < 97) {
            const char* choice = kLoadChoices[pick(int(kLoadChoices.size()))];
            note(std::string("click cmdLoad -> ") + choice);
            if (enabled(Button::cmdLoad)) {
                s_.dialogs.queue_choice(*choice ? std::optional<std::string>(choice)
                                                : std::nullopt);
                k.cmdLoad_Click();
            }
        } else if (roll < 98) {
            note("click cmdErase");
            if (enabled(Button::cmdErase)) {
                s_.dialogs.queue_reply(pick(2) == 0 ? MsgReply::Yes : MsgReply::No);
                k.cmdErase_Click();
            }
        } else {
            const char* line = kPttLines[pick(int(kPttLines.size()))];
            const char* delay = kPttDelays[pick(int(kPttDelays.size()))];
            note(std::string("preferences cmbPTT ") + line + " txtPTTDelay " + delay);
            k.mnuFileItem_Click(2);
            if (auto* form = k.preferences_form()) {
                form->set_text(PrefControl::cmbPTT, line);
                form->set_text(PrefControl::txtPTTDelay, delay);
                form->cmdSave_Click();
            }
        }
        watch_.action(s_, manual, started);
        return watch_.check(s_, why);
    }

    SimStation& s_;
    std::mt19937 rng_;
    LineWatch watch_;
};

TEST(RandomOperator, TransmitterIsKeyedOnlyForARunOrAManualKey) {
    for (const unsigned seed : {1u, 7u, 42u, 2026u, 65535u}) {
        TempDir dir;
        WriteStation(dir);
        SimStation station(dir.path().string(),
                           LocalTime{sys_days{std::chrono::year{2026} / 1 / 1}.time_since_epoch()} +
                               std::chrono::hours{12});
        ASSERT_TRUE(station.serial.is_open());
        RandomOperator op(station, seed);
        std::string failure;
        EXPECT_TRUE(op.run(kSteps, failure)) << "seed " << seed << ", " << failure;
        // The session must have sent messages, or it proves nothing about keying.
        EXPECT_GT(op.sending_samples(), 100) << "seed " << seed;
    }
}

}  // namespace
}  // namespace parlomat::test
