#include "platform/audio_quiet.h"

#include <dlfcn.h>

#include <QtGlobal>
#include <cstdarg>
#include <cstdio>

#include "platform/log_categories.h"

namespace parlomat {
namespace {

// The libraries come in with PortAudio; looked up at run time so that neither becomes a build
// dependency of ours.
using AlsaHandler = void (*)(const char* file, int line, const char* function, int err,
                             const char* format, ...);
using AlsaSetHandler = int (*)(AlsaHandler);
using JackHandler = void (*)(const char*);
using JackSetHandler = void (*)(JackHandler);

void AlsaMessage(const char* file, int line, const char*, int, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    qCDebug(lcAudio, "ALSA %s:%d: %s", file, line, text);
}

void JackMessage(const char* text) {
    qCDebug(lcAudio, "JACK: %s", text);
}

template <typename F>
F Find(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
}

}  // namespace

void QuietAudioBackends() {
    // A keyer never wants a JACK server started for it; one already running is still used.
    qputenv("JACK_NO_START_SERVER", "1");
    if (const auto set = Find<AlsaSetHandler>("snd_lib_error_set_handler")) {
        set(&AlsaMessage);
    }
    if (const auto set = Find<JackSetHandler>("jack_set_error_function")) {
        set(&JackMessage);
    }
    if (const auto set = Find<JackSetHandler>("jack_set_info_function")) {
        set(&JackMessage);
    }
}

}  // namespace parlomat
