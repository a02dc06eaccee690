#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <cstdint>

#include "app/dialogs/download_status_dlg.h"
#include "app/dialogs/notice_dlgs.h"
#include "app/dialogs/try_conn_dlg.h"
#include "app/dialogs/wait_get_status_dlg.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "support/test_env.h"

namespace {
class WaitDialogsTest : public ::testing::Test {
protected:
    platform::ScopedClockSpeed fast{1000.0};
    testenv::TestOperator op;

    // Pumps events until `done` holds or `limitMs` of program time have passed.
    template <typename Done>
    static void PumpUntil(Done done, unsigned limitMs) {
        for (unsigned waited = 0; !done() && waited < limitMs; waited += 1000)
            platform::EventLoop::Wait(1000);
    }
};

QPushButton* Button(dialogs::ModelessDialog& dialog, int id) {
    return dialog.Window()->findChild<QPushButton*>(QString::number(id));
}
}  // namespace

TEST_F(WaitDialogsTest, SetupBoxLeftWithoutRepliesTimesOutOnceAfter401Ticks) {
    CWaitGetStatusDlg box;
    box.OnShowWindow(TRUE, 0);
    EXPECT_TRUE(box.IsTimerSet(CWaitGetStatusDlg::kTimerId));
    // A tick takes at least a real millisecond however fast the clock runs.
    PumpUntil([&] { return !box.IsTimerSet(CWaitGetStatusDlg::kTimerId); }, 5000000);
    EXPECT_FALSE(box.IsTimerSet(CWaitGetStatusDlg::kTimerId));
    EXPECT_EQ(box.m_nStep, 401);
    EXPECT_EQ(box.GetDlgItemText(CWaitGetStatusDlg::IDC_TEXT), "ERROR: setup timeout expired");
    platform::EventLoop::Wait(5000);
    EXPECT_EQ(box.m_nStep, 401);
}

TEST_F(WaitDialogsTest, SetupBarRunsToTheEndAndStartsAgainFromTheLeft) {
    CWaitGetStatusDlg box;
    box.SetText("Receiving Setup parameters from instrument...\r\nPlease wait.");
    box.OnShowWindow(TRUE, 0);
    box.KillTimer(CWaitGetStatusDlg::kTimerId);
    for (int i = 0; i < 10; ++i)
        box.StepProgress();
    EXPECT_EQ(box.GetProgressPos(CWaitGetStatusDlg::IDC_PROGRESS), 100);
    box.StepProgress();
    EXPECT_EQ(box.GetProgressPos(CWaitGetStatusDlg::IDC_PROGRESS), 0);

    // Replies count as steps: the message comes from the 401st step on.
    box.m_nStep = 399;
    box.StepProgress();
    EXPECT_EQ(box.GetDlgItemText(CWaitGetStatusDlg::IDC_TEXT),
              "Receiving Setup parameters from instrument...\r\nPlease wait.");
    box.StepProgress();
    EXPECT_EQ(box.GetDlgItemText(CWaitGetStatusDlg::IDC_TEXT), "ERROR: setup timeout expired");

    // Showing it again starts afresh.
    box.OnShowWindow(TRUE, 0);
    EXPECT_EQ(box.m_nStep, 0);
    EXPECT_EQ(box.GetProgressPos(CWaitGetStatusDlg::IDC_PROGRESS), 0);
}

TEST_F(WaitDialogsTest, CancellingTheSetupBoxEmptiesTheQueueAndClosesIt) {
    CWaitGetStatusDlg box;
    int emptied = 0;
    box.SetCancelHandler([&] { ++emptied; });
    box.Create();
    box.ShowWindow(true);
    EXPECT_TRUE(box.IsTimerSet(CWaitGetStatusDlg::kTimerId));
    Button(box, IDCANCEL)->click();
    platform::EventLoop::ProcessPending();
    EXPECT_EQ(emptied, 1);
    EXPECT_FALSE(box.IsTimerSet(CWaitGetStatusDlg::kTimerId));
    EXPECT_TRUE(box.HasWindow());
    EXPECT_FALSE(box.IsWindowVisible());

    // The frame destroys it when the read ends; its timer goes with the window.
    box.ShowWindow(true);
    EXPECT_TRUE(box.DestroyWindow());
    EXPECT_FALSE(box.IsTimerSet(CWaitGetStatusDlg::kTimerId));
    EXPECT_FALSE(box.DestroyWindow());
}

TEST_F(WaitDialogsTest, CancelDownloadAsksAndOnlyYesStopsTheDownload) {
    CDownloadStatusDlg box;
    int cancelled = 0;
    box.SetCancelDownloadHandler([&] { ++cancelled; });
    box.Create();
    box.ShowWindow(true);
    box.SetDlgItemText(CDownloadStatusDlg::IDC_RECORD_BLOCKS, "0");

    // The close box and Esc leave it on screen.
    EXPECT_FALSE(box.Window()->close());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(box.Window(), &escape);
    EXPECT_TRUE(box.IsWindowVisible());

    op.ExpectBox("Confirm stop downloading ?", IDNO);
    Button(box, CDownloadStatusDlg::IDC_CANCEL_DOWNLOAD)->click();
    platform::EventLoop::ProcessPending();
    EXPECT_EQ(cancelled, 0);
    EXPECT_TRUE(box.IsWindowVisible());

    op.ExpectBox("Confirm stop downloading ?", IDYES);
    Button(box, CDownloadStatusDlg::IDC_CANCEL_DOWNLOAD)->click();
    platform::EventLoop::ProcessPending();
    EXPECT_EQ(cancelled, 1);
    EXPECT_FALSE(box.HasWindow());
    platform::EventLoop::ProcessPending();
}

TEST_F(WaitDialogsTest, NoticeBoxesShowTheirTitlesTextsAndPictures) {
    CTryConnDlg box;
    box.Create();
    box.m_strText = "Connessione con il server in corso..";
    EXPECT_EQ(box.GetWindowText(), "Connecting to...");
    box.ShowWindow(true);
    EXPECT_EQ(box.Window()->windowTitle(), "QS4060KRTN_AD");
    EXPECT_EQ(box.GetDlgItemText(CTryConnDlg::IDC_TEXT), "Connessione con il server in corso..");
    box.SetText("Connecting to...\r\rPort = COM3\rBaudrate = 38400");
    auto* label = box.Window()->findChild<QLabel*>(QString::number(CTryConnDlg::IDC_TEXT));
    EXPECT_EQ(label->text(), "Connecting to...\n\nPort = COM3\nBaudrate = 38400");

    CWaitExportingToExcelDlg exporting;
    exporting.m_bFlag = 1;
    exporting.m_strText = "file 1";
    exporting.OnShowWindow(TRUE, 0);
    EXPECT_TRUE(exporting.IsItemVisible(CWaitExportingToExcelDlg::IDC_PICTURE_SET));
    EXPECT_EQ(exporting.GetDlgItemText(CWaitExportingToExcelDlg::IDC_TEXT), "file 1");
    exporting.m_bFlag = 0;
    exporting.OnShowWindow(TRUE, 0);
    EXPECT_TRUE(exporting.IsItemVisible(CWaitExportingToExcelDlg::IDC_PICTURE_CLEAR));
    EXPECT_FALSE(exporting.IsItemVisible(CWaitExportingToExcelDlg::IDC_PICTURE_SET));
}

TEST_F(WaitDialogsTest, SplashScreenGoesByItselfAfterItsTime) {
    CSplashScreenDlg splash;
    const std::uint32_t shown = platform::Clock::TickCount();
    splash.Create();
    splash.ShowWindow(true);
    // The limit only ends a failing test: at the fixture's pace it is over half a real second.
    while (splash.HasWindow() && platform::Clock::TickCount() - shown < 600000)
        platform::EventLoop::Wait(100);
    EXPECT_FALSE(splash.HasWindow());
    // However late the loop runs, the box is never gone before its time.
    EXPECT_GE(platform::Clock::TickCount() - shown, CSplashScreenDlg::kShowMs);
}
