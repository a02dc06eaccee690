// The firmware update up to the maker's writer, against the web service's stand-in and a host
// that plays the frame and the meter: what is downloaded and written, what is held while the
// writer runs, and what is given back when it cannot start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "maintenance/calibration_protocol.h"
#include "maintenance/firmware_upgrade.h"
#include "web/web_test_env.h"

namespace {

using maintenance::FirmwareFileName;
namespace meter = maintenance::meter;

constexpr const char* kFirmware = "//qs4060krtn_vp//firmware_upgrade//fw_106.bin";
constexpr const char* kWriter = "//qs4060krtn_vp//firmware_upgrade//writer.txb";

class RecordingHost : public maintenance::FirmwareUpgradeHost {
public:
    explicit RecordingHost(std::string programDir) : m_programDir(std::move(programDir)) {}

    std::string ProgramDir() override { return m_programDir; }
    int TargetComPort() override { return 16; }
    std::optional<std::string> ExchangeWithTarget(const std::string& command) override {
        events.push_back(">> " + command);
        if (!portOpen || (command == meter::kUpgradeModeOn && !meterTakesUpgradeMode))
            return std::nullopt;
        return command + "\x03";
    }
    void CloseTargetPort() override {
        events.push_back("close");
        portOpen = false;
    }
    bool ReopenTargetPort() override {
        events.push_back("reopen");
        portOpen = true;
        return true;
    }
    bool BeginUpgrade() override {
        if (linkBusy)
            return false;
        events.push_back("hold");
        upgrading = true;
        return true;
    }
    void EndUpgrade() override {
        events.push_back("release");
        upgrading = false;
    }
    void ArmEndTimer(bool on) override {
        events.push_back(on ? "timer 8" : "no timer 8");
        timer = on;
    }
    bool StartWriter(const std::string& folder, std::string& why) override {
        events.push_back("writer " + folder);
        why = "no writer here";
        return writerStarts;
    }

    std::vector<std::string> events;
    bool portOpen = true;
    bool upgrading = false;
    bool timer = false;
    bool writerStarts = true;
    bool meterTakesUpgradeMode = true;
    bool linkBusy = false;

private:
    std::string m_programDir;
};

class FirmwareUpgradeTest : public WebClientTest {
protected:
    void SetUp() override {
        WebClientTest::SetUp();
        stub.ServeFile(kFirmware, "FIRMWARE 1.06");
        stub.ServeFile(kWriter, "WRITER");
    }
    std::string Folder() const { return folder.File("firmware_upgrade/"); }
    bool Run(const std::string& entry) {
        return maintenance::RunFirmwareUpgrade(host, client, feedback, entry);
    }

    testenv::TestOperator op;
    RecordingHost host{folder.Path()};
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
    EXPECT_TRUE(Run("fw_106.bin"));

    EXPECT_EQ(folder.Read("firmware_upgrade/fw_106.bin"), "FIRMWARE 1.06");
    EXPECT_EQ(folder.Read("firmware_upgrade/writer.txb"), "WRITER");
    EXPECT_EQ(folder.Read("firmware_upgrade/writer_port.txt"), "COM16\r\n");
    EXPECT_EQ(host.events, (std::vector<std::string>{"hold", ">> FAB:UPGRADE:ON", "close",
                                                     "timer 8", "writer " + Folder()}));
    EXPECT_TRUE(host.upgrading);
    EXPECT_TRUE(host.timer);
}

TEST_F(FirmwareUpgradeTest, AWriterThatCannotStartGivesEverythingBack) {
    host.writerStarts = false;
    op.ExpectBox("Aggiornamento firmware non eseguito.\n\nno writer here");
    EXPECT_FALSE(Run("fw_106.bin"));

    EXPECT_FALSE(host.upgrading);
    EXPECT_FALSE(host.timer);
    EXPECT_TRUE(host.portOpen);
    EXPECT_EQ(host.events, (std::vector<std::string>{"hold", ">> FAB:UPGRADE:ON", "close",
                                                     "timer 8", "writer " + Folder(), "no timer 8",
                                                     "release", "reopen", ">> FAB:UPGRADE:OFF"}));
}

TEST_F(FirmwareUpgradeTest, AMeterThatRefusesUpgradeModeIsLeftAsItWas) {
    host.meterTakesUpgradeMode = false;
    op.ExpectBox("Lo strumento non entra in modalita' aggiornamento.");
    EXPECT_FALSE(Run("fw_106.bin"));
    EXPECT_EQ(host.events, (std::vector<std::string>{"hold", ">> FAB:UPGRADE:ON", "release"}));
    EXPECT_TRUE(host.portOpen);
}

TEST_F(FirmwareUpgradeTest, ALinkBusyWithTheMeterRefusesTheUpgradeBeforeTheMeterIsAsked) {
    host.linkBusy = true;
    op.ExpectBox("Aggiornamento firmware non eseguito.\n\nIl collegamento con lo strumento");
    EXPECT_FALSE(Run("fw_106.bin"));
    EXPECT_TRUE(host.events.empty());
    EXPECT_FALSE(host.upgrading);
}

TEST_F(FirmwareUpgradeTest, NothingIsHeldWhenAFileIsMissingOrTheEntryNamesAPath) {
    op.ExpectBox("Download di fw_107.bin fallito.");
    EXPECT_FALSE(Run("fw_107.bin"));
    EXPECT_TRUE(host.events.empty());

    const int requests = static_cast<int>(stub.Requests().size());
    op.ExpectBox(std::string(maintenance::kBadFirmwareEntry) + "../../port.ini");
    EXPECT_FALSE(Run("../../port.ini"));
    EXPECT_EQ(static_cast<int>(stub.Requests().size()), requests);
    EXPECT_TRUE(host.events.empty());
}

}  // namespace
