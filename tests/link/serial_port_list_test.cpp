// The PC's serial ports from the tty class folder, with the COM numbers "port.ini" keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/fake_tty_tree.h"
#include "link/serial_port_list.h"
#include "platform/com_ports.h"
#include "sim_meter.h"
#include "support/test_env.h"

using linktest::FakeTtyTree;

namespace {

std::vector<std::string> Names(const std::vector<SerialPortInfo>& ports) {
    std::vector<std::string> names;
    for (const auto& port : ports)
        names.push_back(port.strPortName + "=" + port.strDevPath);
    return names;
}

class SerialPortListTest : public ::testing::Test {
protected:
    ~SerialPortListTest() override {
        SetTtyClassRoot("");
        platform::SetEnumeratedComDevices({});
        platform::ClearComDevices();
    }

    testenv::ScratchFolder folder;
    FakeTtyTree tree{folder.Path() + "sys/class/tty"};
};

}  // namespace

TEST_F(SerialPortListTest, UartsKeepTheirNumbersAndOtherPortsFollowTheLastTtySByKind) {
    tree.Uart("ttyS0")
        .EmptySlot("ttyS1")
        .EmptySlot("ttyS2", false)
        .Uart("ttyS3", 0)  // a driver but no UART
        .Uart("ttyS4")
        .Virtual("tty1")
        .Virtual("console")
        .Virtual("ptmx")
        .Port("ttyUSB1", true)
        .Port("ttyUSB0", true)
        .Port("ttyACM0", true)
        .Port("ttyAMA0")
        .Port("ttyGS0", true);

    const auto ports = ListTtyClassPorts(tree.RootText());

    // The last ttyS is ttyS4 (COM5): USB adapters from COM6, ACM from COM22, others from COM38.
    EXPECT_EQ(Names(ports),
              (std::vector<std::string>{"COM1=/dev/ttyS0", "COM5=/dev/ttyS4", "COM6=/dev/ttyUSB0",
                                        "COM7=/dev/ttyUSB1", "COM22=/dev/ttyACM0",
                                        "COM38=/dev/ttyAMA0", "COM39=/dev/ttyGS0"}));
    EXPECT_EQ(ports[0].strFriendlyName, "Communications Port (COM1)");
    EXPECT_EQ(ports[0].strPortDesc, "Communications Port");
    EXPECT_FALSE(ports[0].bUsbDevice);
    EXPECT_EQ(ports[2].strFriendlyName, "USB Serial Port (COM6)");
    EXPECT_EQ(ports[2].strPortDesc, "USB Serial Port");
    EXPECT_TRUE(ports[2].bUsbDevice);
    EXPECT_FALSE(ports[5].bUsbDevice);  // a board's own UART
    EXPECT_TRUE(ports[6].bUsbDevice);   // a gadget port found by its device's bus
}

TEST_F(SerialPortListTest, PluggingAnotherKindOfAdapterRenumbersNothing) {
    tree.Uart("ttyS0").EmptySlot("ttyS1").Port("ttyUSB1", true);
    EXPECT_EQ(Names(ListTtyClassPorts(tree.RootText())),
              (std::vector<std::string>{"COM1=/dev/ttyS0", "COM4=/dev/ttyUSB1"}));

    // An ACM device and the first USB adapter come; ttyS0 loses its UART.
    tree.Port("ttyACM0", true).Port("ttyUSB0", true).Remove("ttyS0").EmptySlot("ttyS0");
    EXPECT_EQ(
        Names(ListTtyClassPorts(tree.RootText())),
        (std::vector<std::string>{"COM3=/dev/ttyUSB0", "COM4=/dev/ttyUSB1", "COM19=/dev/ttyACM0"}));
}

TEST_F(SerialPortListTest, WithoutTtySEntriesUsbComesFirstAndNothingPassesCom99) {
    tree.Port("ttyUSB0", true).Port("ttyUSB15", true).Port("ttyUSB16", true);
    for (int i = 0; i < 70; ++i)
        tree.Port("ttyAMA" + std::to_string(i));
    const auto ports = ListTtyClassPorts(tree.RootText());
    ASSERT_FALSE(ports.empty());
    EXPECT_EQ(ports.front().strPortName, "COM1");
    EXPECT_EQ(ports[1].strPortName, "COM16");
    EXPECT_EQ(ports.back().strPortName, "COM99");
    // Past its block, ttyUSB16 is among the others, in name order after the ttyAMA ones.
    for (const auto& port : ports)
        EXPECT_NE(port.strDevPath, "/dev/ttyUSB16");
}

TEST_F(SerialPortListTest, EnumerationPublishesTheNumbersAndCanLeaveBusyPortsOut) {
    tree.Uart("ttyS0").Port("ttyUSB0", true);
    SetTtyClassRoot(tree.RootText());
    simmeter::SimMeter meter;
    platform::SetComDevice(2, meter.SlavePath());

    std::vector<SerialPortInfo> ports{SerialPortInfo{}};
    EnumSerialPorts(ports, FALSE);
    EXPECT_EQ(Names(ports), (std::vector<std::string>{"COM1=/dev/ttyS0", "COM2=/dev/ttyUSB0"}));
    // A test's own device wins over the machine's.
    EXPECT_EQ(platform::ComDevicePath(2), meter.SlavePath());
    platform::ClearComDevices();
    EXPECT_EQ(platform::ComDevicePath(2), "/dev/ttyUSB0");

    // Only the port that opens stays: COM1's device does not exist in this tree.
    platform::SetComDevice(1, folder.Path() + "no-such-device");
    platform::SetComDevice(2, meter.SlavePath());
    EnumSerialPorts(ports, TRUE);
    EXPECT_EQ(Names(ports), (std::vector<std::string>{"COM2=/dev/ttyUSB0"}));
}

TEST_F(SerialPortListTest, AFolderThatCannotBeReadIsAnErrorWithItsName) {
    tree.Port("ttyUSB0", true);
    SetTtyClassRoot(tree.RootText());
    PublishSerialPorts();
    EXPECT_EQ(platform::ComDevicePath(1), "/dev/ttyUSB0");

    // Publishing from a folder that is gone forgets the old list, without an error.
    SetTtyClassRoot(folder.Path() + "missing");
    PublishSerialPorts();
    EXPECT_EQ(platform::ComDevicePath(1), "/dev/ttyS0");

    std::vector<SerialPortInfo> ports{SerialPortInfo{}};
    try {
        EnumSerialPorts(ports, FALSE);
        ADD_FAILURE() << "no error";
    } catch (const SerialPortListError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not read from " + folder.Path() + "missing");
    }
    EXPECT_TRUE(ports.empty());
}
