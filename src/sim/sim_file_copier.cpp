#include "sim/sim_file_copier.h"

#include <filesystem>
#include <system_error>

namespace parlomat {

bool SimFileCopier::CopyFile(const std::string& from, const std::string& to) {
    namespace fs = std::filesystem;
    const fs::path temp = to + ".copy";
    std::error_code error;
    if (!fs::copy_file(from, temp, fs::copy_options::overwrite_existing, error)) {
        fs::remove(temp, error);
        return false;
    }
    fs::rename(temp, to, error);
    if (error) {
        fs::remove(temp, error);
        return false;
    }
    return true;
}

}  // namespace parlomat
