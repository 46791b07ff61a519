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

/// Write failures on a real filesystem without mounting anything: no new file can be created
/// beside the target, or writes fail past 4 KiB (a file size limit, as on a full disk).
enum class WriteFailure { ReadOnlyDirectory, FullDisk };

inline const char* Name(WriteFailure failure) {
    return failure == WriteFailure::ReadOnlyDirectory ? "read-only directory" : "full disk";
}

/// What `write` returns in a child process that meets `failure` in `dir` (as a non-root user).
inline std::optional<bool> WriteUnder(WriteFailure failure, const std::filesystem::path& dir,
                                      const std::function<bool()>& write) {
    const bool read_only = failure == WriteFailure::ReadOnlyDirectory;
    if (read_only && ::chmod(dir.c_str(), 0555) != 0) {
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{4096, 4096};
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
        const bool ready = read_only
                               ? ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0)
                               : ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        ::_exit(!ready ? 2 : write() ? 1 : 0);
    }
    int status = 0;
    const bool waited = child > 0 && ::waitpid(child, &status, 0) == child;
    ::chmod(dir.c_str(), 0755);
    return waited && WIFEXITED(status) && WEXITSTATUS(status) <= 1
               ? std::optional<bool>(WEXITSTATUS(status) == 1)
               : std::nullopt;
}

}  // namespace parlomat::test
