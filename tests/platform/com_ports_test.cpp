#include "platform/com_ports.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(ComPorts, NamesTheProgramBuildsResolveThroughTheMap) {
    ClearComDevices();
    SetComDevice(3, "/dev/pts/7");
    EXPECT_EQ(ResolveDeviceName("COM3"), "/dev/pts/7");
    EXPECT_EQ(ResolveDeviceName("\\\\.\\COM3"), "/dev/pts/7");
    EXPECT_EQ(ResolveDeviceName("COM3:"), "/dev/pts/7");
    SetEnumeratedComDevices({{12, "/dev/ttyUSB0"}});
    EXPECT_EQ(ResolveDeviceName("\\\\.\\COM12"), "/dev/ttyUSB0");
    EXPECT_EQ(ResolveDeviceName("COM1"), "/dev/ttyS0");
    EXPECT_EQ(ResolveDeviceName("/dev/ttyACM0"), "/dev/ttyACM0");
    EXPECT_EQ(ComNumberOf("COM10"), 10);
    EXPECT_EQ(ComNumberOf("COMX"), -1);
    EXPECT_EQ(ComNumberOf("COM"), -1);
    SetEnumeratedComDevices({});
    ClearComDevices();
}
