#pragma once

#include <string>

#include "core/keyer/serial_port.h"
#include "core/keyer/window_state.h"
#include "core/runtime/event_log.h"
#include "core/runtime/scheduler.h"
#include "core/settings/preferences.h"
#include "core/shell/link.h"

namespace parlomat {

/// What the PTT object needs of the main window it works for.
class PttHost {
  public:
    virtual ~PttHost() = default;
    virtual void ShowPanel(Panel panel, const std::string& text) = 0;
    /// The transmitter has been keyed without a break for the TX time-out.
    virtual void TxTimedOut() = 0;
    /// A linked unkey was sent: the link's release wait begins.
    virtual void StartReleaseWait() = 0;
};

/// The one object that keys and unkeys the transmitter: a serial output line, the link, or the
/// simulated PTT. It knows whether a key request really took ("PTT On") or not ("PTT Fail"),
/// lowers on every unkey whatever it raised, and ends any key-down that outlasts the TX time-out.
class Ptt {
  public:
    /// The fields are the main window's own: `PTTKeyed` is written here, the others are read.
    struct Fields {
        bool& PTTKeyed;
        const bool& PTTEnabled;
        const bool& FTLinkActive;
        const Preferences& prefs;
    };

    Ptt(Scheduler& scheduler, SerialPort& SP, Fields fields, PttHost& host, EventLog& log);
    ~Ptt();
    Ptt(const Ptt&) = delete;
    Ptt& operator=(const Ptt&) = delete;

    /// `PTT_Control`: true keys, false unkeys, for message slot `slot` (1..6). Returns at once.
    /// A new key-down and the key-up that ends it go into the station log with their cause.
    void Control(bool keyed, KeyCause cause, int slot);
    /// The link's monitor once the link is chosen (nullptr: none).
    void set_monitor(LinkMonitor* monitor) { monitor_ = monitor; }
    /// Drops every line this object raised and unkeys the link: the program is going away.
    void ReleaseAll();
    /// The serial port is gone (a USB adapter unplugged): its lines went with it.
    void PortLost();
    bool port_lost() const { return port_lost_; }
    /// A line, the link or the simulation really holds the transmitter keyed now.
    bool on_air() const { return on_air_; }
    /// The link was asked to key and has not since been told to unkey.
    bool link_keyed() const { return link_keyed_; }
    /// A link call that had returned at once failed later: the key did not take.
    void LinkFailed();

  private:
    void Apply(bool keyed);
    void KeySerial();
    void KeyLink();
    void UnkeyLink();
    void LowerRaisedLines();
    void StartKeyDown();
    void EndKeyDown();
    std::string PortNotOpenReason() const;

    Scheduler& scheduler_;
    SerialPort& SP;
    Fields f_;
    PttHost& host_;
    EventLog& log_;
    int slot_ = 0;  ///< the slot of the running key-down, for its key-up entry
    LinkMonitor* monitor_ = nullptr;
    bool dtr_raised_ = false;
    bool rts_raised_ = false;
    bool link_keyed_ = false;  ///< asked to key and not since told to unkey
    bool on_air_ = false;
    bool port_lost_ = false;
    bool key_down_ = false;  ///< a key request not yet followed by an unkey
    Scheduler::CallbackId timeout_ = 0;
};

}  // namespace parlomat
