#pragma once

#include <string>
#include <vector>

namespace parlomat {

/// The Load dialog's filter: "Wave (*.wav)|*.wav", then "Sound files" with every extension in
/// `playable` (lower case, without the dot; repeats dropped), then "All (*.*)|*.*". With no
/// playable extensions the "Sound files" entry is left out.
std::string LoadFilter(const std::vector<std::string>& playable);

}  // namespace parlomat
