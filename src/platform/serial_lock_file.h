#pragma once

#include <string>
#include <vector>

namespace parlomat {

/// A UUCP-style lock file ("LCK..ttyUSB0" holding the owner's process id), the convention
/// terminal programs, rig-control programs and QSerialPort use to claim a serial device.
class SerialLockFile {
  public:
    enum class Result {
        kAcquired,     ///< our lock file now exists
        kHeld,         ///< a running process holds the device
        kUnavailable,  ///< no lock directory is writable; the device is not claimed by a file
    };

    /// `dirs` are searched for a live lock, and ours is made in the first one that takes it.
    explicit SerialLockFile(std::vector<std::string> dirs);
    ~SerialLockFile();
    SerialLockFile(const SerialLockFile&) = delete;
    SerialLockFile& operator=(const SerialLockFile&) = delete;

    /// Claims `device` (a symbolic link counts as the device it names). A lock left by a process
    /// that no longer runs is removed and taken over.
    Result acquire(const std::string& device);
    /// Removes our lock file, if it still holds our process id.
    void release();

    /// The lock file name for `device`: "LCK.." + its path below /dev with "/" as "_".
    static std::string LockName(const std::string& device);

  private:
    std::vector<std::string> dirs_;
    std::string held_path_;
};

}  // namespace parlomat
