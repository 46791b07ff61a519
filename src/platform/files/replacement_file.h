#pragma once

#include <string>
#include <string_view>

namespace parlomat {

/// A new file written beside `target` and then put in its place in one step, so that a failed
/// write, a crash or a power cut leaves either the old file or the new one whole. Write the new
/// content into fd(), then Commit(). A ReplacementFile destroyed without a successful Commit
/// removes its temporary file: nothing is left behind.
class ReplacementFile {
  public:
    /// Creates the temporary file beside `target` (beside the file a symbolic link names).
    explicit ReplacementFile(const std::string& target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    /// False when the temporary file could not be created (a missing or read-only directory).
    bool ok() const { return fd_ >= 0; }
    /// The temporary file, open for writing.
    int fd() const { return fd_; }

    /// Writes all of `data` at the current offset; false on any error (a full disk).
    bool Write(std::string_view data);

    /// Flushes the new file to the disk, gives it the old file's permissions, renames it over
    /// the target and flushes the directory. False when any step before the rename failed: the
    /// target is then untouched.
    bool Commit();

  private:
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool committed_ = false;
};

}  // namespace parlomat
