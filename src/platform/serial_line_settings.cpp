#include "platform/serial_line_settings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/settings/text.h"

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

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    for (;;) {
        const auto comma = text.find(',');
        fields.push_back(TrimBlanks(text.substr(0, comma)));
        if (comma == std::string_view::npos) {
            return fields;
        }
        text.remove_prefix(comma + 1);
    }
}

std::optional<unsigned long> WholeNumber(std::string_view field) {
    unsigned long value = 0;
    const auto* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, value);
    if (field.empty() || ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<SerialLineSettings> ParseSerialLineSettings(const std::string& text) {
    const auto fields = SplitFields(text);
    if (fields.size() != 4) {
        return std::nullopt;
    }
    SerialLineSettings settings;

    const auto baud = WholeNumber(fields[0]);
    const auto* speed = std::find_if(kSpeeds.begin(), kSpeeds.end(),
                                     [&](const auto& entry) { return baud == entry.first; });
    if (!baud || speed == kSpeeds.end()) {
        return std::nullopt;
    }
    settings.speed = speed->second;

    if (fields[1].size() != 1) {
        return std::nullopt;
    }
    settings.parity = UpperCase(std::string(fields[1].substr(0, 1)))[0];
    if (std::string_view("NEOMS").find(settings.parity) == std::string_view::npos) {
        return std::nullopt;
    }

    const auto data_bits = WholeNumber(fields[2]);
    if (!data_bits || *data_bits < 5 || *data_bits > 8) {
        return std::nullopt;
    }
    settings.data_bits = static_cast<int>(*data_bits);

    const auto stop_bits = WholeNumber(fields[3]);
    if (!stop_bits || (*stop_bits != 1 && *stop_bits != 2)) {
        return std::nullopt;
    }
    settings.stop_bits = static_cast<int>(*stop_bits);
    return settings;
}

void ApplySerialLineSettings(const SerialLineSettings& settings, termios& tio) {
    cfmakeraw(&tio);
    cfsetispeed(&tio, settings.speed);
    cfsetospeed(&tio, settings.speed);

    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    static constexpr std::array<tcflag_t, 4> kSizes = {CS5, CS6, CS7, CS8};
    tio.c_cflag |= kSizes[static_cast<std::size_t>(settings.data_bits - 5)];
    switch (settings.parity) {
        case 'E':
            tio.c_cflag |= PARENB;
            break;
        case 'O':
            tio.c_cflag |= PARENB | PARODD;
            break;
        case 'M':
            tio.c_cflag |= PARENB | CMSPAR | PARODD;
            break;
        case 'S':
            tio.c_cflag |= PARENB | CMSPAR;
            break;
        default:
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
