#pragma once

#include <QIcon>
#include <QPixmap>

namespace parlomat {

/// The program's own picture (a microphone between two waveforms) as a window icon.
QIcon app_icon();
/// The same picture drawn at `size` x `size` device-independent pixels for `device_ratio`.
QPixmap app_picture(int size, qreal device_ratio = 1.0);

}  // namespace parlomat
