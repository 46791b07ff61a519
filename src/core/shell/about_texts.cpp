#include "core/shell/about_texts.h"

namespace parlomat {

std::string VersionText() {
    return "Version " + std::to_string(PARLOMAT_VERSION_MAJOR) + "." +
           std::to_string(PARLOMAT_VERSION_MINOR) + "." + std::to_string(PARLOMAT_VERSION_PATCH);
}

std::string AboutCaption() {
    return "About " + std::string(kProductName);
}

std::string KeyboardHelpText() {
    std::string text;
    for (const auto line : kKeyboardHelpLines) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace parlomat
