// The meter mode's own rules: one activity at a time, a refused transition changes nothing;
// the download is the listeners' dump mode, so that the dump decoder's end of a download is
// the mode's; what the link's closing and a scheduled run's connect attempt clear, and what
// they leave; the requests the acquisition-state reply takes once, and a download's refusal.
#include <gtest/gtest.h>

#include "link/link_reply_state.h"
#include "link/meter_mode.h"

namespace {

using Activity = MeterActivity;

class MeterModeTest : public ::testing::Test {
protected:
    LinkReplyState listeners;
    MeterMode mode{listeners};
};

TEST_F(MeterModeTest, OneActivityAtATimeAndARefusalChangesNothing) {
    ASSERT_TRUE(mode.BeginLive());
    mode.OnDataLoggingStarted();
    // A download while monitoring live, or anything else the meter cannot do beside it.
    EXPECT_FALSE(mode.BeginDownload());
    EXPECT_FALSE(mode.BeginFirmwareUpgrade());
    EXPECT_FALSE(mode.BeginElectricCalibration());
    EXPECT_EQ(mode.Activity(), Activity::kMonitoring);
    EXPECT_TRUE(mode.IsLive());
    EXPECT_TRUE(mode.IsDataLogging());
    EXPECT_FALSE(listeners.dumpMode);
    EXPECT_FALSE(mode.IsSendingHeld());
    // Ending what does not run ends nothing.
    mode.EndDownload();
    mode.EndFirmwareUpgrade();
    mode.EndElectricCalibration();
    EXPECT_TRUE(mode.IsLive());

    // Monitoring over, the meter's acquisition stays a fact of its own.
    mode.OnMonitorStopped();
    EXPECT_EQ(mode.Activity(), Activity::kIdle);
    EXPECT_TRUE(mode.IsAcquiring());
    EXPECT_FALSE(mode.IsLive());

    ASSERT_TRUE(mode.BeginElectricCalibration());
    EXPECT_FALSE(mode.OnMonitorStarted());
    EXPECT_FALSE(mode.BeginLive());
    EXPECT_FALSE(mode.BeginFirmwareUpgrade());
    mode.OnMonitorStopped();
    mode.EndLive();
    EXPECT_TRUE(mode.IsElectricCalRunning());
    mode.EndElectricCalibration();

    ASSERT_TRUE(mode.BeginFirmwareUpgrade());
    EXPECT_TRUE(mode.IsSendingHeld());
    EXPECT_FALSE(mode.BeginDownload());
    EXPECT_FALSE(mode.BeginElectricCalibration());
    mode.EndElectricCalibration();
    EXPECT_TRUE(mode.IsFirmwareUpgrading());
    mode.EndFirmwareUpgrade();
    EXPECT_EQ(mode.Activity(), Activity::kIdle);
    EXPECT_FALSE(mode.IsSendingHeld());
}

TEST_F(MeterModeTest, TheDownloadIsTheListenersDumpModeWhichTheDecoderEnds) {
    ASSERT_TRUE(mode.BeginDownload());
    EXPECT_TRUE(listeners.dumpMode);
    EXPECT_EQ(mode.Activity(), Activity::kDownloading);
    EXPECT_TRUE(mode.IsSendingHeld());
    EXPECT_FALSE(mode.OnMonitorStarted());
    EXPECT_FALSE(mode.BeginDownload());
    mode.OnMonitorStopped();
    EXPECT_TRUE(mode.IsDownloading());

    // The decoder ends dump mode on its thread: the download is over for the program too, and
    // the meter is free for what comes next.
    listeners.dumpMode = FALSE;
    EXPECT_EQ(mode.Activity(), Activity::kIdle);
    EXPECT_FALSE(mode.IsSendingHeld());
    EXPECT_TRUE(mode.OnMonitorStarted());
}

TEST_F(MeterModeTest, ClosingTheLinkAndAConnectAttemptClearWhatTheyEnd) {
    mode.OnMeterAnswered();
    ASSERT_TRUE(mode.BeginLive());
    mode.OnDataLoggingStarted();
    mode.OnStatusDlgOpened();
    mode.ChooseChannel(*records::RecordKind::OfChannelMode(2));
    mode.EnterSchedulerMode();
    mode.OnLinkClosed();
    EXPECT_FALSE(mode.IsLinkActive());
    EXPECT_EQ(mode.Activity(), Activity::kIdle);
    EXPECT_FALSE(mode.IsAcquiring());
    // The meter keeps logging.
    EXPECT_TRUE(mode.IsDataLogging());

    // The download is the decoder's to end.
    ASSERT_TRUE(mode.BeginDownload());
    mode.OnLinkClosed();
    EXPECT_TRUE(mode.IsDownloading());

    mode.OnMeterAnswered();
    mode.ResetForConnect();
    EXPECT_EQ(mode.Activity(), Activity::kIdle);
    EXPECT_FALSE(mode.IsDataLogging());
    EXPECT_FALSE(mode.IsStatusDlgShown());
    EXPECT_FALSE(mode.ChannelMode());
    ASSERT_TRUE(mode.BeginLive());
    mode.ResetForConnect();
    EXPECT_FALSE(mode.IsMonitorOn());
    EXPECT_FALSE(mode.IsAcquiring());
    // The link itself and the run's mode stay as they were.
    EXPECT_TRUE(mode.IsLinkActive());
    EXPECT_TRUE(mode.IsSchedulerMode());
}

TEST_F(MeterModeTest, TheAcquisitionReplyTakesItsRequestsOnceAndASentSetupEndsOnce) {
    for (const auto request : {&MeterMode::RequestDataLoggingStart,
                               &MeterMode::RequestDataLoggingStop, &MeterMode::RequestDownload}) {
        (mode.*request)();
        const int op = mode.PendingOp();
        EXPECT_EQ(mode.TakeAcquisitionRequest(), op);
        EXPECT_EQ(mode.PendingOp(), kNoPendingOp);
    }
    // What the other replies carry out stays for them.
    mode.BeginNewSession();
    EXPECT_EQ(mode.TakeAcquisitionRequest(), kNewSessionOp);
    EXPECT_EQ(mode.PendingOp(), kNewSessionOp);

    mode.BeginSetupTransfer();
    EXPECT_FALSE(mode.EndSetupSend());  // a setup read: nothing queued to send
    EXPECT_EQ(mode.PendingOp(), kSetupOp);
    mode.OnSetupQueued();
    EXPECT_TRUE(mode.EndSetupSend());
    EXPECT_EQ(mode.PendingOp(), kNoPendingOp);
    EXPECT_FALSE(mode.EndSetupSend());
}

TEST_F(MeterModeTest, ARefusedOrFailedDownloadIsToldOnceAtItsEnd) {
    ASSERT_TRUE(mode.BeginDownload());
    mode.OnDumpWriteFailed();
    EXPECT_TRUE(mode.HasDumpWriteFailed());
    EXPECT_TRUE(mode.IsDownloading());  // the decoder is asked to stop; dump mode is its
    EXPECT_TRUE(mode.TakeDumpRefusal());
    EXPECT_FALSE(mode.IsDownloading());
    EXPECT_FALSE(mode.TakeDumpRefusal());

    mode.OnDumpFileOpened();
    EXPECT_FALSE(mode.HasDumpWriteFailed());
    ASSERT_TRUE(mode.BeginDownload());
    mode.OnDumpRefused();
    EXPECT_FALSE(mode.IsDownloading());
    EXPECT_TRUE(mode.IsDumpRefused());
}

}  // namespace
