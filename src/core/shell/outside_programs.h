#pragma once

#include <cstdint>
#include <string>

#include "core/runtime/launcher.h"

namespace parlomat {

/// Which controls of the sound mixer to show.
enum class MixerControls { Playback, Recording };

/// Starts the desktop's mixer on the playback or recording controls: pavucontrol on its tab,
/// else the first terminal emulator found running alsamixer. False when nothing could be started.
bool StartMixer(Launcher& launcher, MixerControls controls);

/// Starts the first system information tool installed. False when none is, or it did not start.
bool StartSystemInformation(Launcher& launcher);

/// Opens `strURL` with the desktop's handler for it. The result is not looked at; the window
/// style (1: a normal window that takes the focus) is the desktop's business.
void RunBrowser(Launcher& launcher, const std::string& strURL, std::int16_t iwindowstyle);

}  // namespace parlomat
