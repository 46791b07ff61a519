#include "platform/serial_lock_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace parlomat {
namespace {

std::string CanonicalPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

/// The process id in a lock file: ten ASCII digits (or any leading decimal number, as
/// QLockFile writes), or a four-byte binary integer as old Kermit versions wrote.
std::optional<pid_t> ReadOwner(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return std::nullopt;
    }
    char buffer[64] = {};
    const ssize_t size = read(fd, buffer, sizeof buffer - 1);
    close(fd);
    if (size == static_cast<ssize_t>(sizeof(int)) &&
        (buffer[0] < ' ' || static_cast<unsigned char>(buffer[0]) > '~')) {
        int binary = 0;
        std::memcpy(&binary, buffer, sizeof binary);
        return static_cast<pid_t>(binary);
    }
    if (size <= 0) {
        return std::nullopt;
    }
    char* end = nullptr;
    const long value = std::strtol(buffer, &end, 10);
    if (end == buffer || value <= 0 || value > INT_MAX) {
        return std::nullopt;
    }
    return static_cast<pid_t>(value);
}

bool IsRunning(pid_t pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

/// True when `path` exists and names a running process other than a stale one.
bool HeldByLiveProcess(const std::string& path) {
    if (access(path.c_str(), F_OK) != 0) {
        return false;
    }
    const auto owner = ReadOwner(path);
    return owner && IsRunning(*owner);
}

bool WriteOwnLock(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(getpid()));
    const bool written = write(fd, text, static_cast<std::size_t>(length)) == length;
    close(fd);
    if (!written) {
        unlink(path.c_str());
    }
    return written;
}

}  // namespace

SerialLockFile::SerialLockFile(std::vector<std::string> dirs) : dirs_(std::move(dirs)) {}

SerialLockFile::~SerialLockFile() {
    release();
}

std::string SerialLockFile::LockName(const std::string& device) {
    std::string name = CanonicalPath(device);
    static constexpr std::string_view kDev = "/dev/";
    if (name.starts_with(kDev)) {
        name.erase(0, kDev.size());
    } else if (const auto slash = name.find_last_of('/'); slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    return "LCK.." + name;
}

SerialLockFile::Result SerialLockFile::acquire(const std::string& device) {
    release();
    const std::string name = "/" + LockName(device);
    for (const auto& dir : dirs_) {
        if (HeldByLiveProcess(dir + name)) {
            return Result::kHeld;
        }
    }
    for (const auto& dir : dirs_) {
        const std::string path = dir + name;
        if (access(path.c_str(), F_OK) == 0) {
            unlink(path.c_str());
        }
        if (WriteOwnLock(path)) {
            held_path_ = path;
            return Result::kAcquired;
        }
        if (errno == EEXIST) {
            return Result::kHeld;
        }
    }
    return Result::kUnavailable;
}

void SerialLockFile::release() {
    if (held_path_.empty()) {
        return;
    }
    if (ReadOwner(held_path_) == getpid()) {
        unlink(held_path_.c_str());
    }
    held_path_.clear();
}

}  // namespace parlomat
