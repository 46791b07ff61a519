#include "platform/serial_port_list.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "core/settings/temp_dir.h"

namespace parlomat {
namespace {

using test::TempDir;

TEST(SerialPortList, OffersTheStableLinkOfADetectedDevice) {
    TempDir devices;
    TempDir by_id;
    const auto device = devices.path() / "ttyUSB3";
    std::ofstream(device) << "";
    const auto link = by_id.path() / "usb-FTDI_FT232R_USB_UART_A12345-if00-port0";
    std::filesystem::create_symlink(device, link);
    std::filesystem::create_symlink(devices.path() / "gone", by_id.path() / "usb-unplugged");
    std::ofstream(by_id.path() / "not-a-link") << "";

    const auto ports = DetectSerialPorts(by_id.path().string());
    const auto found = std::find_if(ports.begin(), ports.end(), [&](const auto& port) {
        return port.device == std::filesystem::canonical(device).string();
    });
    ASSERT_NE(found, ports.end());
    EXPECT_EQ(found->path, link.string());
    for (const auto& port : ports) {
        EXPECT_EQ(port.path.find("usb-unplugged"), std::string::npos) << "a dangling link";
        EXPECT_EQ(port.path.find("not-a-link"), std::string::npos);
        EXPECT_FALSE(port.device.empty());
    }
    EXPECT_TRUE(std::is_sorted(ports.begin(), ports.end(),
                               [](const auto& a, const auto& b) { return a.device < b.device; }));
}

}  // namespace
}  // namespace parlomat
