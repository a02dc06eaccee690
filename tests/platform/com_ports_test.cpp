#include "platform/com_ports.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

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

// The map is read from the environment once a process, so the entries are tried in a process
// of their own: this test started again with them.
TEST(ComPorts, AMapEntryWithoutAPathLeavesThePortItsOwnDevice) {
    if (std::getenv("KX9_COM_MAP_TRIED")) {
        EXPECT_EQ(ComDevicePath(3), "/dev/ttyS2");
        EXPECT_EQ(ComDevicePath(4), "/dev/pts/9");
        EXPECT_EQ(ComDevicePath(0), "");
        std::exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        ::setenv("KX9_COM_MAP", "3=,4=/dev/pts/9,=/dev/x", 1);
        ::setenv("KX9_COM_MAP_TRIED", "1", 1);
        ::execl("/proc/self/exe", "platform_tests",
                "--gtest_filter=ComPorts.AMapEntryWithoutAPathLeavesThePortItsOwnDevice",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
