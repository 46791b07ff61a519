#include "platform/sound_formats.h"

#include <sndfile.h>

#include <algorithm>
#include <utility>

#include "core/settings/text.h"

namespace parlomat {
namespace {

void Add(std::vector<std::string>& extensions, std::string extension) {
    extension = LowerCase(std::move(extension));
    if (!extension.empty() && std::ranges::find(extensions, extension) == extensions.end()) {
        extensions.push_back(std::move(extension));
    }
}

bool HasSubtype(int subtype) {
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_SUBTYPE_COUNT, &count, sizeof count);
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO info{};
        info.format = i;
        if (sf_command(nullptr, SFC_GET_FORMAT_SUBTYPE, &info, sizeof info) == 0 &&
            (info.format & SF_FORMAT_SUBMASK) == subtype) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> PlayableExtensions() {
    std::vector<std::string> extensions{"wav"};
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO info{};
        info.format = i;
        if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info) != 0 ||
            info.extension == nullptr) {
            continue;
        }
        Add(extensions, info.extension);
        // One container, several names in use: Ogg Vorbis files are mostly *.ogg.
        if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG) {
            Add(extensions, "ogg");
            Add(extensions, "oga");
            if (HasSubtype(SF_FORMAT_OPUS)) {
                Add(extensions, "opus");
            }
        }
        if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_AIFF) {
            Add(extensions, "aif");
        }
    }
    return extensions;
}

}  // namespace parlomat
