// The firmware update up to the maker's writer, against the web service's stand-in, a link
// session whose instrument under test is an in-memory port, and a host that plays the frame: what
// is downloaded and written, what is held while the writer runs, and what is given back when it
// cannot start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/link_fakes.h"
#include "link/link_session.h"
#include "link/port_record.h"
#include "link/quiet_link_host.h"
#include "maintenance/calibration_protocol.h"
#include "maintenance/firmware_upgrade.h"
#include "web/web_test_env.h"

namespace {

using linktest::Lines;
using maintenance::FirmwareFileName;
namespace meter = maintenance::meter;

constexpr const char* kFirmware = "//qs4060krtn_vp//firmware_upgrade//fw_106.bin";
constexpr const char* kWriter = "//qs4060krtn_vp//firmware_upgrade//writer.txb";
constexpr int kTargetCom = 16;

// The instrument under test's port: what goes out on it, its closing and its opening join the
// test's events, in their order.
class TargetPort : public linktest::FakePort {
public:
    TargetPort(linktest::ManualClock& clock, Lines& events) : FakePort(clock), m_events(events) {}

    int Close() override {
        if (IsOpen())
            m_events.push_back("close");
        return FakePort::Close();
    }
    int OpenFor(int comNumber, platform::MessageTarget* target) override {
        m_events.push_back("open COM" + std::to_string(comNumber));
        return FakePort::OpenFor(comNumber, target);
    }

protected:
    int WriteBytes(const std::string& text, size_t* written) override {
        if (IsOpen())
            m_events.push_back(">> " + text.substr(0, text.find_first_of("\r\n")));
        return FakePort::WriteBytes(text, written);
    }

private:
    Lines& m_events;
};

class RecordingHost : public maintenance::FirmwareUpgradeHost {
public:
    RecordingHost(Lines& events, const MeterMode& mode) : m_events(events), m_mode(mode) {}

    bool HasView() override { return view; }
    void ArmEndTimer(bool on) override {
        m_events.push_back(on ? "timer 8" : "no timer 8");
        timer = on;
    }
    bool StartWriter(const std::string& folder, std::string& why) override {
        m_events.push_back("writer " + folder);
        queueHeldForWriter = m_mode.IsSendingHeld();
        why = "no writer here";
        return writerStarts;
    }

    bool view = true;
    bool timer = false;
    bool writerStarts = true;
    bool queueHeldForWriter = false;

private:
    Lines& m_events;
    const MeterMode& m_mode;
};

class FirmwareUpgradeTest : public WebClientTest {
protected:
    FirmwareUpgradeTest() {
        targetPort.m_nComPort = kTargetCom;
        targetPort.m_nBaudRate = 38400;
    }
    void SetUp() override {
        WebClientTest::SetUp();
        stub.ServeFile(kFirmware, "FIRMWARE 1.06");
        stub.ServeFile(kWriter, "WRITER");
    }
    std::string Folder() const { return folder.File("firmware_upgrade/"); }
    // The meter takes the upgrade mode's commands.
    void MeterAnswers(const char* command) {
        target.Expect(command, std::string(command) + "\x03");
    }
    bool Run(const std::string& entry) {
        return maintenance::RunFirmwareUpgrade({.host = host,
                                                .link = session,
                                                .targetPort = targetPort,
                                                .web = client,
                                                .pleaseWait = feedback,
                                                .programDir = programDir},
                                               entry);
    }
    bool Upgrading() const { return session.Mode().IsFirmwareUpgrading(); }

    testenv::TestOperator op;
    Lines events;
    linktest::ManualClock clock;
    TargetPort target{clock, events};
    linktest::FakePort reference{clock};
    linktest::QuietLinkHost linkHost;
    LinkSession session{linkHost, clock, linkHost.Settings(), target, reference};
    PortRecord targetPort;
    std::string programDir = folder.Path();
    RecordingHost host{events, session.Mode()};
    web::NoWaitFeedback feedback;
};

TEST(FirmwareEntryTest, AnEntryNamesAFileOfTheFirmwareFolderOnly) {
    EXPECT_EQ(FirmwareFileName(" fw_106.bin "), "fw_106.bin");
    EXPECT_EQ(FirmwareFileName("QS4060KRTN v1.06.hex"), "QS4060KRTN v1.06.hex");
    for (const char* entry :
         {"", "  ", "../port.ini", "..", "a/b.bin", "\\\\server\\fw.bin", "C:\\fw.bin", "fw..bin"})
        EXPECT_EQ(FirmwareFileName(entry), std::nullopt) << entry;
}

TEST_F(FirmwareUpgradeTest, TheWriterRunsWithTheLinkHeldAndTimer8Watching) {
    MeterAnswers(meter::kUpgradeModeOn);
    EXPECT_TRUE(Run("fw_106.bin"));

    EXPECT_EQ(folder.Read("firmware_upgrade/fw_106.bin"), "FIRMWARE 1.06");
    EXPECT_EQ(folder.Read("firmware_upgrade/writer.txb"), "WRITER");
    EXPECT_EQ(folder.Read("firmware_upgrade/writer_port.txt"), "COM16\r\n");
    EXPECT_EQ(events, (Lines{">> FAB:UPGRADE:ON", "close", "timer 8", "writer " + Folder()}));
    EXPECT_TRUE(host.queueHeldForWriter);
    EXPECT_TRUE(Upgrading());
    EXPECT_TRUE(host.timer);
    EXPECT_FALSE(target.IsOpen());
}

TEST_F(FirmwareUpgradeTest, AWriterThatCannotStartGivesEverythingBack) {
    host.writerStarts = false;
    MeterAnswers(meter::kUpgradeModeOn);
    MeterAnswers(meter::kUpgradeModeOff);
    op.ExpectBox("Aggiornamento firmware non eseguito.\n\nno writer here");
    EXPECT_FALSE(Run("fw_106.bin"));

    EXPECT_FALSE(Upgrading());
    EXPECT_FALSE(host.timer);
    EXPECT_TRUE(target.IsOpen());
    EXPECT_EQ(events, (Lines{">> FAB:UPGRADE:ON", "close", "timer 8", "writer " + Folder(),
                             "no timer 8", "open COM16", ">> FAB:UPGRADE:OFF"}));
    // Opened again on the record's settings.
    ASSERT_FALSE(target.setUps.empty());
    EXPECT_EQ(target.setUps.back().comNumber, kTargetCom);
    EXPECT_EQ(target.setUps.back().line.baudRate, 38400);
}

TEST_F(FirmwareUpgradeTest, AMeterLeftInUpgradeModeOrAPortThatStaysClosedIsToldOf) {
    host.writerStarts = false;
    MeterAnswers(meter::kUpgradeModeOn);
    op.ExpectBox("Lo strumento resta in modalita' aggiornamento: spegnerlo e riaccenderlo.");
    EXPECT_FALSE(Run("fw_106.bin"));
    EXPECT_FALSE(Upgrading());

    target.refuseOpen = true;
    MeterAnswers(meter::kUpgradeModeOn);
    op.ExpectBox("La porta dello strumento non si riapre");
    EXPECT_FALSE(Run("fw_106.bin"));
    EXPECT_FALSE(Upgrading());
    EXPECT_FALSE(host.timer);
}

TEST_F(FirmwareUpgradeTest, AMeterThatRefusesUpgradeModeIsLeftAsItWas) {
    op.ExpectBox("Lo strumento non entra in modalita' aggiornamento.");
    EXPECT_FALSE(Run("fw_106.bin"));
    EXPECT_EQ(events, (Lines(3, ">> FAB:UPGRADE:ON")));
    EXPECT_FALSE(Upgrading());
    EXPECT_TRUE(target.IsOpen());
}

TEST_F(FirmwareUpgradeTest, WithoutTheViewTheMeterIsNotAsked) {
    host.view = false;
    MeterAnswers(meter::kUpgradeModeOn);
    op.ExpectBox("Lo strumento non entra in modalita' aggiornamento.");
    EXPECT_FALSE(Run("fw_106.bin"));
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(Upgrading());
    EXPECT_TRUE(target.IsOpen());
}

TEST_F(FirmwareUpgradeTest, ALinkBusyWithTheMeterRefusesTheUpgradeBeforeTheMeterIsAsked) {
    ASSERT_TRUE(session.Mode().OnMonitorStarted());
    op.ExpectBox("Aggiornamento firmware non eseguito.\n\nIl collegamento con lo strumento");
    EXPECT_FALSE(Run("fw_106.bin"));
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(session.Mode().IsMonitorOn());
}

TEST_F(FirmwareUpgradeTest, NothingIsHeldWhenAFileIsMissingOrTheEntryNamesAPath) {
    op.ExpectBox("Download di fw_107.bin fallito.");
    EXPECT_FALSE(Run("fw_107.bin"));
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(Upgrading());

    const int requests = static_cast<int>(stub.Requests().size());
    op.ExpectBox(std::string(maintenance::kBadFirmwareEntry) + "../../port.ini");
    EXPECT_FALSE(Run("../../port.ini"));
    EXPECT_EQ(static_cast<int>(stub.Requests().size()), requests);
    EXPECT_TRUE(events.empty());
}

}  // namespace
