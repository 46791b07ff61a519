#pragma once

#include <string>
#include <vector>

namespace parlomat {

/// A serial port found on this machine, for the preferences dialog's port list.
struct DetectedSerialPort {
    std::string path;         ///< what to store: the stable /dev/serial/by-id link when one exists
    std::string device;       ///< the kernel's device, e.g. "/dev/ttyUSB0"
    std::string description;  ///< e.g. "FT232R USB UART"; may be empty
};

/// The serial ports present now, ordered by device. `by_id_dir` holds udev's stable links.
std::vector<DetectedSerialPort> DetectSerialPorts(
    const std::string& by_id_dir = "/dev/serial/by-id");

}  // namespace parlomat
