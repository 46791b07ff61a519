// Any file content: reading keys must not crash, and writing a key must give back exactly that
// value while every other key keeps the value it had.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/settings/profile_file.h"
#include "core/settings/temp_dir.h"

namespace {

void Check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}

const std::string& ScratchPath() {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("parlomat-fuzz-" + std::to_string(getpid()) + ".ini"))
                                        .string();
    return path;
}

constexpr std::string_view kSections[] = {"Preference", "MSG Config", "Ports", "S"};
constexpr std::string_view kKeys[] = {"PTT Delay", "UTCDiff", "Msg1", "COM1", "k"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using parlomat::GetProfileString;
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const std::string& path = ScratchPath();
    parlomat::test::WriteBytes(path, std::string(content));

    for (const auto section : kSections) {
        for (const auto key : kKeys) {
            Check(GetProfileString(path, section, key, "").size() <= parlomat::kProfileValueMax);
        }
    }

    const std::string_view section = kSections[size % std::size(kSections)];
    const std::string_view key = kKeys[size % std::size(kKeys)];
    const std::string_view other = kKeys[(size + 1) % std::size(kKeys)];
    const std::string other_before = GetProfileString(path, section, other, "<none>");

    Check(!parlomat::WriteProfileString(path, section, key, "line\nbreak"));
    Check(parlomat::test::ReadBytes(path) == content);

    Check(parlomat::WriteProfileString(path, section, key, "fuzz value"));
    Check(GetProfileString(path, section, key, "<none>") == "fuzz value");
    Check(GetProfileString(path, section, other, "<none>") == other_before);
    std::remove(path.c_str());
    return 0;
}
