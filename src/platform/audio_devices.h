#pragma once

#include <string>
#include <vector>

namespace parlomat {

/// Keeps PortAudio initialised while it lives (PortAudio counts nested sessions).
class PortAudioSession {
  public:
    PortAudioSession();
    ~PortAudioSession();
    PortAudioSession(const PortAudioSession&) = delete;
    PortAudioSession& operator=(const PortAudioSession&) = delete;
    bool ok() const { return ok_; }

  private:
    bool ok_ = false;
};

enum class AudioDirection { Output, Input };

/// A device chosen by name.
struct AudioDeviceChoice {
    int index = -1;          ///< PortAudio device index; -1 = no usable device at all
    bool fell_back = false;  ///< the named device is gone and the default one was taken
};

/// Names of the devices that can play (Output) or record (Input), as PortAudio reports them.
/// Needs a live PortAudioSession.
std::vector<std::string> AudioDeviceNames(AudioDirection direction);

/// The device called `name` (empty = the default device) or, when it is gone, the default.
/// Needs a live PortAudioSession.
AudioDeviceChoice FindAudioDevice(const std::string& name, AudioDirection direction);

}  // namespace parlomat
