// The small objects the frame hands its parts: its timers, whose jobs their owners register,
// and its notices, which become scheduler log lines in scheduler mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acquisition/scheduler_log.h"
#include "app/frame_notices.h"
#include "app/frame_timers.h"
#include "link/link_reply_state.h"
#include "link/meter_mode.h"
#include "support/test_env.h"

TEST(FrameTimers, AnExpiryRunsTheJobItsOwnerRegisteredAndNoOther) {
    FrameTimers timers;
    std::vector<std::string> ran;
    timers.OnExpiry(FrameTimers::kStatusPoll, [&] { ran.push_back("poll"); });
    timers.OnExpiry(FrameTimers::kReportTrim, [&] { ran.push_back("trim"); });
    timers.OnExpiry(FrameTimers::kReportTrim, [&] { ran.push_back("trim again"); });

    timers.Expire(FrameTimers::kReportTrim);
    timers.Expire(FrameTimers::kStatusPoll);
    timers.Expire(FrameTimers::kInstrumentClock);

    EXPECT_EQ(ran, (std::vector<std::string>{"trim again", "poll"}));
}

TEST(FrameTimers, AJobMayHandItsTimerToAnotherJobWhileItRuns) {
    FrameTimers timers;
    std::vector<std::string> ran;
    timers.OnExpiry(FrameTimers::kRecordingBlink, [&] {
        timers.OnExpiry(FrameTimers::kRecordingBlink, [&] { ran.push_back("second"); });
        ran.push_back("first");
    });

    timers.Expire(FrameTimers::kRecordingBlink);
    timers.Expire(FrameTimers::kRecordingBlink);

    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second"}));
}

TEST(FrameTimers, ATimerKeepsItsLastIntervalAfterItWasKilled) {
    FrameTimers timers;
    EXPECT_EQ(timers.Interval(FrameTimers::kStatusPoll), 0u);
    timers.Set(FrameTimers::kStatusPoll, FrameTimers::kStatusPollMs);
    timers.Set(FrameTimers::kStatusPoll, 5000);
    EXPECT_TRUE(timers.IsSet(FrameTimers::kStatusPoll));

    timers.Kill(FrameTimers::kStatusPoll);

    EXPECT_FALSE(timers.IsSet(FrameTimers::kStatusPoll));
    EXPECT_EQ(timers.Interval(FrameTimers::kStatusPoll), 5000u);
}

namespace {

class FrameNoticesTest : public ::testing::Test {
protected:
    FrameNoticesTest() {
        notices.SetLogLineListener([this](const std::string& line) { lines.push_back(line); });
    }

    std::string Log() const { return folder.Read(acquisition::SchedulerLog::kLogName); }

    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    LinkReplyState listeners;
    MeterMode mode{listeners};
    std::string programFolder = folder.Path();
    FrameNotices notices{mode, programFolder};
    std::vector<std::string> lines;
};

}  // namespace

TEST_F(FrameNoticesTest, AWarningIsABoxUntilSchedulerModeMakesItALogLine) {
    op.ExpectBox("Download Interrupted");
    notices.Warn("Download Interrupted", MB_OK, "Download stopped");
    EXPECT_TRUE(lines.empty());

    mode.EnterSchedulerMode();
    notices.Warn("Download Interrupted", MB_OK, "Download stopped");
    notices.Warn("Instrument memory empty.", MB_ICONINFORMATION);

    EXPECT_EQ(lines, (std::vector<std::string>{"Download stopped", "Instrument memory empty."}));
    EXPECT_EQ(Log(), "Download stopped\r\r\nInstrument memory empty.\r\r\n");
}

TEST_F(FrameNoticesTest, ARestartBeginsTheLogAgainAndEveryLineReachesTheListener) {
    notices.LogScheduler(false, "old run", false);
    notices.LogScheduler(true, "Scheduler Activated", false);
    notices.LogScheduler(false, "Connection ON", false);

    EXPECT_EQ(Log(), "Scheduler Activated\r\r\nConnection ON\r\r\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"old run", "Scheduler Activated", "Connection ON"}));

    notices.SetLogLineListener(nullptr);
    notices.LogScheduler(false, "End Scheduler", false);
    EXPECT_EQ(lines.size(), 3u);
}
