#include "platform/serial_line_settings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace parlomat {
namespace {

constexpr std::array<std::pair<unsigned long, speed_t>, 25> kSpeeds = {{
    {50, B50},           {75, B75},         {110, B110},         {134, B134},
    {150, B150},         {200, B200},       {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},     {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},   {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400}, {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600}, {1000000, B1000000}, {1152000, B1152000},
    {2000000, B2000000},
}};

}  // namespace

std::optional<SerialLineSettings> TermiosLine(const SerialLine& line) {
    const auto* speed = std::find_if(kSpeeds.begin(), kSpeeds.end(), [&](const auto& entry) {
        return static_cast<unsigned long>(line.baud) == entry.first;
    });
    if (line.baud <= 0 || speed == kSpeeds.end() || line.data_bits < 5 || line.data_bits > 8 ||
        (line.stop_bits != 1 && line.stop_bits != 2)) {
        return std::nullopt;
    }
    return SerialLineSettings{speed->second, line.parity, line.data_bits, line.stop_bits};
}

void ApplySerialLineSettings(const SerialLineSettings& settings, termios& tio) {
    cfmakeraw(&tio);
    cfsetispeed(&tio, settings.speed);
    cfsetospeed(&tio, settings.speed);

    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    static constexpr std::array<tcflag_t, 4> kSizes = {CS5, CS6, CS7, CS8};
    tio.c_cflag |= kSizes[static_cast<std::size_t>(settings.data_bits - 5)];
    switch (settings.parity) {
        case Parity::Even:
            tio.c_cflag |= PARENB;
            break;
        case Parity::Odd:
            tio.c_cflag |= PARENB | PARODD;
            break;
        case Parity::Mark:
            tio.c_cflag |= PARENB | CMSPAR | PARODD;
            break;
        case Parity::Space:
            tio.c_cflag |= PARENB | CMSPAR;
            break;
        case Parity::None:
            break;
    }
    if (settings.stop_bits == 2) {
        tio.c_cflag |= CSTOPB;
    }
    tio.c_cflag |= CLOCAL | CREAD | HUPCL;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    // With VMIN 0 an empty line reads as end of file even without blocking; with 1 it fails
    // with EAGAIN, so end of file means the device hung up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
}

}  // namespace parlomat
