#include "platform/file_copy.h"

#include "platform/files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace parlomat {
namespace {

/// Closes a descriptor when it goes out of scope.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    /// Closes now; false when the close reported an error (a write that did not land).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, const char* data, ssize_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<std::size_t>(size));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool CopyData(int in, int out) {
    std::array<char, 65536> buffer{};
    while (true) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n == 0) {
            return true;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (!WriteAll(out, buffer.data(), n)) {
            return false;
        }
    }
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool AtomicFileCopier::CopyFile(const std::string& from, const std::string& to) {
    // A FIFO or a device is refused before it is opened: the open itself could block.
    Fd in(OpenRegularFile(from));
    struct stat source {};
    if (in.get() < 0 || ::fstat(in.get(), &source) != 0) {
        return false;
    }
    std::string temp_name = to + ".XXXXXX";
    std::vector<char> temp(temp_name.begin(), temp_name.end());
    temp.push_back('\0');
    Fd out(::mkostemp(temp.data(), O_CLOEXEC));
    if (out.get() < 0) {
        return false;
    }
    const bool copied = CopyData(in.get(), out.get()) &&
                        ::fchmod(out.get(), source.st_mode & 0666) == 0 && ::fsync(out.get()) == 0;
    if (!out.close() || !copied || ::rename(temp.data(), to.c_str()) != 0) {
        ::unlink(temp.data());
        return false;
    }
    Fd dir(::open(DirectoryOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) {
        ::fsync(dir.get());  // the rename itself reaches the disk
    }
    return true;
}

}  // namespace parlomat
