#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <utility>

#include "platform/serial/modem_shim.h"

namespace parlomat::test {

/// A pseudo-terminal named in the modem shim's state file: the shim emulates its modem lines
/// in every process that preloads it and finds that file in PARLOMAT_MODEM_SHIM.
struct ModemLine {
    /// Maps (creating it) the state file `state_path` and opens a pseudo-terminal for it.
    bool open(const std::string& state_path) {
        const int fd = ::open(state_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        void* mapped = fd >= 0 && ftruncate(fd, sizeof *shim) == 0
                           ? mmap(nullptr, sizeof *shim, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                           : MAP_FAILED;
        close(fd);
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (mapped == MAP_FAILED || master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
            return false;
        }
        shim = static_cast<ModemShimState*>(std::memset(mapped, 0, sizeof *shim));
        tty = ptsname(master);
        std::strncpy(shim->device, tty.c_str(), sizeof shim->device - 1);
        return true;
    }
    /// Closes the far end: the kernel hangs the tty up, as on a USB unplug.
    void hang_up() { close(std::exchange(master, -1)); }
    ~ModemLine() {
        hang_up();
        if (shim != nullptr) {
            munmap(std::memset(shim, 0, sizeof *shim), sizeof *shim);
        }
    }

    ModemShimState* shim = nullptr;
    std::string tty;
    int master = -1;  ///< the far end of the line, as a serial driver's receive side
};

}  // namespace parlomat::test
