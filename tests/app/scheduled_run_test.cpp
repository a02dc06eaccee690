// One whole schedule run against the simulated meter over its pseudo-terminal, at a faster
// program clock: connection ahead of each acquisition, an electric calibration before it,
// monitoring with datalogging, live records, the pause that powers the meter off, the stop time,
// the memory download and the end of the run; its log is checked line by line. The golden
// transcript of such a run is tests/app/golden/scheduled_run.txt; KX9_UPDATE_GOLDEN=1 writes it
// again instead of comparing (support/golden_file.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "acquisition/scheduler_log.h"
#include "acquisition/scheduler_run.h"
#include "app/busy_meter_job.h"
#include "app/frame_data_files.h"
#include "app/frame_notices.h"
#include "app/frame_scheduler.h"
#include "frame_test_support.h"
#include "live_stage.h"
#include "meter_dump.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "support/golden_file.h"
#include "support/record_kinds.h"

using namespace frametest;

namespace {

using Lines = std::vector<std::string>;

// "hh:mm:ss\t<five levels>" once a half second.
std::string LevelRecord(int n) {
    return platform::Format("%.2d:%.2d:%.2d\t45.%d\t46.0\t47.1\t48.2\t49.3", n / 7200,
                            (n / 120) % 60, (n / 2) % 60, n % 10);
}

class ScheduledRunTest : public FrameLinkTest {
protected:
    ScheduledRunTest() {
        app.m_InstrStatus.m_strModel = "QS4160_00$1";
        app.m_InstrStatus.m_strSerialNumber = "A12345";
        app.m_RefPort.m_nComPort = kCom;
        app.m_RefPort.m_nBaudRate = 38400;
        app.m_bAutoDetectPort = 0;
        app.m_bModemLink = 0;
        frame.Mode().EnterSchedulerMode();
        frame.Mode().OnRunStarted();
        meter.SetWireStage(stream);
        meter.Modify([](simmeter::MeterState& state) {
            state.dumpFiles = 2;
            state.dump.records = simmeter::EveryRecordTypeDump();
        });
        platform::SetShellRecorder([this](const platform::ShellRequest& request) {
            shell.push_back(request.path);
            return true;
        });
    }
    ~ScheduledRunTest() override {
        platform::SetShellRecorder(nullptr);
        platform::Clock::SetFixedNow(std::nullopt);
    }

    // What the run's end says when no run was started: no record index was made.
    const std::string noRecordIndex =
        "WARNING: Unable to copy RecFile.kr9 to Scheduler.kr9 (RecFile.kr9: " +
        std::string(std::strerror(ENOENT)) +
        ").\nThe run's records are in RecFile.kr9; Scheduler.kr9 is not this run's.";
    std::shared_ptr<simmeter::LiveRecordStage> stream =
        std::make_shared<simmeter::LiveRecordStage>(500, LevelRecord);
    std::vector<std::string> shell;
};

// Data logging of the sound level meter, 6 s acquisitions from 40 s after `start`, a calibration
// before each, the meter off at the pauses and a download at the end.
acquisition::SchedulePlan CalibratedDataLogging(const platform::DateTime& start) {
    acquisition::SchedulePlan plan;
    plan.channel = testkinds::kSoundLevelMeter;
    plan.continuous = false;
    plan.dataLogging = true;
    plan.powerOffAtPause = true;
    plan.download = true;
    plan.calDisabled = false;
    plan.calBefore = true;
    plan.connSeconds = 5;
    plan.calSeconds = 25;
    plan.nextStart = start.Seconds() + 40;
    plan.acqSeconds = 6;
    return plan;
}

}  // namespace

TEST_F(ScheduledRunTest, CalibratedDataLoggingAcquisitionsPowerOffAndEndWithADownload) {
    const platform::DateTime start = platform::DateTime::FromParts(2024, 5, 6, 8, 0, 0);
    platform::Clock::SetFixedNow(start.Seconds());
    acquisition::SchedulePlan plan = CalibratedDataLogging(start);
    plan.repSeconds = 40;
    plan.stop = plan.nextStart + 60;
    plan.expected = 1 + 2 * 6;

    frame.Notices().LogScheduler(true, "Scheduler Activated", true);
    frame.Scheduler().Run().Start(plan);
    ASSERT_TRUE(PumpUntil([&] { return !frame.Scheduler().Run().IsActive(); }, 30000))
        << ::testing::PrintToString(SchedulerLog());

    const Lines cycle = {"Connection established",
                         "Start Calibration",
                         "Calibration end successfully (Delta Leq = 0.3 dB)",
                         "Start Monitoring & DataLogging",
                         "Pause Monitoring & Stop DataLogging",
                         "Instr. Power Off",
                         "Connection OFF"};
    Lines expected = {"Scheduler Activated"};
    expected.insert(expected.end(), cycle.begin(), cycle.end());
    expected.insert(expected.end(), cycle.begin(), cycle.end());
    expected.insert(expected.end(),
                    {"Connection established", "Download Data",
                     "The memory was saved in " + folder.File("QS4160_DumpFile.kx9") +
                         ".\nIts viewer \"KX9Viewer.exe\" is a program of another system and "
                         "does not exist here.",
                     "Connection OFF", "End Scheduler"});
    EXPECT_EQ(SchedulerLog(), expected);

    // Each acquisition's records came, the meter was calibrated twice and switched off at
    // each pause, and its memory came whole into the dump file.
    EXPECT_GE(stream->Sent(), 2 * plan.expected);
    Lines exits;
    meter.Modify([&](simmeter::MeterState& state) { exits = state.calibration.programExits; });
    EXPECT_EQ(exits, (Lines{"KEY:CLEFT", "KEY:CLEFT"}));
    const Lines lines = meter.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "KEY:OFF"), 2);
    const auto dump = platform::ReadWholeFile(folder.File("QS4160_DumpFile.kx9"));
    ASSERT_TRUE(dump);
    EXPECT_EQ(simmeter::SplitDumpFile(*dump).size(), simmeter::EveryRecordTypeDump().size());
    EXPECT_EQ(op.Shown(), Lines{});

    // Both acquisitions' records, as the data-file reader opens the run's file.
    frame.DataFiles().Reader().OpenSessionFile(folder.File("Scheduler.kr9"));
    EXPECT_EQ(app.m_bDataLoaded, 1);
    EXPECT_EQ(frame.Mode().ChannelMode(), testkinds::kSoundLevelMeter);
    const long long samples = frame.m_recording.SampleCount();
    EXPECT_GE(samples, 2 * plan.expected);
    EXPECT_LE(samples, stream->Sent());
    ASSERT_EQ(view.m_DataList.GetItemCount(), static_cast<int>(samples));
    EXPECT_EQ(view.m_DataList.GetItemText(0, 1), "45.0");
    EXPECT_EQ(view.m_DataList.GetItemText(0, 2), "46.0");
}

TEST_F(ScheduledRunTest, AMeterSilentAtTheDownloadStillEndsTheRun) {
    op.ExpectBox(noRecordIndex);
    OpenLink();
    meter.SilenceNext("DMP:ON", -1);
    frame.Scheduler().Run().SetState(acquisition::SchedulerRun::kDownloading);
    frame.SendCommand(110, "", "");
    ASSERT_TRUE(PumpUntil(
        [&] {
            const Lines lines = SchedulerLog();
            return !lines.empty() && lines.back() == "End Scheduler";
        },
        10000));
    // No run was started, so no record index was made: no earlier run's file is shown for it.
    EXPECT_EQ(SchedulerLog(), (Lines{noRecordIndex, "Connection OFF", "End Scheduler"}));
    EXPECT_EQ(op.Shown(), Lines{noRecordIndex});
    EXPECT_FALSE(frame.Link().Port().IsOpen());
}

// The run's end through the port, when the meter refuses "DMP:ON" each time it is sent or
// stays silent: the download's step is lost or times out, the run ends, and with it the close's
// refusal, which held from the download's start.
TEST_F(ScheduledRunTest, AMeterRefusingOrSilentAtTheDownloadEndsTheRunAndTheRefusalOfTheClose) {
    for (const bool refusing : {true, false}) {
        SCOPED_TRACE(refusing ? "refusing" : "silent");
        OpenLink();  // the run's end closed it
        op.ExpectBox(noRecordIndex);
        frame.Mode().EnterSchedulerMode();
        frame.Mode().OnRunStarted();
        frame.Mode().OnMeterAnswered();
        meter.ClearOverrides();
        meter.ClearLog();
        if (refusing)
            meter.RefuseNext("DMP:ON", -1);
        else
            meter.SilenceNext("DMP:ON", -1);
        acquisition::SchedulePlan plan;  // continuous, its stop time long past
        plan.download = true;
        acquisition::SchedulerRun& run = frame.Scheduler().Run();
        run.Start(plan);
        ASSERT_TRUE(
            PumpUntil([&] { return run.State() == acquisition::SchedulerRun::kDownloading; }));
        EXPECT_NE(BusyMeterJobRefusal(frame.Mode()), nullptr);
        ASSERT_TRUE(PumpUntil([&] { return !run.IsActive(); }, 10000));
        const Lines lines = meter.Lines();
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "DMP:ON"), refusing ? 3 : 11);
        EXPECT_EQ(SchedulerLog().back(), "End Scheduler");
        EXPECT_EQ(BusyMeterJobRefusal(frame.Mode()), nullptr);
    }
}

// The golden transcript of a run as above, in a fresh program: the model is the meter's to tell,
// a QS4160's, at the first connection. The meter sends exactly the records each acquisition
// expects, so that a late stop on a loaded machine finds no record more on the line; the run's
// steps wait until the link has had its answers, so that a loaded machine does not change the order
// of the run's own writes and the queue's commands; the schedule runs on the program's clock from
// the fixed start.
TEST_F(ScheduledRunTest, GoldenTranscriptOfAScheduledRun) {
    schedulerClock.HoldTimersUntil([this] {
        const LinkSession& link = frame.Link();
        return link.IsQueueEmpty() && !link.CurrentCommand() && meter.Answered() &&
               !linktest::ReplyUntaken(link);
    });
    app.m_InstrStatus.m_strModel.clear();
    meter.SetSetting("INSTR_M", "QS4160");
    const platform::DateTime start = platform::DateTime::FromParts(2024, 5, 6, 8, 0, 0);
    platform::Clock::SetFixedNow(start.Seconds());
    acquisition::SchedulePlan plan = CalibratedDataLogging(start);
    // The stop falls between the second acquisition and the third one's connection: the meter
    // is connected for the download alone, its queries and the download's in one queue.
    plan.repSeconds = 60;
    plan.stop = plan.nextStart + 80;
    plan.expected = 1 + 2 * 6;
    stream->SetRecordsPerRun(plan.expected);

    frame.Notices().LogScheduler(true, "Scheduler Activated", true);
    frame.Scheduler().Run().Start(plan);
    ASSERT_TRUE(PumpUntil([&] { return !frame.Scheduler().Run().IsActive(); }, 30000));
    ASSERT_TRUE(PumpUntil([&] { return meter.AllAnswered(); }));
    EXPECT_EQ(stream->Sent(), 2 * plan.expected);
    EXPECT_EQ(SchedulerLog().back(), "End Scheduler");
    // The meter told its model at the first connection; the current setup has since taken the
    // model of the run's data file, which the run's end opened.
    EXPECT_EQ(app.m_EditStatus.m_strModel, "QS4160_00$1");
    EXPECT_TRUE(golden::MatchesGolden("tests/app/golden/scheduled_run.txt", meter.Transcript()));
}
