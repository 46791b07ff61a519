#pragma once

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <termios.h>
#include <unistd.h>
#include <QCoreApplication>

#include "core/settings/temp_dir.h"
#include "platform/serial/modem_shim.h"

namespace parlomat {

/// A pseudo-terminal with emulated modem lines (the preloaded modem shim), a settings file whose
/// "Ports" section maps COM1 to it, and a lock directory of its own.
class ModemShimTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "platform_serial_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QCoreApplication>(argc, argv);
    }
    static void TearDownTestSuite() { app_.reset(); }

    void SetUp() override {
        ASSERT_NE(dlsym(RTLD_DEFAULT, "parlomat_modem_shim_present"), nullptr)
            << "run with LD_PRELOAD naming libparlomat_modem_shim.so (ctest sets it)";
        shim_ = SharedState();
        ASSERT_NE(shim_, nullptr);
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master_, 0);
        ASSERT_EQ(grantpt(master_), 0);
        ASSERT_EQ(unlockpt(master_), 0);
        tty_ = ptsname(master_);
        std::memset(static_cast<void*>(shim_), 0, sizeof *shim_);
        std::strncpy(shim_->device, tty_.c_str(), sizeof shim_->device - 1);
        shim_->both_high_ns = -1;
        lock_dir_ = dir_.path() / "lock";
        std::filesystem::create_directory(lock_dir_);
        map_port(tty_);
    }

    void TearDown() override {
        if (master_ >= 0) {
            close(master_);
        }
        if (shim_ != nullptr) {
            shim_->device[0] = '\0';
        }
    }

    /// Makes COM1 open `device`.
    void map_port(const std::string& device) {
        std::ofstream(ini_path()) << "[Ports]\nCOM1=" << device << "\n";
    }

    std::string ini_path() const { return (dir_.path() / "parlomat.ini").string(); }
    std::string lock_dir() const { return lock_dir_.string(); }
    bool lock_dir_empty() const { return std::filesystem::is_empty(lock_dir_); }
    /// Runs what the event loop has ready: fd notifications and the calls they queue.
    static void run_event_loop() {
        for (int pass = 0; pass < 10; ++pass) {
            QCoreApplication::processEvents();
        }
    }
    /// The far end of the line, as a serial driver's receive side.
    int far_end() const { return master_; }
    /// The last close of the device by the kernel, as when the process holding it is killed:
    /// waits up to `limit` for the far end to see the device closed, then does what the tty
    /// layer does, read from the device's real termios: DTR and RTS drop when HUPCL is set.
    /// False when the device did not close.
    bool closed_by_kernel(std::chrono::milliseconds limit) {
        pollfd far{master_, POLLHUP, 0};
        if (poll(&far, 1, static_cast<int>(limit.count())) != 1 || (far.revents & POLLHUP) == 0) {
            return false;
        }
        termios tio{};
        if (tcgetattr(master_, &tio) != 0) {
            return false;
        }
        shim_->open_fds = 0;
        if ((tio.c_cflag & HUPCL) != 0) {
            shim_->outputs = 0;
        }
        return true;
    }
    /// Closes the far end: the kernel hangs the tty up, as on a USB unplug.
    void hang_up() {
        close(master_);
        master_ = -1;
    }

    ModemShimState* shim_ = nullptr;
    std::string tty_;

  private:
    /// One state file per process: the shim maps the file it first finds and keeps it.
    static ModemShimState* SharedState() {
        static ModemShimState* state = [] {
            static test::TempDir dir;
            const auto path = (dir.path() / "modem.state").string();
            const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            if (fd < 0 || ftruncate(fd, sizeof(ModemShimState)) != 0) {
                return static_cast<ModemShimState*>(nullptr);
            }
            void* mapped =
                mmap(nullptr, sizeof(ModemShimState), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            close(fd);
            setenv(PARLOMAT_MODEM_SHIM_ENV, path.c_str(), 1);
            return mapped == MAP_FAILED ? nullptr : static_cast<ModemShimState*>(mapped);
        }();
        return state;
    }

    static inline std::unique_ptr<QCoreApplication> app_;
    test::TempDir dir_;
    std::filesystem::path lock_dir_;
    int master_ = -1;
};

}  // namespace parlomat
