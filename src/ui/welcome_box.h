#pragma once

#include <string>

class QWidget;

namespace parlomat {

/// Shows the first-start welcome over `parent`; true when the operator chose to record
/// message 1.
bool ShowWelcome(QWidget* parent, const std::string& station_dir);

}  // namespace parlomat
