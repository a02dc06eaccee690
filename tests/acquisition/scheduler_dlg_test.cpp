// The scheduler window's handlers without a window: what it queries when it opens, a START
// refused or activated, STOP and closing during a run, datalogging and audio recording, the
// log rows and the running caption.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "acquisition/scheduler_dlg.h"
#include "fake_scheduler_host.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "support/record_kinds.h"
#include "support/test_env.h"

using namespace acquisition;
using acqtest::FakeSchedulerHost;
using platform::DateTime;

namespace {

class SchedulerDlgTest : public ::testing::Test {
protected:
    SchedulerDlgTest() {
        platform::Clock::SetFixedNow(DateTime::FromParts(2024, 3, 9, 10, 0, 0).Seconds());
        host.current.m_strModel = host.edited.m_strModel = "QS4160_00$1";
        host.current.m_strProfileSpectrumTime = host.edited.m_strProfileSpectrumTime = "1s";
        host.current.m_strIntegrationTime = "SS:10";
        host.edited.m_strReportTime = "60";
    }
    ~SchedulerDlgTest() override { platform::Clock::SetFixedNow(std::nullopt); }

    // A plan START accepts: SLM, two minutes every ten from 10:05 to 12:00.
    void PlanAcquisitions() {
        dlg.OnInitDialog();
        host.ClearQueue();
        dlg.OnChannel(testkinds::kSoundLevelMeter);
        ScheduleSettings& settings = dlg.Settings();
        settings.continuous = false;
        dlg.OnContinuousAcquisition();
        settings.repetitionTime = 600;
        settings.start = DateTime::FromParts(2024, 3, 9, 10, 5, 0);
        settings.stop = DateTime::FromParts(2024, 3, 9, 12, 0, 0);
    }

    platform::ScopedClockSpeed fast{50.0};
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    FakeSchedulerHost host{folder.Path()};
    CSchedulerDlg dlg{host.WindowUses()};
};

}  // namespace

TEST_F(SchedulerDlgTest, OpeningQueriesTheMetersTimesAndSetsTheLeads) {
    dlg.OnInitDialog();
    EXPECT_EQ(host.Queued(), (std::vector<int>{24, 127, 22, 23, 45, 46, 47, 48, 143}));
    EXPECT_EQ(dlg.m_ConnSpan, 60);
    EXPECT_EQ(dlg.m_CalSpan, 120);
    EXPECT_EQ(host.edited.m_strProfileSpectrumTime, "1s");

    // A meter of the smaller family samples spectra every half second; a modem is slow.
    host.ClearQueue();
    host.current.m_strModel = "QS4060_00$1";
    host.modemLink = 1;
    dlg.OnInitDialog();
    EXPECT_EQ(host.Queued(), (std::vector<int>{24, 127}));
    EXPECT_EQ(host.edited.m_strProfileSpectrumTime, "0.5");
    EXPECT_EQ(dlg.m_ConnSpan, 180);

    dlg.OnInstrSetup();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"QueueSetupQueries"}));
}

TEST_F(SchedulerDlgTest, ARefusedStartLeavesNothingActivated) {
    PlanAcquisitions();
    folder.Write("RecFile.kr9", "INDEX FILE\r\nRecFile_1.rec\r\n");
    // Profile records every minute: a 2-minute acquisition brings none.
    dlg.OnChannel(testkinds::kProfile);
    host.edited.m_strProfileTime = "1m";
    dlg.Settings().acquisitionTime = 30;
    op.ExpectBox("No data will be Monitoring.");

    dlg.OnOK();

    EXPECT_EQ(host.mode.ChannelMode(), testkinds::kProfile);
    EXPECT_FALSE(host.run.IsActive());
    EXPECT_FALSE(host.mode.IsSchedulerMode());
    EXPECT_FALSE(host.mode.IsSchedulerRunning());
    EXPECT_TRUE(host.log.empty());
    EXPECT_TRUE(host.Written().empty());
    EXPECT_EQ(folder.Read("RecFile.kr9"), "INDEX FILE\r\nRecFile_1.rec\r\n");
    EXPECT_FALSE(platform::FileExists(folder.File("RecFileOLD.kr9")));
    EXPECT_TRUE(dlg.Form().IsEnabled(scheduler_ids::kStart));
    EXPECT_EQ(host.Queued(), (std::vector<int>{6, 7}));
}

TEST_F(SchedulerDlgTest, AnAcceptedStartActivatesTheRunAndStopEndsIt) {
    PlanAcquisitions();
    folder.Write("RecFile.kr9", "INDEX FILE\r\nRecFile_1.rec\r\n");

    dlg.OnOK();

    EXPECT_EQ(host.log, (std::vector<std::string>{"Scheduler Activated"}));
    EXPECT_TRUE(host.mode.IsSchedulerMode());
    EXPECT_TRUE(host.mode.IsSchedulerRunning());
    EXPECT_EQ(folder.Read("RecFileOLD.kr9"), "INDEX FILE\r\nRecFile_1.rec\r\n");
    EXPECT_EQ(folder.Read("RecFile.kr9"), "");
    EXPECT_EQ(host.Written(), (std::vector<std::string>{"STT:ACQ:STOP"}));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"FollowLastReportRow", "StopFrameMonitoring"}));
    EXPECT_EQ(dlg.m_nExpected, 241);
    EXPECT_EQ(dlg.m_AcqSpan, 120);
    EXPECT_EQ(dlg.m_RepSpan, 600);
    EXPECT_EQ(dlg.m_NextStart.Seconds(), DateTime::FromParts(2024, 3, 9, 10, 5).Seconds());
    EXPECT_EQ(host.liveTimebase.AcquisitionTime().WholeSeconds(), 120);
    EXPECT_EQ(host.liveTimebase.RepetitionTime().WholeSeconds(), 600);
    EXPECT_EQ(dlg.AcquisitionTime().WholeSeconds(), 120);
    EXPECT_FALSE(dlg.Form().IsEnabled(scheduler_ids::kSlmRadio));
    EXPECT_FALSE(dlg.Form().IsEnabled(scheduler_ids::kStart));
    EXPECT_TRUE(dlg.Form().IsEnabled(scheduler_ids::kStop));
    // The run carries out the plan as START composed it.
    ASSERT_TRUE(host.run.IsActive());
    EXPECT_FALSE(host.run.Plan().continuous);
    EXPECT_EQ(host.run.Plan().channel, testkinds::kSoundLevelMeter);
    EXPECT_EQ(host.run.Plan().nextStart, DateTime::FromParts(2024, 3, 9, 10, 5).Seconds());
    EXPECT_EQ(host.run.Plan().stop, DateTime::FromParts(2024, 3, 9, 12, 0).Seconds());
    EXPECT_EQ(host.run.Plan().acqSeconds, 120);
    EXPECT_EQ(host.run.Plan().repSeconds, 600);
    EXPECT_EQ(host.run.Plan().connSeconds, 60);
    EXPECT_EQ(host.run.Plan().expected, 241);

    // The operator thinks again, then stops, powering the meter off.
    op.ExpectBox("WARNING: Confirm stop scheduler ?", IDNO);
    dlg.OnCancel();
    EXPECT_TRUE(host.mode.IsSchedulerRunning());
    dlg.Settings().powerOffAtPause = true;
    dlg.Settings().dataLogging = true;
    host.mode.OnMeterAnswered();
    ASSERT_TRUE(host.mode.BeginLive());
    host.calls.clear();
    host.ClearQueue();
    folder.Write("RecFile.kr9", "INDEX FILE\r\nRecFile_2.rec\r\n");
    ASSERT_TRUE(host.liveFile.Create(folder.File("RecFile_2.rec")));
    op.ExpectBox("WARNING: Confirm stop scheduler ?", IDYES);
    dlg.OnCancel();

    EXPECT_FALSE(host.mode.IsSchedulerRunning());
    EXPECT_FALSE(host.mode.IsSchedulerMode());
    EXPECT_EQ(dlg.Caption(), "KX9  SCHEDULER");
    EXPECT_EQ(host.log, (std::vector<std::string>{"Scheduler Activated", "Stop Scheduler by user",
                                                  "Connection OFF"}));
    EXPECT_EQ(host.Queued(), (std::vector<int>{107, 87}));
    EXPECT_EQ(host.Written().back(), "KEY:OFF");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"link closed", "ResetViewForScheduler",
                                                    "OpenSchedulerFile"}));
    EXPECT_FALSE(host.liveFile.IsOpen());
    EXPECT_FALSE(host.mode.IsLive());
    EXPECT_FALSE(host.mode.IsLinkActive());
    EXPECT_FALSE(host.run.IsActive());
    EXPECT_EQ(folder.Read("Scheduler.kr9"), "INDEX FILE\r\nRecFile_2.rec\r\n");
    EXPECT_TRUE(dlg.Form().IsEnabled(scheduler_ids::kStart));
    EXPECT_FALSE(dlg.Form().IsEnabled(scheduler_ids::kStop));
    EXPECT_FALSE(dlg.Form().IsEnabled(scheduler_ids::kContinuous));

    // With no run, STOP only closes the window.
    dlg.OnCancel();
    EXPECT_EQ(host.log.size(), 3u);
}

TEST_F(SchedulerDlgTest, ARunWhoseFileCannotBeWrittenIsToldAndNoEarlierRunIsShownAsIt) {
    const std::string notCopied =
        "WARNING: Unable to copy RecFile.kr9 to Scheduler.kr9 (Scheduler.kr9: " +
        std::string(std::strerror(EISDIR)) +
        ").\nThe run's records are in RecFile.kr9; Scheduler.kr9 is not this run's.";
    PlanAcquisitions();
    dlg.OnOK();
    ASSERT_TRUE(platform::MakeDirectories(folder.File("Scheduler.kr9")));
    host.calls.clear();
    op.ExpectBox("WARNING: Confirm stop scheduler ?", IDYES);
    op.ExpectBox(notCopied);
    dlg.OnCancel();
    EXPECT_EQ(host.log.back(), notCopied);
    EXPECT_EQ(host.calls, std::vector<std::string>{"ResetViewForScheduler"});
    EXPECT_FALSE(host.mode.IsSchedulerMode());

    // A run that ends by itself is told only once it has ended, and told once.
    host.calls.clear();
    dlg.ShowRunResult();
    EXPECT_EQ(host.log.back(), notCopied);
    EXPECT_EQ(op.Shown().size(), 2u);
    op.ExpectBox(notCopied);
    dlg.EndRun();
    dlg.EndRun();
    EXPECT_EQ(op.Shown().size(), 3u);
    EXPECT_EQ(host.calls, std::vector<std::string>{"ResetViewForScheduler"});
}

TEST_F(SchedulerDlgTest, ClosingTheWindowStopsTheMetersAcquisitionOnly) {
    PlanAcquisitions();
    dlg.Settings().continuous = true;
    dlg.OnContinuousAcquisition();
    dlg.OnOK();
    ASSERT_TRUE(host.mode.IsSchedulerRunning());
    EXPECT_EQ(dlg.m_nExpected, -1);
    EXPECT_FALSE(dlg.AcquisitionTime().IsValid());
    ASSERT_TRUE(host.mode.BeginLive());
    host.calls.clear();
    host.ClearQueue();
    op.ExpectBox("WARNING: Confirm stop scheduler ?", IDYES);

    dlg.OnClose();

    EXPECT_FALSE(host.mode.IsSchedulerRunning());
    EXPECT_FALSE(host.mode.IsSchedulerMode());
    EXPECT_EQ(host.log.back(), "Stop Scheduler by user");
    EXPECT_EQ(host.Queued(), (std::vector<int>{107}));
    EXPECT_TRUE(host.calls.empty());
    EXPECT_FALSE(host.mode.IsLive());
}

TEST_F(SchedulerDlgTest, DataLoggingAsksAndFollowsTheMeter) {
    dlg.OnInitDialog();
    host.ClearQueue();
    ScheduleSettings& settings = dlg.Settings();
    for (std::string* value : {&host.edited.m_strSlmDatalogger, &host.edited.m_strProfDatalogger,
                               &host.edited.m_strOctDatalogger, &host.edited.m_strToctDatalogger})
        *value = "OFF";
    settings.dataLogging = true;
    op.ExpectBox("ERROR: No channel selected for datalogging");
    dlg.OnDataLogging();
    EXPECT_FALSE(settings.dataLogging);
    EXPECT_FALSE(dlg.Form().IsEnabled(scheduler_ids::kDownload));

    // A meter that logs reports keeps logging through a pause.
    host.current.m_strModel = "QS4160_L0$1";
    host.edited.m_strSlmDatalogger = "ON";
    host.current.m_strIntegrationMode = "SINGLE";
    host.current.m_strReportTime = "60";
    settings.dataLogging = true;
    op.ExpectBox("Do you want to clear instrument memory ?", IDYES);
    op.ExpectBox(
        "WARNING: Instrument integration time is 10 s.\nDatalogging and monitor will "
        "stop after this time.\nConfirm selction ?",
        IDYES);
    dlg.OnDataLogging();
    EXPECT_EQ(host.Queued(), (std::vector<int>{113}));
    EXPECT_TRUE(dlg.Form().IsEnabled(scheduler_ids::kDownload));
    EXPECT_FALSE(dlg.Form().IsEnabled(scheduler_ids::kStopAtPause));
    EXPECT_FALSE(settings.stopAtPause);

    settings.download = true;
    op.ExpectBox("When scheduler finish it will download alla data from instrument");
    dlg.OnDownloadLoggedData();

    settings.dataLogging = false;
    dlg.OnDataLogging();
    EXPECT_TRUE(dlg.Form().IsEnabled(scheduler_ids::kStopAtPause));
    EXPECT_FALSE(dlg.Form().IsEnabled(scheduler_ids::kDownload));
}

TEST_F(SchedulerDlgTest, AudioRecordingDeletesOnlyItsOwnFilesAndOnlyWhenAllowed) {
    dlg.OnInitDialog();
    const std::string outside = folder.File("keep/Audio_1.wav");
    platform::MakeDirectories(folder.File("keep"));
    for (const char* name : {"Audio_20240309_100000.wav", "Audio_2.wav", "notes.txt"})
        folder.Write(name, "x");
    folder.Write("keep/Audio_1.wav", "x");
    folder.Write("AudioFileList.txt", "a#b#0#1#" + folder.File("Audio_20240309_100000.wav") +
                                          "\r\n" + "a#b#0#1#Audio_2.wav\r\n" +
                                          "a#b#0#1#notes.txt\r\n" + "a#b#0#1#" + outside + "\r\n" +
                                          "a#b#0#1#../Audio_3.wav\r\n");
    dlg.Settings().audioRecording = true;
    op.ExpectBox("Available Rec Time:");
    op.ExpectBox("will be deleted", IDNO);
    dlg.OnAudioRecording();
    EXPECT_GE(dlg.m_nAvailableRecMinutes, 0);
    EXPECT_EQ(host.waited, 500u);
    EXPECT_TRUE(platform::FileExists(folder.File("Audio_2.wav")));
    EXPECT_TRUE(platform::FileExists(folder.File("AudioFileList.txt")));

    op.ExpectBox("Available Rec Time:");
    op.ExpectBox("will be deleted", IDYES);
    dlg.OnAudioRecording();
    EXPECT_FALSE(platform::FileExists(folder.File("Audio_20240309_100000.wav")));
    EXPECT_FALSE(platform::FileExists(folder.File("Audio_2.wav")));
    EXPECT_FALSE(platform::FileExists(folder.File("AudioFileList.txt")));
    EXPECT_TRUE(platform::FileExists(folder.File("notes.txt")));
    EXPECT_TRUE(platform::FileExists(outside));

    // Without a list there is nothing to ask.
    op.ExpectBox("Available Rec Time:");
    dlg.OnAudioRecording();
}

TEST_F(SchedulerDlgTest, AStartWithTheAudioSwitchOnShowsTheBench) {
    PlanAcquisitions();
    dlg.m_bAudioRecordingSwitch = TRUE;
    dlg.OnOK();
    EXPECT_EQ(host.calls.back(), "ShowBench");
}

TEST(SchedulerLogRows, EachLineGetsTheImageOfItsWords) {
    EXPECT_EQ(SchedulerLogImage("2024/03/09 10:00:00: Connection OFF"), -1);
    EXPECT_EQ(SchedulerLogImage("2024/03/09 10:00:00: Start Monitoring & DataLogging"), 5);
    EXPECT_EQ(SchedulerLogImage("2024/03/09 10:00:00: Start Calibration"), -1);
    EXPECT_EQ(SchedulerLogImage("Start Audio Rec."), 5);
    EXPECT_EQ(SchedulerLogImage("2024/03/09 10:00:00: Stop Monitoring & Stop DataLogging"), 6);
    EXPECT_EQ(SchedulerLogImage(
                  "2024/03/09 10:00:00: WARNING: Calibration interrupted by Timeout. (Delta Leq= "
                  "1.2)"),
              4);
    EXPECT_EQ(SchedulerLogImage("WARNING: Stop"), 6);
}

TEST(SchedulerCaption, RunningBlinksEverySecond) {
    const DateTime now = DateTime::FromParts(2024, 3, 9, 10, 0, 5);
    const std::string first = RunningCaption("KX9  SCHEDULER", now);
    EXPECT_EQ(first, "KX9  SCHEDULER ( RUNNING - 10:00:05  - )");
    EXPECT_EQ(RunningCaption(first, now), "KX9  SCHEDULER (                  - 10:00:05  - )");
}
