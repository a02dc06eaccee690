// The modem link against a simulated pair of modems in front of the simulated meter: the dial
// and its results.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/link_test_support.h"
#include "link/modem_link.h"
#include "link/serial.h"
#include "modem_responder.h"
#include "platform/clock.h"
#include "sim_meter.h"

using simmeter::ModemResponder;
using Dial = ModemResponder::Dial;

namespace {

class ModemLinkTest : public ::testing::Test {
protected:
    ModemLinkTest() {
        modem->InstallOn(meter);
        EXPECT_EQ(port.Open(meter.SlavePath()), 0);
        EXPECT_EQ(port.Setup(115200), 0);
        feedback.showText = [this](const std::string& text) { texts.push_back(text); };
        feedback.hideBox = [this] { ++hidden; };
        feedback.warn = [this](const std::string& text) { warnings.push_back(text); };
    }

    int DialNow(const std::string& number = "0123456") {
        const std::uint32_t start = platform::Clock::TickCount();
        const int result = modem_link::DialModem(clock, port, 3, 115200, number, feedback);
        elapsed = platform::Clock::TickCount() - start;
        return result;
    }

    // The dial reads each reply once, half a second after its command: at this pace the modem
    // has 50 ms of real time to answer, which a loaded machine keeps.
    platform::ScopedClockSpeed fast{10.0};
    simmeter::SimMeter meter;
    linktest::PatientClock clock{0, [this] { return meter.Answered(); }};
    std::shared_ptr<ModemResponder> modem = ModemResponder::Create();
    CSerial port;
    modem_link::DialFeedback feedback;
    std::vector<std::string> texts;
    std::vector<std::string> warnings;
    int hidden = 0;
    std::uint32_t elapsed = 0;
};

}  // namespace

TEST_F(ModemLinkTest, ACallThatStandsIsDialledStepByStep) {
    modem->SetDialOutcome(Dial::Connect, "CONNECT 9600", 4000);
    ASSERT_EQ(DialNow(), modem_link::kConnected);

    EXPECT_EQ(modem->Commands(),
              (std::vector<std::string>{"AT", "ATE0", "ATV1", "AT%C0", "AT\\N3", "ATDT0123456"}));
    EXPECT_EQ(modem->DialledNumbers(), (std::vector<std::string>{"0123456"}));
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Modem founded on\r\rPort = COM3 \rBaudrate = 115200",
                         "Modem setup...Please wait", "Dial up on number 0123456 ...\nPlease wait",
                         "REMOTE MODEM \r\nCONNECT 9600\r\n BAUD"}));
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(hidden, 0);
}

TEST_F(ModemLinkTest, ALowConnectRateWarns) {
    modem->SetDialOutcome(Dial::Connect, "CONNECT 4800", 1000);
    EXPECT_EQ(DialNow(), modem_link::kConnected);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0],
              "WARNING: Connection Baudrate is too low.\nPossiblility of data loose and "
              "comunication error.\n\nPlease select a higher baudrate for a saftey "
              "comunication.");
}

TEST_F(ModemLinkTest, ABusyOrDeadLineEndsWithItsReply) {
    modem->SetDialOutcome(Dial::Busy, "", 1000);
    EXPECT_EQ(DialNow(), modem_link::kLineReply);
    EXPECT_EQ(texts.back(), "Line: \r\nBUSY\r\n");

    modem->SetDialOutcome(Dial::NoCarrier, "", 1000);
    EXPECT_EQ(DialNow(), modem_link::kLineReply);
    EXPECT_EQ(texts.back(), "Line: \r\nNO CARRIER\r\n");
    EXPECT_EQ(hidden, 0);

    // A number that would start a second modem command is not dialled at all.
    meter.ClearLog();
    EXPECT_EQ(DialNow("0123\rATH"), modem_link::kLineReply);
    EXPECT_EQ(texts.back(), "Line: Invalid modem number");
    EXPECT_EQ(meter.LineCount(), 0u);
    EXPECT_TRUE(modem_link::IsDialNumber("0,W(02) 123-45#*"));
}

TEST_F(ModemLinkTest, ARemoteModemThatNeverAnswersIsGivenUpAfterAMinute) {
    platform::ScopedClockSpeed faster(20.0);
    modem->SetDialOutcome(Dial::NoAnswer);
    EXPECT_EQ(DialNow(), modem_link::kNoAnswer);
    EXPECT_EQ(texts.back(), "Remote modem not responding");
    EXPECT_EQ(hidden, 1);
    EXPECT_GE(elapsed, 2000u + modem_link::kDialPolls * 500u);
}

TEST_F(ModemLinkTest, WithoutALocalModemNothingIsShownAfterTheFirstHalfSecond) {
    meter.SetWireStage(nullptr);
    meter.SetBaud(0);
    EXPECT_EQ(DialNow(), modem_link::kNoLocalModem);
    EXPECT_TRUE(texts.empty());
    // Given up at the attention command, long before the two seconds a dial would wait first.
    EXPECT_LT(elapsed, 2000u);
    // The meter itself refused the attention command.
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"AT"}));
}
