#pragma once

namespace parlomat {

/// Routes the ALSA and JACK libraries' messages (PortAudio's device probing prints a dozen
/// errors about absent cards and servers on every start) into the parlomat.audio debug log,
/// and keeps JACK from starting a server. Call before Pa_Initialize; repeating it is harmless.
void QuietAudioBackends();

}  // namespace parlomat
