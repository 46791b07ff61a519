#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace parlomat {

/// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        std::string name = (std::filesystem::temp_directory_path() / "parlomat-XXXXXX").string();
        if (mkdtemp(name.data()) != nullptr) {
            path_ = name;
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace parlomat
