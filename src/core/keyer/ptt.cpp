#include "core/keyer/ptt.h"

#include <chrono>

namespace parlomat {

Ptt::Ptt(Scheduler& scheduler, SerialPort& SP, Fields fields, PttHost& host, EventLog& log)
    : scheduler_(scheduler), SP(SP), f_(fields), host_(host), log_(log) {}

Ptt::~Ptt() {
    scheduler_.cancel(timeout_);
}

void Ptt::Control(bool keyed, KeyCause cause, int slot) {
    const bool was_down = key_down_;
    Apply(keyed);
    if (keyed && !was_down) {
        slot_ = slot;
        log_.KeyChange(true, cause, slot, on_air_);
    } else if (!keyed && was_down) {
        log_.KeyChange(false, cause, slot_, on_air_);
    }
}

void Ptt::Apply(bool keyed) {
    if (keyed) {
        StartKeyDown();
    } else {
        EndKeyDown();
    }
    if (!f_.PTTEnabled) {
        if (!keyed) {
            LowerRaisedLines();
        }
        f_.PTTKeyed = keyed;
        on_air_ = keyed;
        host_.ShowPanel(Panel::pnlPTT, keyed ? "PTT Sim On" : "PTT Sim Off");
        return;
    }
    if (f_.FTLinkActive) {
        if (keyed) {
            KeyLink();
        } else {
            UnkeyLink();
        }
        return;
    }
    if (keyed) {
        KeySerial();
        return;
    }
    LowerRaisedLines();
    f_.PTTKeyed = false;
    on_air_ = false;
    host_.ShowPanel(Panel::pnlPTT, "PTT Off");
}

void Ptt::KeySerial() {
    const std::string& key = f_.prefs.PTTKey;
    const bool assigned = key == "DTR" || key == "RTS";
    // A PTT line changed in the preferences while keyed takes over from the old one.
    if (key == "DTR" && rts_raised_) {
        SP.set_rts(false);
        rts_raised_ = false;
    } else if (key == "RTS" && dtr_raised_) {
        SP.set_dtr(false);
        dtr_raised_ = false;
    }
    if (!assigned) {
        host_.ShowPanel(Panel::pnlFeedback, "No PTT Key Assignment");
    } else if (!SP.is_open()) {
        host_.ShowPanel(Panel::pnlFeedback, PortNotOpenReason());
    } else if (key == "DTR") {
        SP.set_dtr(true);
        dtr_raised_ = true;
    } else {
        SP.set_rts(true);
        rts_raised_ = true;
    }
    f_.PTTKeyed = true;
    on_air_ = dtr_raised_ || rts_raised_;
    host_.ShowPanel(Panel::pnlPTT, on_air_ ? "PTT On" : "PTT Fail");
}

void Ptt::KeyLink() {
    f_.PTTKeyed = true;
    link_keyed_ = true;
    if (monitor_ == nullptr || !monitor_->SetPTT(true)) {
        host_.ShowPanel(Panel::pnlFeedback, "PTT crap error");
        host_.ShowPanel(Panel::pnlPTT, "PTT Fail");
        return;
    }
    on_air_ = true;
    host_.ShowPanel(Panel::pnlPTT, "PTT On");
}

void Ptt::UnkeyLink() {
    LowerRaisedLines();
    if (monitor_ == nullptr || !monitor_->SetPTT(false)) {
        host_.ShowPanel(Panel::pnlFeedback, "PTT crap error");
        return;
    }
    link_keyed_ = false;
    on_air_ = false;
    host_.ShowPanel(Panel::pnlPTT, "PTT Off");
    host_.StartReleaseWait();
}

void Ptt::LinkFailed() {
    host_.ShowPanel(Panel::pnlFeedback, "PTT crap error");
    if (link_keyed_) {
        on_air_ = false;
        host_.ShowPanel(Panel::pnlPTT, "PTT Fail");
    }
}

void Ptt::LowerRaisedLines() {
    if (dtr_raised_) {
        SP.set_dtr(false);
        dtr_raised_ = false;
    }
    if (rts_raised_) {
        SP.set_rts(false);
        rts_raised_ = false;
    }
}

void Ptt::ReleaseAll() {
    const bool was_down = key_down_;
    EndKeyDown();
    LowerRaisedLines();
    if (link_keyed_ && monitor_ != nullptr && monitor_->SetPTT(false)) {
        link_keyed_ = false;
    }
    on_air_ = false;
    if (was_down) {
        log_.KeyChange(false, KeyCause::Stop, slot_, on_air_);
    }
}

void Ptt::PortLost() {
    port_lost_ = true;
    dtr_raised_ = false;
    rts_raised_ = false;
    if (!f_.FTLinkActive && f_.PTTEnabled) {
        on_air_ = false;
    }
}

void Ptt::StartKeyDown() {
    // A key request while already keyed is no new key-down: the line never dropped.
    if (key_down_) {
        return;
    }
    key_down_ = true;
    if (f_.prefs.TXTimeout <= 0) {
        return;
    }
    const auto limit = std::chrono::duration_cast<Ms>(std::chrono::seconds{f_.prefs.TXTimeout});
    timeout_ = scheduler_.call_at(scheduler_.now() + limit, [this] {
        timeout_ = 0;
        host_.TxTimedOut();
    });
}

void Ptt::EndKeyDown() {
    key_down_ = false;
    scheduler_.cancel(timeout_);
    timeout_ = 0;
}

std::string Ptt::PortNotOpenReason() const {
    if (port_lost_) {
        return "Comm port lost";
    }
    return "Comm port " + std::to_string(SP.port_number()) + " is not open";
}

}  // namespace parlomat
