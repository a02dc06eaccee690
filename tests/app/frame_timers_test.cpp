// The frame's periodic jobs.
#include <gtest/gtest.h>

#include "app/frame_bench.h"
#include "app/frame_timers.h"
#include "app/frame_web.h"
#include "app/live_monitoring.h"
#include "frame_test_support.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "webstub/webstub_process.h"

using namespace frametest;

namespace {

class FrameTimersTest : public FrameLinkTest {
protected:
    FrameTimersTest() {
        app.m_InstrStatus.m_strModel = "QS4060";
        app.m_InstrStatus.m_strSerialNumber = "A1";
        frame.Bench().Instruments().target.serial = "T77";
        frame.Bench().Instruments().refSerial = "R11";
        frame.Web().Client().SetEndpoint({stub.Host(), stub.PortText(), "", "", stub.PortText()});
    }

    std::string Mails() const { return stub.ReadState("mails").value_or(""); }
    std::optional<std::string> Uploaded(const std::string& name) const {
        return stub.ReadState("uploaded_logs/" + name);
    }

    webstub::WebStub stub;
};

}  // namespace

TEST_F(FrameTimersTest, SuccessfulFirmwareUpdateIsMailedLoggedAndItsFilesConsumed) {
    folder.Write("firmware_upgrade/EndUpgrade.tmp", "");
    folder.Write("firmware_upgrade/FirmwareLog.txt", "erase ok\r\nwrite ok\nverify ok\r\n");
    folder.Write("firmware_upgrade/writer.txb", "tool");
    folder.Write("archivio_verifiche/T77.vpg", "report");
    app.m_strCurrentFile = folder.File("archivio_verifiche/T77.vpg");
    ASSERT_TRUE(frame.Mode().BeginFirmwareUpgrade());
    frame.Timers().Set(FrameTimers::kFirmwareUpgrade, 1000);
    op.ExpectBox("Aggiornamento firmware completato correttamente.");

    frame.Timers().Expire(FrameTimers::kFirmwareUpgrade);

    EXPECT_FALSE(frame.Mode().IsFirmwareUpgrading());
    EXPECT_FALSE(frame.Timers().IsSet(FrameTimers::kFirmwareUpgrade));
    EXPECT_EQ(op.types, std::vector<unsigned>{MB_ICONINFORMATION});
    EXPECT_EQ(Mails(), ";OK Aggiornamento firmware fonometro T77;\n");
    const std::string log = "REF SN R11 DUT SN T77\r\nerase ok\r\nwrite ok\r\nverify ok\r\n";
    EXPECT_EQ(folder.Read("archivio_verifiche/T77Log.txt"), log);
    EXPECT_EQ(Uploaded("T77Log.txt"), log);
    EXPECT_FALSE(platform::FileExists(folder.File("firmware_upgrade/EndUpgrade.tmp")));
    EXPECT_FALSE(platform::FileExists(folder.File("firmware_upgrade/writer.txb")));
}

TEST_F(FrameTimersTest, FailedFirmwareUpdateWithoutItsLogStillMailsUploadsAndTells) {
    // Without a marker the timer keeps waiting.
    ASSERT_TRUE(frame.Mode().BeginFirmwareUpgrade());
    frame.Timers().Set(FrameTimers::kFirmwareUpgrade, 1000);
    frame.Timers().Expire(FrameTimers::kFirmwareUpgrade);
    EXPECT_TRUE(frame.Mode().IsFirmwareUpgrading());
    EXPECT_TRUE(frame.Timers().IsSet(FrameTimers::kFirmwareUpgrade));
    EXPECT_EQ(Mails(), "");

    folder.Write("firmware_upgrade/EndUpgradeFAILED.tmp", "");
    op.ExpectBox("Aggiornamento firmware fallito.");
    frame.Timers().Expire(FrameTimers::kFirmwareUpgrade);
    EXPECT_FALSE(frame.Mode().IsFirmwareUpgrading());
    EXPECT_EQ(Mails(), ";FAILED Aggiornamento firmware fonometro T77;\n");
    // The log is created, empty, before it is uploaded.
    EXPECT_EQ(Uploaded("Log.txt"), "");
    EXPECT_EQ(folder.Read("Log.txt"), "");
    EXPECT_FALSE(platform::FileExists(folder.File("firmware_upgrade/EndUpgradeFAILED.tmp")));
}

TEST_F(FrameTimersTest, DeferredMenuJobsRunOnceFromTheirTimers) {
    app.m_strTechnicianId = "T1";
    frame.Timers().Set(FrameTimers::kCalibExpiryUpdate, 200);
    ASSERT_TRUE(PumpUntil([&] { return CalibExpiryUpdateStarted(); }));
    EXPECT_FALSE(frame.Timers().IsSet(FrameTimers::kCalibExpiryUpdate));

    // Yes starts the validation, whose first guard refuses a meter of unknown model.
    op.ExpectBox("Eseguire la validazione del rapporto", IDNO)
        .ExpectBox("Eseguire la validazione del rapporto", IDYES)
        .ExpectBox("Solo verifiche effettuate su strumentazione Corvanex");
    frame.Timers().Set(FrameTimers::kReportValidation, 500);
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 1; }));
    EXPECT_FALSE(frame.Timers().IsSet(FrameTimers::kReportValidation));
    frame.Timers().Set(FrameTimers::kReportValidation, 500);
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 3; }));
    EXPECT_EQ(op.types[0], MB_YESNO | MB_ICONINFORMATION);
}

TEST_F(FrameTimersTest, StatusPollEmptiesTheStatusTextAndQueuesTheFourQueries) {
    frame.Timers().Expire(FrameTimers::kStatusPoll);
    EXPECT_EQ(ui.statusTextEmptied, 1);
    EXPECT_EQ(QueuedCodes(frame), (std::vector<int>{100, 17, 11, 109}));
}

TEST_F(FrameTimersTest, SingleIntegrationThatRanItsTimeEndsTheLiveRun) {
    app.m_InstrStatus.m_strIntegrationMode = "SINGLE";
    app.m_InstrStatus.m_strIntegrationTime = "MM:02";
    frame.Mode().OnDataLoggingStarted();
    ASSERT_TRUE(frame.Mode().OnMonitorStarted());
    frame.Monitoring().SetElapsedSeconds(119);
    frame.Timers().Set(FrameTimers::kIntegrationEnd, 5000);
    frame.Timers().Expire(FrameTimers::kIntegrationEnd);
    EXPECT_FALSE(frame.Timers().IsSet(FrameTimers::kIntegrationEnd));
    EXPECT_FALSE(frame.Mode().IsMonitorOn());
    EXPECT_TRUE(frame.Link().IsReadyToSend());
    EXPECT_EQ(QueuedCodes(frame), std::vector<int>{100});

    // Its time is up: the new session ends the live run.
    frame.Monitoring().SetElapsedSeconds(120);
    op.ExpectBox("End Monitor by integration time expired.");
    frame.Timers().Expire(FrameTimers::kIntegrationEnd);
    EXPECT_FALSE(frame.Mode().IsMonitorOn());
    EXPECT_EQ(frame.Timers().Interval(FrameTimers::kStatusPoll), 60000u);
    EXPECT_EQ(op.types, std::vector<unsigned>{MB_ICONINFORMATION});

    frame.Mode().EnterSchedulerMode();
    app.m_InstrStatus.m_strIntegrationTime = "HH:01";
    frame.Monitoring().SetElapsedSeconds(3600);
    frame.Timers().Expire(FrameTimers::kIntegrationEnd);
    EXPECT_EQ(SchedulerLog(), std::vector<std::string>{"End Monitor by integration time expired."});
}

TEST_F(FrameTimersTest, InstrumentClockAndRecordingMarkShowWhileTheLinkIsActive) {
    const auto now = platform::DateTime::FromParts(2024, 3, 9, 14, 5, 7);
    platform::Clock::SetFixedNow(now.Seconds());
    frame.Timers().Expire(FrameTimers::kInstrumentClock);
    EXPECT_TRUE(ui.panes.empty());

    frame.Mode().OnMeterAnswered();
    frame.Timers().Expire(FrameTimers::kInstrumentClock);
    EXPECT_EQ(ui.panes[6].text, "Instr.Date: 2024/03/09");
    EXPECT_EQ(ui.panes[7].text, "Instr.Time: 14:05:07");
    frame.Mode().EnterSchedulerMode();  // the scheduler's panes
    frame.Timers().Expire(FrameTimers::kInstrumentClock);
    EXPECT_EQ(ui.panes[10].text, "Instr.Time: 14:05:07");
    platform::Clock::SetFixedNow(std::nullopt);

    ui.SetTitle("KX9Monitor QS4060 - A1");
    frame.Timers().Expire(FrameTimers::kRecordingBlink);
    EXPECT_EQ(ui.GetTitle(), "KX9Monitor QS4060 - A1");  // not datalogging
    frame.Mode().OnDataLoggingStarted();
    frame.Timers().Expire(FrameTimers::kRecordingBlink);
    EXPECT_EQ(ui.GetTitle(), "KX9Monitor QS4060 - A1                 -RECORDING-");
    frame.Timers().Expire(FrameTimers::kRecordingBlink);
    EXPECT_EQ(ui.GetTitle(), "KX9Monitor QS4060 - A1");
}

TEST_F(FrameTimersTest, DownloadProgressShowsInTheTitleAndTheBox) {
    ASSERT_TRUE(frame.Mode().BeginDownload());
    frame.DumpHost().Progress().file = 3;
    frame.DumpHost().Progress().line = 250;
    ui.minimized = true;
    ui.downloadBoxShown = true;
    ui.downloadProgress = 110;
    frame.Timers().Expire(FrameTimers::kDownloadProgress);
    EXPECT_EQ(ui.GetTitle(), "Download progress: file 3 - line 250");
    EXPECT_EQ(ui.downloadProgress, 0);  // reached 120: starts again
    EXPECT_EQ(ui.downloadFields, std::make_pair(std::string("3"), std::string("250")));
    ui.minimized = false;
    frame.Timers().Expire(FrameTimers::kDownloadProgress);
    EXPECT_EQ(ui.GetTitle(), "KX9Monitor QS4060 - A1");
    EXPECT_EQ(ui.downloadProgress, 10);
}
