#pragma once

namespace parlomat {

/// Where a run stands. One value, changed only by the sequencer and the Sked clock.
enum class RunPhase {
    Idle,       ///< no run: transmitter released
    KeyDelay,   ///< keyed, waiting the PTT delay before the message
    Sending,    ///< keyed, the message plays
    Gap,        ///< keyed between two passes of a loop without a receive window
    Listening,  ///< released for a loop's receive window
    SkedWait,   ///< Sked run armed, released until the next transmit segment starts a pass
};

}  // namespace parlomat
