#include "core/keyer/keyer.h"

#include <utility>

namespace parlomat {

Keyer::Keyer(KeyerPorts ports)
    : ports_(std::move(ports)),
      scheduler_(ports_.scheduler),
      mci(ports_.mci),
      SP(ports_.SP),
      dialogs_(ports_.dialogs),
      launcher_(ports_.launcher),
      screen_(ports_.view),
      clock_(scheduler_, screen_, prefs, [this] { PollPTTInterrupt(); }),
      sked_(scheduler_, screen_, prefs, clock_, *this),
      slots_(screen_, mci, dialogs_, launcher_, prefs,
             {ports_.station_dir, ports_.files, ports_.sound_extensions}, *this),
      sequencer_(scheduler_, screen_, mci, prefs, sked_,
                 {slots_.fields().ActiveMsg, slots_.fields().MsgLoaded}, *this),
      log_(ports_.log != nullptr ? *ports_.log : no_log_),
      ptt_(scheduler_, SP, Ptt::Fields{PTTKeyed, PTTEnabled, FTLinkActive, prefs}, *this, log_),
      tmrFTLinkDelay(
          scheduler_, [this] { tmrFTLinkDelay_Timer(); }, Ms{0}, true),
      tmrListen(
          scheduler_, [this] { tmrListen_Timer(); }, Ms{100}, false) {
    mci.set_listener(this);
    SP.set_lost_handler([this] { SP_Lost(); });
}

Keyer::~Keyer() {
    mci.set_listener(nullptr);
    SP.set_lost_handler({});
}

MainScreenFields Keyer::fields() const {
    const KeyerFields& own = *this;
    return {slots_.fields(), sequencer_.fields(), sked_.fields(), clock_.fields(), own};
}

void Keyer::chkMode_Click(int value) {
    screen_.set_check(Check::chkMode, value == 1);
    sequencer_.cmdStop_Click();
    if (!sked_.SwitchMode()) {
        sequencer_.ResumeStatusTick();
        sequencer_.cmdStop_Click();
    }
}

bool Keyer::modal_open() const {
    return screen_.shown(Window::frmPreferences) || screen_.shown(Window::frmAbout) ||
           screen_.shown(Window::frmAboutKeys);
}

void Keyer::DeviceNotice(const std::string& text) {
    screen_.set_panel(Panel::pnlFeedback, text);
}

}  // namespace parlomat
