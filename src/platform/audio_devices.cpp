#include "platform/audio_devices.h"

#include <portaudio.h>

#include "platform/audio_quiet.h"
#include "platform/log_categories.h"

namespace parlomat {
namespace {

int channels_of(const PaDeviceInfo& info, AudioDirection direction) {
    return direction == AudioDirection::Output ? info.maxOutputChannels : info.maxInputChannels;
}

}  // namespace

PortAudioSession::PortAudioSession() {
    QuietAudioBackends();
    const PaError error = Pa_Initialize();
    ok_ = error == paNoError;
    if (!ok_) {
        qCWarning(lcAudio, "PortAudio did not start: %s", Pa_GetErrorText(error));
    }
}

PortAudioSession::~PortAudioSession() {
    if (ok_) {
        Pa_Terminate();
    }
}

std::vector<std::string> AudioDeviceNames(AudioDirection direction) {
    std::vector<std::string> names;
    const int count = Pa_GetDeviceCount();
    for (int i = 0; i < count; ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (info != nullptr && info->name != nullptr && channels_of(*info, direction) > 0) {
            names.emplace_back(info->name);
        }
    }
    return names;
}

AudioDeviceChoice FindAudioDevice(const std::string& name, AudioDirection direction) {
    AudioDeviceChoice choice;
    if (!name.empty()) {
        const int count = Pa_GetDeviceCount();
        for (int i = 0; i < count; ++i) {
            const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
            if (info != nullptr && info->name != nullptr && name == info->name &&
                channels_of(*info, direction) > 0) {
                choice.index = i;
                return choice;
            }
        }
        choice.fell_back = true;
    }
    const PaDeviceIndex fallback = direction == AudioDirection::Output ? Pa_GetDefaultOutputDevice()
                                                                       : Pa_GetDefaultInputDevice();
    choice.index = fallback == paNoDevice ? -1 : fallback;
    return choice;
}

}  // namespace parlomat
