#include "core/settings/file_replace.h"

#include "platform/files/replacement_file.h"

namespace parlomat {

bool ReplaceFileContent(const std::string& path, std::string_view content) {
    ReplacementFile file(path);
    return file.ok() && file.Write(content) && file.Commit();
}

}  // namespace parlomat
