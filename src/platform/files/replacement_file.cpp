#include "platform/files/replacement_file.h"

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parlomat {
namespace {

namespace fs = std::filesystem;

/// Flushes a directory's entries (a rename in it) to the disk. Some filesystems cannot; the
/// rename has happened by then, so a failure here is not a failed replacement.
void SyncDirectory(const fs::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& target) : target_(target) {
    std::error_code ec;
    if (fs::is_symlink(fs::path(target_), ec)) {
        const fs::path resolved = fs::canonical(fs::path(target_), ec);
        if (ec) {
            return;
        }
        target_ = resolved.string();
    }
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp_ = target_ + ".tmp" + std::to_string(random() % 1000000000);
        // 0666 less the umask, as any new file; an existing file's mode is copied at Commit.
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd_ >= 0 || errno != EEXIST) {
            break;
        }
    }
}

ReplacementFile::~ReplacementFile() {
    // A descriptor still open means Commit never reached the rename: the temp file goes.
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

bool ReplacementFile::Write(std::string_view data) {
    while (fd_ >= 0 && !data.empty()) {
        const ssize_t n = ::write(fd_, data.data(), data.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return fd_ >= 0;
}

bool ReplacementFile::Commit() {
    if (fd_ < 0 || committed_) {
        return false;
    }
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0 && ::fchmod(fd_, old.st_mode & 07777) != 0) {
        return false;
    }
    if (::fsync(fd_) != 0) {
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0) {
        ::unlink(temp_.c_str());
        return false;
    }
    committed_ = true;
    SyncDirectory(fs::path(target_).parent_path());
    return true;
}

}  // namespace parlomat
