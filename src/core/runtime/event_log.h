#pragma once

namespace parlomat {

/// Why the transmitter was keyed or released.
enum class KeyCause {
    Start,         ///< the operator started a message
    Repeat,        ///< a loop's receive window ended: the next pass keys
    SkedSegment,   ///< a Sked transmit segment began or ended
    Manual,        ///< the Xmit button
    Stop,          ///< a run stopped (Stop, an interrupt, a TX time-out, a failed pass)
    EndOfMessage,  ///< the message ended (end of run or a loop's receive window)
    PortLost,      ///< the serial port went away
};

/// The station log as the keyer writes it: a transmit log an operator can hold against the
/// logbook. The adapter stamps each entry with the UTC time to the millisecond (device adapters
/// log their own events there too); the simulation writes nothing.
class EventLog {
  public:
    virtual ~EventLog() = default;
    /// A key-down (`down`) or key-up of the transmitter for message slot `slot` (1..6).
    /// `on_air`: a line or the rig really took the key.
    virtual void KeyChange(bool down, KeyCause cause, int slot, bool on_air) = 0;
    /// A key-down outlasted the TX time-out of `seconds` and is ended now.
    virtual void TxTimedOut(int seconds) = 0;
};

/// Writes nothing: the simulation's log, and the default where none is given.
class NullEventLog final : public EventLog {
  public:
    void KeyChange(bool, KeyCause, int, bool) override {}
    void TxTimedOut(int) override {}
};

/// Short lower-case text of a cause, as the log writes it.
inline const char* KeyCauseText(KeyCause cause) {
    switch (cause) {
        case KeyCause::Start:
            return "start";
        case KeyCause::Repeat:
            return "repeat";
        case KeyCause::SkedSegment:
            return "sked segment";
        case KeyCause::Manual:
            return "manual";
        case KeyCause::Stop:
            return "stop";
        case KeyCause::EndOfMessage:
            return "end of message";
        case KeyCause::PortLost:
            return "port lost";
    }
    return "";
}

}  // namespace parlomat
