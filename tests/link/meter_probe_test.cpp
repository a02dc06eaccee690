// The identification probe on a fresh link, and the names the port search works with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/direct_exchange.h"
#include "link/link_fakes.h"
#include "link/link_reply_state.h"
#include "link/meter_probe.h"
#include "link/serial_line_settings.h"
#include "platform/com_ports.h"

using namespace meter_probe;

TEST(MeterProbeNames, FriendlyNamesGiveTheWorkingNameNumberAndDevice) {
    EXPECT_EQ(WorkingPortName("Communications Port (COM1)"), "COM1");
    EXPECT_EQ(ComNumberAfterCom("Communications Port (COM1)"), 1);

    EXPECT_EQ(WorkingPortName("USB Serial Port (COM12)"), "COM12");
    EXPECT_EQ(ComNumberAfterCom("COM12"), 12);
    EXPECT_EQ(PortNameOf("COM12"), "COM12");
    EXPECT_EQ(PortNameOf(12), "COM12");
    // The number is what opens the port, whatever its name looks like.
    platform::SetComDevice(12, "/dev/ttyUSB0");
    EXPECT_EQ(ComPortDevice(12), "/dev/ttyUSB0");
    platform::ClearComDevices();

    // A name without "COM" is kept whole and has no number: no device opens for it.
    EXPECT_EQ(WorkingPortName("Modem 56k"), "Modem 56k");
    EXPECT_EQ(ComNumberAfterCom("Modem 56k"), -1);
    EXPECT_EQ(ComPortDevice(-1), "");

    EXPECT_EQ(ReplyWait(kSearchReplyWait, 1200), 1000u);
    EXPECT_EQ(ReplyWait(kSearchReplyWait, 600), 3000u);
    EXPECT_EQ(ReplyWait(kStoredPortReplyWait, 300), 4000u);
}

TEST(MeterProbe, WaitsItsHalfSecondAndItsReplyTimeBlockingAndReadsTheFirstBytesOnly) {
    linktest::ManualClock clock;
    linktest::FakePort port{clock};
    LinkReplyState shared;
    bool pumped = false;
    DirectExchange exchange{shared, clock, [&](unsigned) { pumped = true; }};
    port.Expect("STT:MON:OFF", "STT:MON:OFF\x03").Expect("SET:INS:?", "SET:INSTR_MODEL:QS4060\x03");
    const std::string reply =
        meter_probe::RunIdentificationProbe(exchange, port, meter_probe::kSearchReplyWait);
    EXPECT_TRUE(meter_probe::IsMeterReply(reply));
    EXPECT_EQ(clock.sleeps, (std::vector<unsigned>{500, 1000}));  // plus 2 s below 1200 baud
    EXPECT_FALSE(pumped);

    // Only the first 31 bytes are read.
    port.Expect("SET:INS:?", std::string(20, '#') + "SET:INSTR_MODEL:QS4060\x03");
    EXPECT_FALSE(meter_probe::IsMeterReply(
        meter_probe::RunIdentificationProbe(exchange, port, meter_probe::kSearchReplyWait)));
}
