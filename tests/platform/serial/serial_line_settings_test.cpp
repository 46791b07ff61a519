#include "platform/serial_line_settings.h"

#include <gtest/gtest.h>

namespace parlomat {
namespace {

TEST(SerialLineSettings, RejectsWhatTheDriverCannotSet) {
    for (const char* text : {"14400,N,8,1", "9600,N,8", "9600,N,8,1,1", "9600,X,8,1", "9600,NO,8,1",
                             "9600,N,9,1", "9600,N,4,1", "9600,N,8,1.5", "9600,N,8,0",
                             "-9600,N,8,1", "9600x,N,8,1", ",N,8,1", "", "0,N,8,1"}) {
        EXPECT_FALSE(ParseSerialLineSettings(text).has_value()) << text;
    }
}

TEST(SerialLineSettings, AppliesARawLineWithoutFlowControl) {
    const struct {
        const char* text;
        speed_t speed;
        tcflag_t set;
        tcflag_t clear;
    } cases[] = {
        {"9600,N,8,1", B9600, CS8, PARENB | CSTOPB},
        {" 1200 , e , 7 , 2 ", B1200, CS7 | PARENB | CSTOPB, PARODD | CMSPAR},
        {"115200,o,7,1", B115200, CS7 | PARENB | PARODD, CMSPAR | CSTOPB},
        {"300,M,8,1", B300, PARENB | PARODD | CMSPAR | CS8, CSTOPB},
        {"4800,S,5,2", B4800, PARENB | CMSPAR | CS5 | CSTOPB, PARODD},
        {"1200,N,6,1", B1200, CS6, PARENB | CSTOPB},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        termios tio{};
        // A line left over from another program: hardware flow control, echo, XON/XOFF.
        tio.c_cflag = CRTSCTS | CS8 | PARENB | PARODD | CSTOPB;
        tio.c_lflag = ECHO | ICANON;
        tio.c_iflag = IXON | IXOFF;
        const auto settings = ParseSerialLineSettings(c.text);
        ASSERT_TRUE(settings.has_value());
        ApplySerialLineSettings(*settings, tio);
        EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), c.set);
        EXPECT_EQ(tio.c_cflag & c.clear, 0u);
        EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u) << "the driver would drive RTS itself";
        EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD | HUPCL), CLOCAL | CREAD | HUPCL);
        EXPECT_EQ(tio.c_lflag & (ECHO | ICANON), 0u);
        EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
        EXPECT_EQ(tio.c_cc[VMIN], 1) << "an empty line must not read as a hang-up";
        EXPECT_EQ(tio.c_cc[VTIME], 0);
        EXPECT_EQ(cfgetospeed(&tio), c.speed);
        EXPECT_EQ(cfgetispeed(&tio), c.speed);
    }
}

}  // namespace
}  // namespace parlomat
