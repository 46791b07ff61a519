#pragma once

#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace parlomat::test {

/// Ways a write fails on a real filesystem that a test can set up without mounting anything.
enum class WriteFailure {
    ReadOnlyDirectory,  ///< no new file can be created beside the target
    FullDisk,           ///< writes fail part-way (a file size limit, as a full disk would)
};

inline const char* Name(WriteFailure failure) {
    return failure == WriteFailure::ReadOnlyDirectory ? "read-only directory" : "full disk";
}

/// Runs `write` in a child process that meets `failure` in `dir`, and returns what it returned
/// (nothing when the child did not exit normally). Root writes into any directory, so for a
/// read-only directory the child gives up root first; the file size limit holds for root too.
inline std::optional<bool> WriteUnder(WriteFailure failure, const std::filesystem::path& dir,
                                      const std::function<bool()>& write) {
    constexpr rlim_t kFullAfterBytes = 4096;
    if (failure == WriteFailure::ReadOnlyDirectory && ::chmod(dir.c_str(), 0555) != 0) {
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        bool ready = true;
        if (failure == WriteFailure::ReadOnlyDirectory && ::geteuid() == 0) {
            constexpr id_t kNobody = 65534;
            ready = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
        }
        if (failure == WriteFailure::FullDisk) {
            std::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG
            const rlimit limit{kFullAfterBytes, kFullAfterBytes};
            ready = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        }
        ::_exit(!ready ? 2 : write() ? 1 : 0);
    }
    int status = 0;
    const bool waited = child > 0 && ::waitpid(child, &status, 0) == child;
    ::chmod(dir.c_str(), 0755);
    if (!waited || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
        return std::nullopt;
    }
    return WEXITSTATUS(status) == 1;
}

}  // namespace parlomat::test
