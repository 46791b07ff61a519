#include "platform/serial_line_settings.h"

#include <gtest/gtest.h>

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"  // a termios with three flag sets

namespace parlomat {
namespace {

TEST(SerialLineSettings, AppliesARawLineWithoutFlowControlOrRejectsWhatTheDriverCannotSet) {
    for (const SerialLine line : {SerialLine{.baud = 14400}, SerialLine{.baud = 0},
                                  SerialLine{.data_bits = 9}, SerialLine{.stop_bits = 3}}) {
        EXPECT_FALSE(TermiosLine(line).has_value()) << SerialLineText(line);
    }
    const struct {
        SerialLine line;
        speed_t speed;
        tcflag_t set, clear;
    } cases[] = {
        {{1200, Parity::Even, 7, 2}, B1200, CS7 | PARENB | CSTOPB, PARODD | CMSPAR},
        {{300, Parity::Mark, 8, 1}, B300, PARENB | PARODD | CMSPAR | CS8, CSTOPB},
        {{4800, Parity::Space, 5, 2}, B4800, PARENB | CMSPAR | CS5 | CSTOPB, PARODD},
    };
    for (const auto& c : cases) {
        const std::string name = SerialLineText(c.line);
        termios tio{.c_iflag = IXON | IXOFF,  // left over from another program
                    .c_cflag = CRTSCTS | CS8 | PARENB | PARODD | CSTOPB,
                    .c_lflag = ECHO | ICANON};
        const auto settings = TermiosLine(c.line);
        ASSERT_TRUE(settings.has_value()) << name;
        ApplySerialLineSettings(*settings, tio);
        EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), c.set) << name;
        EXPECT_EQ(tio.c_cflag & (c.clear | CRTSCTS), 0u) << "the driver would drive RTS itself";
        EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD | HUPCL), CLOCAL | CREAD | HUPCL);
        EXPECT_EQ((tio.c_lflag & (ECHO | ICANON)) | (tio.c_iflag & (IXON | IXOFF)), 0u);
        EXPECT_EQ(std::pair(tio.c_cc[VMIN], tio.c_cc[VTIME]), (std::pair<cc_t, cc_t>(1, 0)))
            << "an empty line must not read as a hang-up";
        EXPECT_EQ(std::pair(cfgetospeed(&tio), cfgetispeed(&tio)), std::pair(c.speed, c.speed));
    }
}

}  // namespace
}  // namespace parlomat
