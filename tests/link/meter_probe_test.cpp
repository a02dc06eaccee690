// The identification probe on a fresh link, and the names the port search works with.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

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

    platform::ScopedClockSpeed fast{50.0};
    simmeter::SimMeter meter;
    CSerial port;
};

TEST_F(MeterProbeTest, AMeterAnswersTheProbeAfterItsMonitoringIsSwitchedOff) {
    const std::uint32_t start = platform::Clock::TickCount();
    const std::string reply = RunIdentificationProbe(port, kSearchReplyWait);
    EXPECT_EQ(reply, "SET:INSTR_MODEL:QS4060\x03");
    EXPECT_TRUE(IsMeterReply(reply));
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"STT:MON:OFF", "SET:INS:?"}));
    // Half a second for the monitoring to stop, then the second for the reply.
    EXPECT_GE(platform::Clock::TickCount() - start, 1500u);
}

TEST_F(MeterProbeTest, OnlyAModelLineWithinTheFirstBytesInTimeVerifiesTheMeter) {
    meter.AnswerNext("SET:INS:?", std::string(20, '#') + "SET:INSTR_MODEL:QS4060\x03");
    EXPECT_FALSE(IsMeterReply(RunIdentificationProbe(port, kSearchReplyWait)));

    meter.DelayNext("SET:INS:?", 1500);
    EXPECT_FALSE(IsMeterReply(RunIdentificationProbe(port, kSearchReplyWait)));
    platform::Clock::Sleep(1000);  // the late answer lands, to be purged by the next probe

    // A meter at another speed stays silent.
    meter.SetBaud(9600);
    EXPECT_EQ(RunIdentificationProbe(port, kSearchReplyWait), "");
    EXPECT_FALSE(IsMeterReply(""));
}
