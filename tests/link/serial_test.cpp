#include "link/serial.h"
#include "link/serial_line_settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "link/link_test_support.h"
#include "link/serial_wnd.h"
#include "platform/com_ports.h"
#include "sim_meter.h"
#include "support/test_env.h"

namespace {

class SerialPortTest : public ::testing::Test {
protected:
    SerialPortTest() { platform::SetComDevice(7, meter.SlavePath()); }
    ~SerialPortTest() override { platform::ClearComDevices(); }

    platform::ScopedClockSpeed fast{100.0};
    simmeter::SimMeter meter;
};

}  // namespace

TEST_F(SerialPortTest, OpensWithWindowsDefaultsAndKeepsEachSettingsWindowsMeaning) {
    CSerial port;
    ASSERT_EQ(port.Open("COM7"), 0);
    EXPECT_EQ(port.GetBaudrate(), 9600);
    EXPECT_EQ(port.GetDataBits(), 8);
    EXPECT_EQ(port.GetParity(), CSerial::NoParity);
    EXPECT_EQ(port.GetStopBits(), CSerial::OneStopBit);
    EXPECT_EQ(port.GetHandshaking(), CSerial::NoHandshake);
    EXPECT_EQ(port.GetEventMask(), CSerial::EV_RXCHAR);

    // A pseudo-terminal keeps speed and stop bits; it has no data bits or parity of its own,
    // which the settings test below covers on a termios record.
    ASSERT_EQ(port.Setup(19200, 8, CSerial::NoParity, CSerial::OneAndHalfStopBits), 0);
    EXPECT_EQ(port.GetBaudrate(), 19200);
    EXPECT_EQ(port.GetStopBits(), CSerial::OneAndHalfStopBits);
    ASSERT_EQ(port.Setup(300, 8, CSerial::NoParity, CSerial::TwoStopBits), 0);
    EXPECT_EQ(port.GetBaudrate(), 300);
    EXPECT_EQ(port.GetStopBits(), CSerial::TwoStopBits);

    // Values the port cannot take leave it as it was.
    EXPECT_EQ(port.Setup(12345, 8, 0, 0), serial_error::kInvalidParameter);
    EXPECT_EQ(port.Setup(9600, 9, 0, 0), serial_error::kInvalidParameter);
    EXPECT_EQ(port.Setup(9600, 8, 5, 0), serial_error::kInvalidParameter);
    EXPECT_EQ(port.Setup(9600, 8, 0, 3), serial_error::kInvalidParameter);
    EXPECT_EQ(port.GetBaudrate(), 300);

    EXPECT_EQ(port.SetupHandshaking(CSerial::HardwareHandshake), 0);
    EXPECT_EQ(port.GetHandshaking(), CSerial::HardwareHandshake);
    EXPECT_EQ(port.SetupHandshaking(CSerial::SoftwareHandshake), 0);
    EXPECT_EQ(port.GetHandshaking(), CSerial::SoftwareHandshake);
    EXPECT_EQ(port.SetupHandshaking(3), E_INVALIDARG);
    EXPECT_EQ(port.GetLastError(), E_INVALIDARG);
    EXPECT_EQ(port.GetHandshaking(), CSerial::SoftwareHandshake);
    EXPECT_EQ(port.GetLastError(), 0);

    EXPECT_EQ(port.SetupReadTimeouts(2), E_INVALIDARG);
    EXPECT_EQ(port.SetEventChar(0x03, true), 0);
    EXPECT_EQ(port.GetEventChar(), 0x03);
    EXPECT_EQ(port.GetEventMask(), CSerial::EV_RXCHAR | CSerial::EV_RXFLAG);
}

TEST_F(SerialPortTest, OpensByItsComNumberAndAsksForHandshakingOnlyWhenTheSettingsNameIt) {
    CSerial port;
    // No number, no device: nothing opens.
    EXPECT_EQ(ComPortDevice(0), "");
    EXPECT_NE(port.OpenFor(0, nullptr), 0);
    ASSERT_EQ(port.OpenFor(7, nullptr), 0);
    ASSERT_EQ(
        port.SetUp(
            {7, {19200, 8, CSerial::NoParity, CSerial::TwoStopBits}, CSerial::HardwareHandshake}),
        0);
    EXPECT_EQ(port.GetBaudrate(), 19200);
    EXPECT_EQ(port.GetStopBits(), CSerial::TwoStopBits);
    EXPECT_EQ(port.GetHandshaking(), CSerial::HardwareHandshake);
    ASSERT_EQ(port.SetUp({7, {38400, 8, CSerial::NoParity, CSerial::OneStopBit}, std::nullopt}), 0);
    EXPECT_EQ(port.GetBaudrate(), 38400);
    EXPECT_EQ(port.GetHandshaking(), CSerial::HardwareHandshake);
    // A handshaking mode the port does not know leaves the line as it was.
    EXPECT_EQ(port.SetUp({7, {9600, 8, 0, 0}, 3}), E_INVALIDARG);
    EXPECT_EQ(port.GetBaudrate(), 38400);
    // Reopened, the port starts from its defaults again before it takes the settings.
    ASSERT_EQ(port.Reopen({7, {57600, 8, CSerial::NoParity, CSerial::OneStopBit}, std::nullopt}),
              0);
    EXPECT_EQ(port.GetBaudrate(), 57600);
    EXPECT_EQ(port.GetHandshaking(), CSerial::NoHandshake);
}

TEST_F(SerialPortTest, EachOpenKeepsTheDeviceItTriedWithWhyItFailed) {
    platform::SetComDevice(8, "/nonexistent/tty-kx9");
    // The link's ports, with their listeners.
    CSerialWnd port;
    CSerialWnd holder;
    struct Step {
        const char* name;
        std::function<int()> open;
        PortOpenFailure failure;
        std::string device;
    };
    const PortSettings com8{8, {9600, 8, CSerial::NoParity, CSerial::OneStopBit}, std::nullopt};
    const PortSettings com7{7, {38400, 8, CSerial::NoParity, CSerial::OneStopBit}, std::nullopt};
    const Step steps[] = {
        {"opened", [&] { return port.OpenFor(7, nullptr); }, PortOpenFailure::None,
         meter.SlavePath()},
        {"reopened on another port", [&] { return port.Reopen(com8); }, PortOpenFailure::Missing,
         "/nonexistent/tty-kx9"},
        {"no port number", [&] { return port.OpenFor(0, nullptr); }, PortOpenFailure::NoPort, ""},
        {"opened again", [&] { return port.OpenFor(7, nullptr); }, PortOpenFailure::None,
         meter.SlavePath()},
        {"held by another",
         [&] {
             port.Close();
             return holder.OpenFor(7, nullptr) + port.OpenFor(7, nullptr);
         },
         PortOpenFailure::InUse, meter.SlavePath()},
        // A speed change's reopen after the device behind the number went.
        {"its device gone",
         [&] {
             holder.Close();
             const int opened = port.OpenFor(7, nullptr);
             platform::SetComDevice(7, "/nonexistent/tty-gone");
             return opened + port.Reopen(com7);
         },
         PortOpenFailure::Missing, "/nonexistent/tty-gone"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(step.open() == 0, step.failure == PortOpenFailure::None);
        EXPECT_EQ(port.LastOpenFailure(), step.failure);
        EXPECT_EQ(port.LastOpenDevice(), step.device);
    }
}

// The device opens but its listener cannot be started (a user refused any further thread): the
// port failed, and the meter is not blamed for its silence.
TEST_F(SerialPortTest, APortWhoseListenerCannotStartSaysSoAndNotThatItsMeterIsSilent) {
    constexpr uid_t kOrdinaryUser = 65534;
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const rlimit none{0, 0};
        if (::chmod(meter.SlavePath().c_str(), 0666) != 0 ||
            (::geteuid() == 0 && ::setresuid(kOrdinaryUser, kOrdinaryUser, kOrdinaryUser) != 0) ||
            ::setrlimit(RLIMIT_NPROC, &none) != 0)
            ::_exit(3);
        try {
            std::thread([] {}).join();
            ::_exit(3);  // threads are not refused here
        } catch (const std::system_error&) {
        }
        CSerialWnd port;
        const bool refused = port.OpenFor(7, nullptr) != 0;
        ::_exit(!refused ? 2
                : port.LastOpenFailure() == PortOpenFailure::Other &&
                        port.LastOpenDevice() == meter.SlavePath()
                    ? 0
                    : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "no process here can be refused a thread";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: the port opened; 1: the failure was not the port's";
}

TEST(SerialLineSettings, KeepTheirWindowsMeaningOnATermiosRecord) {
    for (const LineSettings& s :
         {LineSettings{19200, 7, CSerial::MarkParity, CSerial::OneAndHalfStopBits},
          LineSettings{38400, 8, CSerial::SpaceParity, CSerial::TwoStopBits},
          LineSettings{115200, 6, CSerial::OddParity, CSerial::OneStopBit},
          LineSettings{300, 5, CSerial::EvenParity, CSerial::TwoStopBits},
          LineSettings{230400, 8, CSerial::NoParity, CSerial::OneStopBit}}) {
        termios tio{};
        ASSERT_TRUE(ApplyLineSettings(tio, s)) << s.baudRate;
        EXPECT_EQ(!!(tio.c_iflag & INPCK), s.parity != 0);
        const LineSettings back = ReadLineSettings(tio, s.stopBits);
        EXPECT_EQ(back.baudRate, s.baudRate);
        EXPECT_EQ(back.dataBits, s.dataBits);
        EXPECT_EQ(back.parity, s.parity);
        EXPECT_EQ(back.stopBits, s.stopBits);
    }
    termios tio{};
    ApplyLineSettings(tio, {9600, 8, CSerial::EvenParity, 0});
    tio.c_iflag &= ~INPCK;  // parity without its check reads as none
    EXPECT_EQ(ReadLineSettings(tio, 0).parity, CSerial::NoParity);
}

TEST(SerialClosedPort, EveryOperationSaysNotOpen) {
    CSerial port;
    char buffer[4];
    EXPECT_EQ(port.Setup(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(port.SetupHandshaking(1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(port.SetupReadTimeouts(0), ERROR_INVALID_HANDLE);
    EXPECT_EQ(port.WriteString("x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(port.Read(buffer, sizeof buffer), ERROR_INVALID_HANDLE);
    EXPECT_EQ(port.Purge(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(port.WaitEvent(10), ERROR_INVALID_HANDLE);
    EXPECT_EQ(port.GetBaudrate(), -1);
    EXPECT_EQ(port.GetHandshaking(), -1);
    EXPECT_EQ(port.GetEventMask(), 0u);
    EXPECT_EQ(port.GetEventChar(), 0);
    EXPECT_EQ(port.GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(port.Close(), 0);
    EXPECT_EQ(port.GetEventType(), -1);
}

TEST_F(SerialPortTest, OpenIsExclusiveAndNamesResolveAsWindowsWritesThem) {
    CSerial first;
    CSerial second;
    ASSERT_EQ(first.Open("\\\\.\\COM7"), 0);
    EXPECT_EQ(first.Open("COM7"), ERROR_ALREADY_INITIALIZED);
    EXPECT_EQ(second.Open("COM7"), serial_error::kAccessDenied);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(first.Close(), 0);
    EXPECT_EQ(second.Open("COM7"), 0);

    platform::SetComDevice(8, "/nonexistent/tty-kx9");
    CSerial missing;
    EXPECT_EQ(missing.Open("COM8"), serial_error::kFileNotFound);
}

TEST_F(SerialPortTest, WritesTheExactBytesAndReadsWhatArrived) {
    CSerial port;
    ASSERT_EQ(port.Open("COM7"), 0);
    ASSERT_EQ(port.Setup(38400), 0);
    size_t written = 0;
    EXPECT_EQ(port.WriteString("SET:INSTR_M:?\r\n", &written), 0);
    EXPECT_EQ(written, 15u);
    ASSERT_TRUE(meter.WaitForLines(1));
    EXPECT_EQ(meter.Received(), "SET:INSTR_M:?\r\n");
    EXPECT_EQ(linktest::ReadReply(port), "SET:INSTR_MODEL:QS4060\x03");
    EXPECT_EQ(port.GetEventType(), static_cast<int>(CSerial::EV_RXCHAR));
    EXPECT_EQ(port.GetEventType(), -1);

    // A non-blocking read with nothing there returns at once with nothing.
    char buffer[8];
    size_t n = 99;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &n), 0);
    EXPECT_EQ(n, 0u);
}

TEST_F(SerialPortTest, BlockingReadGivesUpAfter100msAndLogsWhatItHad) {
    std::vector<std::string> log;
    CSerial::SetPendingReadLog([&](const std::string& line) { log.push_back(line); });
    CSerial port;
    ASSERT_EQ(port.Open("COM7"), 0);
    ASSERT_EQ(port.SetupReadTimeouts(CSerial::BlockingReads), 0);
    meter.Send("AB");
    ASSERT_EQ(port.WaitEvent(100000), 0);
    char buffer[10];
    size_t n = 0;
    const auto start = platform::Clock::TickCount();
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &n), ERROR_TIMEOUT);
    EXPECT_GE(platform::Clock::TickCount() - start, 100u);
    EXPECT_EQ(std::string(buffer, n), "AB");
    EXPECT_EQ(log, std::vector<std::string>{"Serial read:AB"});
    CSerial::SetPendingReadLog(nullptr);
}

TEST_F(SerialPortTest, PurgeDiscardsWhatWaitsAndAReopenStartsEmpty) {
    CSerial port;
    ASSERT_EQ(port.Open("COM7"), 0);
    meter.Send("stale");
    ASSERT_EQ(port.WaitEvent(100000), 0);
    EXPECT_EQ(port.Purge(), 0);
    char buffer[8];
    size_t n = 99;
    port.Read(buffer, sizeof buffer, &n);
    EXPECT_EQ(n, 0u);

    meter.Send("older");
    ASSERT_EQ(port.WaitEvent(100000), 0);
    port.Close();
    ASSERT_EQ(port.Open("COM7"), 0);
    EXPECT_EQ(port.WaitEvent(50), ERROR_TIMEOUT);
}
