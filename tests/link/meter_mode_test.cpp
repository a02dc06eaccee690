// The meter mode's own rules: the download flag is the listeners' dump mode, so that the dump
// decoder's end of a download is the mode's; what the link's closing and a scheduled run's
// connect attempt clear, and what they leave.
#include <gtest/gtest.h>

#include "link/link_reply_state.h"
#include "link/meter_mode.h"

namespace {

TEST(MeterMode, TheDownloadIsTheListenersDumpModeAndHoldsTheQueueAsAnUpgradeDoes) {
    LinkReplyState listeners;
    MeterMode mode{listeners};
    EXPECT_FALSE(mode.IsSendingHeld());
    mode.SetDownloading(true);
    EXPECT_TRUE(listeners.dumpMode);
    EXPECT_TRUE(mode.IsSendingHeld());
    // The decoder ends dump mode on its thread: the download is over for the program too.
    listeners.dumpMode = FALSE;
    EXPECT_FALSE(mode.IsDownloading());
    EXPECT_FALSE(mode.IsSendingHeld());
    mode.SetFirmwareUpgrading(true);
    EXPECT_TRUE(mode.IsSendingHeld());
}

TEST(MeterMode, ClosingTheLinkAndAConnectAttemptClearWhatTheyEnd) {
    LinkReplyState listeners;
    MeterMode mode{listeners};
    const auto busy = [&mode] {
        mode.SetLinkActive(true);
        mode.SetMonitorOn(true);
        mode.SetAcquiring(true);
        mode.SetDataLogging(true);
        mode.SetDownloading(true);
        mode.SetStatusDlgShown(true);
        mode.SetChannelMode(records::RecordKind::OfChannelMode(2));
        mode.SetSchedulerMode(true);
    };
    busy();
    ASSERT_TRUE(mode.IsLive());
    mode.OnLinkClosed();
    EXPECT_FALSE(mode.IsLinkActive());
    EXPECT_FALSE(mode.IsMonitorOn());
    EXPECT_FALSE(mode.IsAcquiring());
    // The meter keeps logging and the download is the decoder's to end.
    EXPECT_TRUE(mode.IsDataLogging());
    EXPECT_TRUE(mode.IsDownloading());

    busy();
    mode.ResetForConnect();
    EXPECT_FALSE(mode.IsLive());
    EXPECT_FALSE(mode.IsDataLogging());
    EXPECT_FALSE(mode.IsDownloading());
    EXPECT_FALSE(mode.IsStatusDlgShown());
    EXPECT_FALSE(mode.ChannelMode());
    // The link itself and the run's mode stay as they were.
    EXPECT_TRUE(mode.IsLinkActive());
    EXPECT_TRUE(mode.IsSchedulerMode());
}

}  // namespace
