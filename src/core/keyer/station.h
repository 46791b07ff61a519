#pragma once

#include <utility>

#include "core/keyer/keyer.h"
#include "core/keyer/remote_control.h"
#include "core/keyer/splash.h"

namespace parlomat {

/// The keyer's one assembly: the main screen, its start-up window and the control socket's
/// handler, wired to the ports given. Real and simulated stations alike build exactly this.
struct Station {
    explicit Station(const KeyerPorts& ports, RemoteControl::Hooks hooks = {})
        : keyer(ports),
          splash(ports.scheduler, ports.view, keyer),
          remote(keyer, splash, std::move(hooks)) {}
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    Keyer keyer;
    Splash splash;
    RemoteControl remote;
};

}  // namespace parlomat
