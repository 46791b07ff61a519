#pragma once

#include <QString>
#include <string_view>

namespace parlomat {

/// UTF-8 text from the core as a QString.
inline QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace parlomat
