#include "platform/serial_line_settings.h"

#include <gtest/gtest.h>

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"  // a termios with three flag sets

namespace parlomat {
namespace {

TEST(SerialLineSettings, AppliesARawLineWithoutFlowControlOrRejectsWhatTheDriverCannotSet) {
    for (const char* text : {"14400,N,8,1", "9600,N,8", "9600,NO,8,1", "9600,N,9,1", "0,N,8,1"}) {
        EXPECT_FALSE(ParseSerialLineSettings(text).has_value()) << text;
    }
    const struct {
        const char* text;
        speed_t speed;
        tcflag_t set, clear;
    } cases[] = {
        {" 1200 , e , 7 , 2 ", B1200, CS7 | PARENB | CSTOPB, PARODD | CMSPAR},
        {"300,M,8,1", B300, PARENB | PARODD | CMSPAR | CS8, CSTOPB},
        {"4800,S,5,2", B4800, PARENB | CMSPAR | CS5 | CSTOPB, PARODD},
    };
    for (const auto& c : cases) {
        termios tio{.c_iflag = IXON | IXOFF,  // left over from another program
                    .c_cflag = CRTSCTS | CS8 | PARENB | PARODD | CSTOPB,
                    .c_lflag = ECHO | ICANON};
        const auto settings = ParseSerialLineSettings(c.text);
        ASSERT_TRUE(settings.has_value()) << c.text;
        ApplySerialLineSettings(*settings, tio);
        EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), c.set) << c.text;
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
