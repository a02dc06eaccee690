// The run of a schedule on a manual clock: each state and its way out, the timers, the log it
// writes, and the faults a plain reading of the run would have (re-entered ticks, a watchdog
// that outlives STOP, calibrations that never end, placeholder records for an acquisition that
// never ran, unbounded loops).
#include <gtest/gtest.h>

#include <algorithm>

#include "scheduler_run_fakes.h"
#include "support/record_kinds.h"
#include "support/test_env.h"

namespace {

using acquisition::SchedulePlan;
using acquisition::SchedulerRun;
using Lines = std::vector<std::string>;

// A run on a manual clock of its own, with its host attached as the program attaches it, and
// the meter mode as START leaves it.
struct OwnRun {
    linktest::ManualClock clock;
    schedtest::FakeRunHost host{clock};
    SchedulerRun run{host.RunUses()};

    OwnRun() {
        host.Attach(run);
        host.mode.OnRunStarted();
        host.mode.OnDeltaLeqRead(" 0.3 ");
    }
};

struct RunFixture : ::testing::Test, OwnRun {
    testenv::ScratchFolder folder;
    // A reply that no command awaits would be told in a box.
    testenv::TestOperator op;

    // 2-minute acquisitions every 3 minutes from 08:02, SLM on a fast direct link.
    SchedulePlan Repeated(int stopHour, int stopMinute, int stopSecond = 0) {
        SchedulePlan plan;
        plan.channel = testkinds::kSoundLevelMeter;
        plan.continuous = false;
        plan.nextStart = host.At(8, 2);
        plan.stop = host.At(stopHour, stopMinute, stopSecond);
        plan.acqSeconds = 120;
        plan.repSeconds = 180;
        plan.connSeconds = 60;
        plan.expected = 1 + 2 * 120;
        return plan;
    }
    SchedulePlan Continuous(int stopHour, int stopMinute) {
        SchedulePlan plan;
        plan.nextStart = host.At(8, 2);
        plan.stop = host.At(stopHour, stopMinute);
        return plan;
    }
    // The lines written to the port that are in `wanted`, in their order.
    Lines WrittenAmong(const Lines& wanted) const {
        Lines lines;
        for (const std::string& line : host.port.Written())
            if (std::find(wanted.begin(), wanted.end(), line) != wanted.end())
                lines.push_back(line);
        return lines;
    }
};

TEST_F(RunFixture, AcquisitionsOfTwoMinutesEveryThreeConnectAMinuteAheadAndPauseInBetween) {
    run.Start(Repeated(8, 8, 30));
    host.Run(host.Until(host.At(8, 0, 59)));
    EXPECT_EQ(run.State(), SchedulerRun::kIdle);
    EXPECT_EQ(host.connectAttempts, 0);

    // One minute ahead: connect, a new session, the meter's acquisition stopped, the monitor
    // mode set (which creates the record files), monitoring switched on, then the start.
    host.Run(3000);
    EXPECT_EQ(run.State(), SchedulerRun::kWaitStart);
    EXPECT_EQ(host.events, (Lines{"link armed", "new session", "record files created"}));
    EXPECT_EQ(host.queued, (Lines{"STT:MON:SLM"}));
    EXPECT_FALSE(run.IsFirstAcquisition());
    EXPECT_TRUE(host.mode.IsMonitorOn());

    host.Run(host.Until(host.At(8, 2)));
    EXPECT_EQ(run.State(), SchedulerRun::kAcquiring);
    EXPECT_TRUE(host.mode.IsAcquiring());

    host.RunToEnd(host.Until(host.At(8, 10)));
    EXPECT_FALSE(run.IsActive());
    EXPECT_EQ(host.log,
              (Lines{"Connection established", "Start Monitoring", "Pause Monitoring",
                     "Connection OFF", "Connection established", "Start Monitoring",
                     "Pause Monitoring", "Connection OFF", "Connection established",
                     "Start Monitoring", "Stop Monitoring", "Connection OFF", "End Scheduler"}));
    // Later acquisitions append to the record files: no new session, the acquisition state
    // queried instead.
    EXPECT_EQ(host.queued,
              (Lines{"STT:MON:SLM", "STT:ACQ:?", "STT:MON:SLM", "STT:ACQ:?", "STT:MON:SLM"}));
    EXPECT_EQ(WrittenAmong({"STT:ACQ:RUN", "STT:ACQ:STOP", "STT:MON:OFF"}),
              (Lines{"STT:ACQ:STOP", "STT:ACQ:RUN", "STT:ACQ:STOP", "STT:MON:OFF", "STT:ACQ:RUN",
                     "STT:ACQ:STOP", "STT:MON:OFF", "STT:ACQ:RUN", "STT:ACQ:STOP", "STT:MON:OFF",
                     "STT:MON:OFF"}));
    EXPECT_FALSE(host.mode.IsSchedulerRunning());
    EXPECT_EQ(host.placeholders, 0);
    // Each confirming exchange let half a second of timers through: no tick ran inside one.
    EXPECT_EQ(host.nestedTicks, 0);
    for (int id : {1, 2, 3, 14})
        EXPECT_FALSE(clock.IsTimerSet(id)) << id;
}

TEST_F(RunFixture, AWholeDayOfHourlyCalibratedDataLoggingRunsInMilliseconds) {
    SchedulePlan plan = Repeated(23, 59);
    plan.nextStart = host.At(8, 30);
    plan.stop = host.BaseDayEnd();
    plan.acqSeconds = 600;
    plan.repSeconds = 3600;
    plan.expected = 1 + 2 * 600;
    plan.dataLogging = true;
    plan.powerOffAtPause = true;
    plan.calDisabled = false;
    plan.calBefore = true;
    run.Start(plan);
    host.RunToEnd(host.Until(host.BaseDayEnd()) + 60000);

    EXPECT_FALSE(run.IsActive());
    // 08:30 to 23:30: sixteen acquisitions, each calibrated 3 minutes ahead.
    EXPECT_EQ(host.Count("Start Calibration"), 16);
    EXPECT_EQ(host.Count("Start Monitoring & DataLogging"), 16);
    EXPECT_EQ(host.Count("Pause Monitoring & Stop DataLogging"), 16);
    EXPECT_EQ(host.Count("Instr. Power Off"), 17);
    EXPECT_EQ(host.log.back(), "End Scheduler");
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "new session"), 1);
    // The meter lost its integration mode while switched off.
    EXPECT_EQ(std::count(host.queued.begin(), host.queued.end(), "SET:INT_MODE:SING"), 15);
    EXPECT_EQ(host.placeholders, 0);
    EXPECT_EQ(host.nestedTicks, 0);
}

TEST_F(RunFixture, CalibrationsBeforeAndAfterFrameEachAcquisitionOfAThirdOctaveRun) {
    SchedulePlan plan = Repeated(8, 40);
    plan.channel = testkinds::kThirdOctave;
    plan.nextStart = host.At(8, 10);
    plan.repSeconds = 900;
    plan.stopAcqAtPause = false;
    plan.calDisabled = false;
    plan.calBefore = true;
    plan.calAfter = true;
    run.Start(plan);
    host.Run(host.Until(host.At(8, 13)));
    EXPECT_EQ(host.log,
              (Lines{"Connection established", "Start Calibration",
                     "Calibration end successfully (Delta Leq = 0.1 dB)", "Start Monitoring",
                     "Pause Monitoring", "Start Calibration",
                     "Calibration end successfully (Delta Leq = 0.1 dB)", "Connection OFF"}));
    host.RunToEnd(host.Until(host.At(8, 45)));
    EXPECT_EQ(host.Count("Start Monitoring"), 2);
    EXPECT_EQ(host.Count("Pause Monitoring"), 2);
    // Two for each acquisition, and the one before an acquisition that the stop time cut off.
    EXPECT_EQ(host.Count("Start Calibration"), 5);
    EXPECT_EQ(host.queued.front(), "STT:MON:THIRD");
    // Monitoring pauses with the acquisition left running: its stop is confirmed only for
    // the first set-up and at the end.
    EXPECT_EQ(WrittenAmong({"STT:ACQ:STOP"}).size(), 2u);
    EXPECT_EQ(WrittenAmong({"KEY:OFF"}).size(), 0u);
    EXPECT_EQ(host.log.back(), "End Scheduler");
}

TEST_F(RunFixture, AContinuousRunEndsOnlyAtTheStopTime) {
    run.Start(Continuous(9, 0));
    host.Run(host.Until(host.At(8, 59, 59)));
    EXPECT_EQ(run.State(), SchedulerRun::kAcquiring);
    EXPECT_EQ(host.Count("Start Monitoring"), 1);
    host.RunToEnd(5000);
    EXPECT_FALSE(run.IsActive());
    EXPECT_EQ(host.log, (Lines{"Connection established", "Start Monitoring", "Stop Monitoring",
                               "Connection OFF", "End Scheduler"}));
    EXPECT_EQ(host.events.back(), "run ended");
}

TEST_F(RunFixture, AContinuousRunCalibratedAfterEndsWithItsOneFinalCalibration) {
    for (int seconds : {30, -1}) {
        SCOPED_TRACE(seconds);
        OwnRun own;
        schedtest::FakeRunHost& other = own.host;
        other.calibrationSeconds = seconds;
        SchedulePlan plan;
        plan.nextStart = other.At(8, 2);
        plan.stop = other.At(8, 30);
        plan.calDisabled = false;
        plan.calAfter = true;
        own.run.Start(plan);
        // The calibration holds the meter though the run's flag is cleared, until the run ends.
        other.Run(other.Until(other.At(8, 30)) + 200);
        EXPECT_EQ(other.mode.FinalJob(), RunFinalJob::kCalibration);
        EXPECT_FALSE(other.mode.IsSchedulerRunning());
        other.RunToEnd(other.Until(other.At(10, 0)));
        EXPECT_FALSE(own.run.IsActive());
        EXPECT_EQ(other.mode.FinalJob(), RunFinalJob::kNone);
        EXPECT_EQ(other.Count("Start Calibration"), 1);
        EXPECT_EQ(other.log.back(), "End Scheduler");
        EXPECT_EQ(other.Count("WARNING: Calibration interrupted by Timeout. (Delta Leq= 0.3)"),
                  seconds < 0 ? 1 : 0);
        for (int id : {1, 2, 3, 14})
            EXPECT_FALSE(own.clock.IsTimerSet(id)) << id;
    }
}

TEST_F(RunFixture, ACalibrationBeforeThatTimesOutIsAnsweredAndTheAcquisitionStillRuns) {
    SchedulePlan plan = Repeated(8, 4);
    plan.nextStart = host.At(8, 5);
    plan.stop = host.At(8, 6);
    plan.repSeconds = 480;
    plan.calDisabled = false;
    plan.calBefore = true;
    host.calibrationSeconds = -1;
    run.Start(plan);
    // Three minutes ahead of 08:05 the link comes up and the calibration starts.
    host.Run(host.Until(host.At(8, 2, 1)));
    EXPECT_EQ(run.State(), SchedulerRun::kCalibrating);
    EXPECT_EQ(host.log, (Lines{"Connection established", "Start Calibration"}));
    host.port.ClearTranscript();
    host.Run(120000);
    EXPECT_EQ(host.log.at(2), "WARNING: Calibration interrupted by Timeout. (Delta Leq= 0.3)");
    EXPECT_NE(std::find(host.events.begin(), host.events.end(), "calibration closed"),
              host.events.end());
    EXPECT_EQ(host.port.Written().at(0), "KEY:CRIGHT");
    host.RunToEnd(host.Until(host.At(8, 10)));
    EXPECT_EQ(host.Count("Start Monitoring"), 1);
}

TEST_F(RunFixture, StopEndsTheCalibrationWatchdogAndEveryOtherTimer) {
    SchedulePlan plan = Repeated(9, 0);
    plan.nextStart = host.At(8, 5);
    plan.repSeconds = 480;
    plan.calDisabled = false;
    plan.calBefore = true;
    host.calibrationSeconds = -1;
    run.Start(plan);
    host.Run(host.Until(host.At(8, 2, 1)));
    ASSERT_EQ(run.State(), SchedulerRun::kCalibrating);
    run.Stop();
    EXPECT_EQ(host.events.back(), "calibration closed");
    const Lines before = host.log;
    host.Run(300000);
    EXPECT_EQ(host.log, before);
    for (int id : {1, 2, 3, 14})
        EXPECT_FALSE(clock.IsTimerSet(id)) << id;
}

TEST_F(RunFixture, EveryStopOfARunDrainsWhatTheMeterStillSends) {
    run.Start(Continuous(8, 5));
    EXPECT_FALSE(run.Leftovers().IsDraining());
    host.RunToEnd(host.Until(host.At(8, 10)));
    ASSERT_FALSE(run.IsActive());
    EXPECT_TRUE(run.Leftovers().IsDraining());
    EXPECT_EQ(run.Leftovers().Take(), 1);

    // A new link ends the drain; STOP begins the next one, counted afresh.
    run.Leftovers().End();
    run.Start(Continuous(9, 0));
    run.Stop();
    EXPECT_TRUE(run.Leftovers().IsDraining());
    EXPECT_EQ(run.Leftovers().Take(), 1);
}

TEST_F(RunFixture, StopPressedInsideAConfirmingExchangeEndsTheTickThere) {
    run.Start(Repeated(9, 0));
    host.Run(host.Until(host.At(8, 3, 59)));
    ASSERT_EQ(run.State(), SchedulerRun::kAcquiring);
    host.duringExchange = [this] { run.Stop(); };
    host.Run(2000);
    EXPECT_FALSE(run.IsActive());
    EXPECT_EQ(host.Count("Pause Monitoring"), 0);
    EXPECT_EQ(host.Count("Connection OFF"), 0);
}

TEST_F(RunFixture, CalibrationAtDateMovesToTheNextDateEvenAfterATimeOut) {
    for (int seconds : {30, -1}) {
        SCOPED_TRACE(seconds);
        OwnRun own;
        schedtest::FakeRunHost& other = own.host;
        other.calibrationSeconds = seconds;
        SchedulePlan plan;
        plan.continuous = false;
        plan.nextStart = other.At(9, 0);
        plan.stop = other.At(9, 1);
        plan.acqSeconds = 30;
        plan.repSeconds = 3600;
        plan.expected = 61;
        plan.calDisabled = false;
        plan.calAtDate = true;
        plan.calDate = other.At(8, 10);
        plan.calIntervalSeconds = 1800;
        own.run.Start(plan);
        other.Run(other.Until(other.At(8, 20)));
        EXPECT_EQ(own.run.State(), SchedulerRun::kIdle);
        EXPECT_EQ(own.run.CalibrationDate(), other.At(8, 40));
        EXPECT_EQ(other.Count("Start Calibration"), 1);
        EXPECT_EQ(other.Count("Connection OFF"), 1);
        EXPECT_EQ(
            other.Count("WARNING: Calibration at date skipped becase another calibration already "
                        "in execute"),
            0);
        other.RunToEnd(other.Until(other.At(9, 5)));
        EXPECT_EQ(other.Count("Start Calibration"), 2);
        EXPECT_EQ(other.Count("Start Monitoring"), 1);
        EXPECT_EQ(other.placeholders, 0);
        EXPECT_EQ(other.log.back(), "End Scheduler");
    }
}

TEST_F(RunFixture, ACalibrationAtDateWithoutIntervalRunsOnce) {
    SchedulePlan plan = Continuous(9, 0);
    plan.nextStart = host.At(8, 50);
    plan.calDisabled = false;
    plan.calAtDate = true;
    plan.calDate = host.At(8, 10);
    run.Start(plan);
    host.RunToEnd(host.Until(host.At(9, 5)));
    EXPECT_EQ(host.Count("Start Calibration"), 1);
    EXPECT_EQ(host.log.back(), "End Scheduler");
}

TEST_F(RunFixture, ACalibrationAtDateThatMeetsARunningCalibrationIsSkippedAndMovedOn) {
    SchedulePlan plan = Repeated(8, 30);
    plan.nextStart = host.At(8, 10);
    plan.repSeconds = 900;
    plan.calDisabled = false;
    plan.calBefore = true;
    plan.calAtDate = true;
    plan.calDate = host.At(8, 8);
    plan.calIntervalSeconds = 3600;
    host.calibrationSeconds = 100;
    run.Start(plan);
    host.Run(host.Until(host.At(8, 8, 30)));
    EXPECT_EQ(
        host.Count("WARNING: Calibration at date skipped becase another calibration already in "
                   "execute"),
        1);
    EXPECT_EQ(run.CalibrationDate(), host.At(9, 8));
}

TEST_F(RunFixture, AMeterThatNeverAnswersSkipsTheAcquisitionAndTriesAgainForTheNext) {
    host.meterAnswers = false;
    run.Start(Repeated(8, 9));
    host.Run(host.Until(host.At(8, 4, 30)));
    // Attempts every 100 ms from one minute ahead until the start.
    EXPECT_GE(host.Count("Connection failed: Retry."), 500);
    EXPECT_EQ(host.Count("Start Monitoring"), 0);
    EXPECT_EQ(run.NextStart(), host.At(8, 5));
    host.meterAnswers = true;
    host.RunToEnd(host.Until(host.At(8, 10)));
    EXPECT_EQ(host.Count("Start Monitoring"), 1);
    EXPECT_EQ(host.log.back(), "End Scheduler");
}

TEST_F(RunFixture, AConnectRefusedOutrightEndsTheAttemptsAtOnce) {
    host.autoDetect = true;
    host.connectForSchedulerResult = -1;
    run.Start(Repeated(8, 3));
    host.Run(host.Until(host.At(8, 1, 1)));
    EXPECT_EQ(host.connectAttempts, 1);
    EXPECT_EQ(host.Count("Connection failed: Retry."), 0);
}

TEST_F(RunFixture, AnAcquisitionWithoutRecordsIsReportedAndTheNextPrepared) {
    host.recordsPerSecond = 0;
    run.Start(Repeated(8, 6));
    host.Run(host.Until(host.At(8, 4)));
    EXPECT_EQ(host.log, (Lines{"Connection established", "Start Monitoring",
                               "WARNING: No data received.", "Connection OFF"}));
    EXPECT_EQ(run.NextStart(), host.At(8, 5));
    EXPECT_FALSE(run.IsFirstAcquisition());
    EXPECT_EQ(host.placeholders, 0);
}

TEST_F(RunFixture, MissingRecordsAreFilledInAtHalfTheIdleGap) {
    host.recordsLost = 16;
    host.recordsPerSecond = 2;
    SchedulePlan plan = Repeated(8, 6);
    plan.expected = 241 + 1000;  // the meter keeps streaming: no count is ever reached
    run.Start(plan);
    host.Run(host.Until(host.At(8, 4)) + 9900);
    EXPECT_EQ(host.Count("Pause Monitoring"), 0);
    host.Run(200);
    // (180 - 60 - 120) leaves nothing: 20 s, halved.
    ASSERT_GE(host.log.size(), 4u);
    EXPECT_EQ(host.log.at(2), "WARNING: Loss data detected.Received 243 on  1241");
    EXPECT_EQ(host.placeholders, 1241 - 243);
    EXPECT_EQ(host.log.at(3), "Pause Monitoring");
}

TEST_F(RunFixture, AnAcquisitionLongerThanItsGapGetsNoNegativeTimerPeriod) {
    host.recordsLost = 1;
    SchedulePlan plan = Repeated(8, 6);
    plan.acqSeconds = 150;
    plan.expected = 1 + 2 * 150 + 1000;
    run.Start(plan);
    host.Run(host.Until(host.At(8, 4, 30)) + 9900);
    EXPECT_EQ(host.Count("Pause Monitoring"), 0);
    host.Run(200);
    EXPECT_EQ(host.Count("Pause Monitoring"), 1);
}

TEST_F(RunFixture, AnAcquisitionThatNeverStartedStoresNoPlaceholders) {
    SchedulePlan plan = Repeated(8, 6);
    run.Start(plan);
    // The meter stops answering the monitor mode: the run waits in state 6.
    host.Run(host.Until(host.At(8, 1)) + 150);
    ASSERT_EQ(run.State(), SchedulerRun::kStopMeterAcquisition);
    host.mode.OnNoMeter();
    host.Run(host.Until(host.At(8, 4)));
    EXPECT_EQ(host.placeholders, 0);
    EXPECT_EQ(host.Count("WARNING: No data received."), 1);
    EXPECT_EQ(run.NextStart(), host.At(8, 5));
    // The next acquisition sets monitoring up afresh.
    EXPECT_TRUE(run.IsFirstAcquisition());
}

TEST_F(RunFixture, SwitchingMonitoringOnStopsAfterABoundedNumberOfRounds) {
    host.port.Expect("STT:MON:?", "STT:MONITOR:ON\x03");
    host.port.Expect("STT:ACQ:?", "STT:ACQUISITION:RUN\x03", 0, 100);
    run.Start(Repeated(8, 6));
    host.Run(host.Until(host.At(8, 1)) + 5000);
    EXPECT_EQ(run.State(), SchedulerRun::kWaitStart);
    const Lines written = host.port.Written();
    EXPECT_EQ(std::count(written.begin(), written.end(), "STT:MON:ON"),
              1 + SchedulerRun::kMaxMonitorOnRounds);
}

TEST_F(RunFixture, MonitoringSwitchedOnWhileTheMeterCalibratesIsLoggedAndLeavesTheMode) {
    const std::string refusal =
        "WARNING: Monitoring not started, the instrument is busy with the electric calibration.";
    run.Start(Repeated(8, 6));
    ASSERT_TRUE(host.mode.BeginElectricCalibration());
    host.Run(host.Until(host.At(8, 1)) + 5000);
    EXPECT_EQ(run.State(), SchedulerRun::kWaitStart);
    EXPECT_TRUE(host.mode.IsElectricCalRunning());
    EXPECT_EQ(host.Count(refusal), 1);
    // The start of an acquisition the meter already runs switches monitoring on too; the
    // meter heard no "STT:MON:ON" from either, and the run went on.
    host.mode.OnAcquisitionStarted();
    host.Run(host.Until(host.At(8, 2)) + 500);
    EXPECT_EQ(run.State(), SchedulerRun::kAcquiring);
    EXPECT_EQ(host.Count(refusal), 2);
    EXPECT_EQ(WrittenAmong({"STT:MON:ON"}), Lines{});
}

TEST_F(RunFixture, ADownloadThatCannotBeginEndsTheRunWithItsReason) {
    // The meter out of reach at the stop time; then a dump file that cannot be made.
    for (const bool reachable : {false, true}) {
        SCOPED_TRACE(reachable);
        OwnRun own;
        schedtest::FakeRunHost& other = own.host;
        other.meterAnswers = reachable;
        other.downloadStarts = false;
        ASSERT_TRUE(other.liveFile.Create(folder.File("live.rec")));
        SchedulePlan plan = Continuous(8, 5);
        plan.powerOffAtPause = true;
        plan.download = true;
        own.run.Start(plan);
        other.RunToEnd(other.Until(other.At(8, 10)));
        EXPECT_FALSE(own.run.IsActive());
        const Lines ending(other.log.end() - 3, other.log.end());
        const Lines expected =
            reachable
                ? Lines{"Instr. Power Off", "Connection OFF", "End Scheduler"}
                : Lines{"Connection failed: Retry.",
                        "WARNING: Download skipped, instrument not connected.", "End Scheduler"};
        EXPECT_EQ(ending, expected);
        EXPECT_EQ(other.Count("Download Data"), reachable ? 1 : 0);
        EXPECT_EQ(other.Count("Instr. Power Off"), reachable ? 1 : 0);
        EXPECT_EQ(other.events.back(), "run ended");
        EXPECT_FALSE(other.liveFile.IsOpen());
    }
}

TEST_F(RunFixture, ADownloadAtTheEndLeavesTheRunToTheDownload) {
    SchedulePlan plan = Continuous(8, 5);
    plan.dataLogging = true;
    plan.download = true;
    ASSERT_TRUE(host.liveFile.Create(folder.File("live.rec")));
    run.Start(plan);
    host.Run(host.Until(host.At(8, 6)));
    EXPECT_EQ(run.State(), SchedulerRun::kDownloading);
    EXPECT_EQ(host.log.back(), "Download Data");
    EXPECT_EQ(host.events.back(), "download");
    EXPECT_FALSE(clock.IsTimerSet(SchedulerRun::kTick));
    EXPECT_TRUE(host.liveFile.IsOpen());
}

}  // namespace
