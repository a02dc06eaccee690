// The identification probe against the simulated meter, and the names the port search works
// with.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "link/link_test_support.h"
#include "link/meter_probe.h"
#include "link/serial.h"
#include "platform/clock.h"
#include "sim_meter.h"

using namespace meter_probe;

TEST(MeterProbeNames, FriendlyNamesGiveTheWorkingNameNumberAndDevice) {
    EXPECT_EQ(WorkingPortName("Communications Port (COM1)"), "COM1");
    EXPECT_EQ(ComNumberAfterCom("Communications Port (COM1)"), 1);

    EXPECT_EQ(WorkingPortName("USB Serial Port (COM12)"), "COM12");
    EXPECT_EQ(ComNumberAfterCom("COM12"), 12);
    EXPECT_EQ(DeviceNameOf(12, "COM12"), "\\\\.\\COM12");
    EXPECT_EQ(PortNameOf("\\\\.\\COM12"), "COM12");
    EXPECT_EQ(DeviceNameOf(9), "COM9");
    EXPECT_EQ(DeviceNameOf(10), "\\\\.\\COM10");

    // A name without "COM" is kept whole and has no number.
    EXPECT_EQ(WorkingPortName("Modem 56k"), "Modem 56k");
    EXPECT_EQ(ComNumberAfterCom("Modem 56k"), -1);

    EXPECT_EQ(ReplyWait(kSearchReplyWait, 1200), 1000u);
    EXPECT_EQ(ReplyWait(kSearchReplyWait, 600), 3000u);
    EXPECT_EQ(ReplyWait(kStoredPortReplyWait, 300), 4000u);
}

class MeterProbeTest : public ::testing::Test {
protected:
    MeterProbeTest() {
        EXPECT_EQ(port.Open(meter.SlavePath()), 0);
        EXPECT_EQ(port.Setup(38400), 0);
    }

    std::string Probe() { return RunIdentificationProbe(link.exchange, port, kSearchReplyWait); }

    platform::ScopedClockSpeed fast{50.0};
    simmeter::SimMeter meter;
    CSerial port;
    linktest::ProgramExchange link;
};

TEST_F(MeterProbeTest, AMeterAnswersTheProbeInTimeAndAtItsOwnSpeedOnly) {
    const std::uint32_t start = platform::Clock::TickCount();
    const std::string reply = Probe();
    EXPECT_EQ(reply, "SET:INSTR_MODEL:QS4060\x03");
    EXPECT_TRUE(IsMeterReply(reply));
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"STT:MON:OFF", "SET:INS:?"}));
    // Half a second for the monitoring to stop, then the second for the reply.
    EXPECT_GE(platform::Clock::TickCount() - start, 1500u);

    meter.DelayNext("SET:INS:?", 1500);
    EXPECT_FALSE(IsMeterReply(Probe()));
    platform::Clock::Sleep(1000);  // the late answer lands, to be purged by the next probe

    meter.SetBaud(9600);
    EXPECT_EQ(Probe(), "");
}
