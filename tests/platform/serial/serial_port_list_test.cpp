#include "platform/serial_port_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/settings/temp_dir.h"

namespace parlomat::test {
namespace {

TEST(SerialPortList, OffersTheStableLinkOfADetectedDeviceOnly) {
    TempDir devices, by_id;
    WriteBytes(devices.file("ttyUSB3"), "");
    const auto link = by_id.path() / "usb-FTDI_FT232R_USB_UART_A12345-if00-port0";
    std::filesystem::create_symlink(devices.file("ttyUSB3"), link);
    std::filesystem::create_symlink(devices.file("gone"), by_id.path() / "usb-unplugged");
    const auto ports = DetectSerialPorts(by_id.path().string());
    const auto linked = std::count_if(ports.begin(), ports.end(), [&](const auto& port) {
        return port.path.starts_with(by_id.path().string());
    });
    const auto found = std::find_if(ports.begin(), ports.end(),
                                    [&](const auto& port) { return port.path == link.string(); });
    ASSERT_NE(found, ports.end());
    EXPECT_EQ(found->device, std::filesystem::canonical(devices.file("ttyUSB3")).string());
    EXPECT_EQ(linked, 1) << "a dangling link is no port";
    EXPECT_TRUE(std::is_sorted(ports.begin(), ports.end(),
                               [](const auto& a, const auto& b) { return a.device < b.device; }));
}

}  // namespace
}  // namespace parlomat::test
