// The frame's window: closing and exit, the menu and its states, the hot keys, the status bar
// and the member boxes the link drives.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <memory>

#include "acquisition/scheduler_log.h"
#include "acquisition/scheduler_run.h"
#include "app/busy_meter_job.h"
#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_command_ids.h"
#include "app/frame_commands.h"
#include "app/frame_data_view_commands.h"
#include "app/frame_scheduler.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "app/main_frame_window.h"
#include "app/maintenance_commands.h"
#include "app/monitoring_session.h"
#include "app/verification_workflow.h"
#include "app/view_lookup.h"
#include "frame_test_support.h"
#include "link/meter_mode.h"
#include "platform/com_ports.h"
#include "platform/event_loop.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "sim_meter.h"
#include "support/test_env.h"
#include "ui/program_images.h"
#include "ui/x_status_bar.h"
#include "ui/x_status_bar_widget.h"
#include "web/web_test_env.h"

namespace {

class FrameWindowTest : public ::testing::Test {
protected:
    FrameWindowTest() {
        app.m_strProgramDir = folder.Path();
        frame = std::make_unique<CMainFrame>();
        frame->CreateFrameWindow();
        window = frame->Window();
    }
    ~FrameWindowTest() override {
        frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::SetShellRecorder(nullptr);
        platform::ClearComDevices();
        platform::EventLoop::ClearQuit();
    }

    void InstallMenu() {
        ui::RegisterProgramImages();
        frame->Commands().InstallMenu();
    }
    // The menu entry of a command.
    QAction* Entry(unsigned id) const {
        for (QAction* top : window->menuBar()->actions())
            if (top->menu())
                for (QAction* action : top->menu()->actions())
                    if (ui::BCMenu::CommandIdOf(action) == id)
                        return action;
        return nullptr;
    }
    void OpenMenus() const {
        for (QAction* top : window->menuBar()->actions())
            emit top->menu()->aboutToShow();
    }
    bool SendAltKey(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::AltModifier);
        QApplication::sendEvent(window->centralWidget(), &press);
        return press.isAccepted();
    }

    platform::ScopedClockSpeed fast{1000.0};
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    CKX9MonitorApp app;
    std::unique_ptr<CMainFrame> frame;
    CMainFrameWindow* window = nullptr;
};

TEST_F(FrameWindowTest, WindowStartsHiddenWithItsSizesStatusBarAndView) {
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(900, 600));
    EXPECT_EQ(window->minimumSize(), QSize(500, 450));
    EXPECT_EQ(app.m_pView, frame->View());
    // The link's panes: 1 (connection), 6 and 7 (meter clock), 9 and 10 (scheduler clock).
    for (int pane : {1, 6, 7, 9, 10})
        EXPECT_TRUE(window->StatusBarWidget()->Bar().SetPaneText(pane, "x")) << pane;
    frame->Session().Disconnect();  // what the link writes reaches the window's bar
    EXPECT_EQ(window->StatusBarWidget()->Bar().TextToShow(1), "Disconnected");
}

TEST_F(FrameWindowTest, CloseAnsweredNoOrWhileAVerificationRunsLeavesEverythingAsItWas) {
    frame->SendCommand(100, "", "");
    frame->Mode().OnMeterAnswered();
    op.ExpectBox("Confirm Exit ?", IDNO);
    window->close();
    EXPECT_EQ(frame->Window(), window);

    frame->Bench().Window().Create();
    frame->Bench().Window().m_bRunning = 1;
    op.ExpectBox("Confirm Exit ?", IDYES);
    op.ExpectBox("ATTENZIONE: Verifica in corso.\nInterrompere la verifica e riprovare.");
    window->close();
    EXPECT_EQ(frame->Window(), window);
    EXPECT_TRUE(frame->Bench().Window().HasWindow());
    EXPECT_EQ(frame->Link().QueuedCodes().size(), 1u);
    EXPECT_TRUE(frame->Mode().IsLinkActive());
    EXPECT_FALSE(platform::EventLoop::QuitPending());
}

TEST_F(FrameWindowTest, CloseIsRefusedWhileALongJobWithTheMeterRuns) {
    MeterMode& mode = frame->Mode();
    const auto refuse = [&](const char* why) {
        op.ExpectBox("Confirm Exit ?", IDYES);
        op.ExpectBox(why);
        window->close();
        EXPECT_EQ(frame->Window(), window);
        EXPECT_FALSE(platform::EventLoop::QuitPending());
    };
    ASSERT_TRUE(mode.BeginDownload());
    refuse("Scaricamento della memoria dello strumento in corso.");
    mode.EndDownload();
    ASSERT_TRUE(mode.BeginFirmwareUpgrade());
    refuse("Aggiornamento firmware in corso.");
    mode.EndFirmwareUpgrade();

    // A scheduled run, monitoring, also says it in its log.
    mode.EnterSchedulerMode();
    mode.OnRunStarted();
    ASSERT_TRUE(mode.OnMonitorStarted());
    const std::string why =
        "ATTENZIONE: Scheduler in corso.\nFermare lo scheduler (STOP) e riprovare.";
    refuse(why.c_str());
    const std::string log = folder.Read(acquisition::SchedulerLog::kLogName);
    EXPECT_TRUE(platform::Contains(log, ": " + why + "\r\r\n")) << log;
}

// Past its stop time a run has cleared its flag, and STOP no longer ends it: its final
// calibration or download holds the meter from its start, before the meter answered anything,
// and the box says to wait for it.
TEST_F(FrameWindowTest, CloseIsRefusedThroughAScheduledRunsFinalCalibrationAndDownload) {
    struct Phase {
        bool download;
        const char* why;
    };
    for (const Phase& phase :
         {Phase{false,
                "ATTENZIONE: Calibrazione elettrica di fine scheduler in corso.\nAttendere la "
                "fine della calibrazione e riprovare."},
          Phase{true,
                "ATTENZIONE: Scaricamento della memoria dello strumento in corso.\nAttendere la "
                "fine dello scaricamento e riprovare."}}) {
        SCOPED_TRACE(phase.why);
        MeterMode& mode = frame->Mode();
        mode.EnterSchedulerMode();
        mode.OnRunStarted();
        mode.OnMeterAnswered();
        acquisition::SchedulePlan plan;  // continuous, its stop time long past
        plan.download = phase.download;
        plan.calDisabled = phase.download;
        plan.calAfter = !phase.download;
        acquisition::SchedulerRun& run = frame->Scheduler().Run();
        run.Start(plan);
        run.OnTimer(acquisition::SchedulerRun::kTick);
        ASSERT_EQ(run.State(), phase.download ? acquisition::SchedulerRun::kDownloading
                                              : acquisition::SchedulerRun::kCalibrating);
        ASSERT_FALSE(mode.IsSchedulerRunning());
        ASSERT_FALSE(mode.IsDownloading());

        op.ExpectBox("Confirm Exit ?", IDYES);
        op.ExpectBox(phase.why);
        window->close();
        EXPECT_EQ(frame->Window(), window);
        EXPECT_FALSE(platform::EventLoop::QuitPending());
        const std::string log = folder.Read(acquisition::SchedulerLog::kLogName);
        EXPECT_TRUE(platform::Contains(log, ": " + std::string(phase.why) + "\r\r\n")) << log;
        // Every end of the run lets the program go.
        run.Stop();
        EXPECT_EQ(BusyMeterJobRefusal(mode), nullptr);
    }
}

TEST_F(FrameWindowTest, ExitReleasesThePortsAndTheQueueAndLetsTheWindowGo) {
    simmeter::SimMeter reference;
    simmeter::SimMeter target;
    platform::SetComDevice(2, reference.SlavePath());
    platform::SetComDevice(3, target.SlavePath());
    CKX9MonitorView& view = *frame->View();
    LinkSession& link = frame->Link();
    ASSERT_EQ(link.OpenLinkPort(LinkSide::Reference, 2), 0);
    ASSERT_EQ(link.OpenLinkPort(LinkSide::Target, 3), 0);
    frame->SendCommand(100, "", "");
    frame->SendCommand(17, "", "");
    link.StartSendTick();
    link.SetReadyToSend(TRUE);
    link.SendNextCommand();  // 100 awaits its reply
    frame->Mode().OnMeterAnswered();
    frame->Bench().Window().Create();
    ASSERT_TRUE(view.HasGraphWindow(ViewGraph::Data));
    op.ExpectBox("Confirm Exit ?", IDYES);

    const QPointer<CMainFrameWindow> watched(window);
    window->close();

    EXPECT_FALSE(view.HasGraphWindow(ViewGraph::Data));
    EXPECT_FALSE(frame->Bench().Window().HasWindow());
    EXPECT_FALSE(link.IsPortOpen(LinkSide::Reference));
    EXPECT_FALSE(link.IsPortOpen(LinkSide::Target));
    EXPECT_TRUE(link.IsQueueEmpty());
    EXPECT_EQ(link.CurrentCommand(), nullptr);
    EXPECT_FALSE(frame->Mode().IsLinkActive());
    EXPECT_FALSE(link.IsTimerSet(LinkSession::kSendTick));
    EXPECT_FALSE(link.IsTimerSet(LinkSession::kReplyTimeout));
    EXPECT_EQ(frame->Window(), nullptr);
    EXPECT_EQ(app.m_pView, nullptr);
    EXPECT_TRUE(platform::EventLoop::QuitPending());
    // The window (and the view in it) goes once the close event is over.
    ASSERT_TRUE(watched);
    EXPECT_FALSE(watched->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(watched);
}

TEST_F(FrameWindowTest, MenuCommandsReachTheirHandlers) {
    InstallMenu();
    std::vector<QString> titles;
    for (QAction* top : window->menuBar()->actions())
        titles.push_back(top->text());
    EXPECT_EQ(titles, (std::vector<QString>{"&File", "&Verifica periodica", "&Strumenti", "&?"}));
    ASSERT_NE(Entry(cmd::ID_UPDATE_DATABASES), nullptr);
    EXPECT_FALSE(Entry(cmd::ID_FILE_OPEN)->icon().isNull());  // the tool bar's image

    RefusingPort server;
    frame->Web().Client().SetEndpoint({"127.0.0.1", server.PortText(), "", "", server.PortText()});
    op.ExpectBox("Connessione Internet assente.\nOperazione non disponibile.");
    Entry(cmd::ID_UPDATE_DATABASES)->trigger();

    // A new verification and the expiry update check the internet first; a failed check
    // is not made again until a command asks for it.
    op.ExpectBox("Connessione Internet assente.\nNon e' possibile effettuare la modifica");
    Entry(cmd::ID_NEW_VERIFICATION)->trigger();
    EXPECT_FALSE(frame->Bench().Window().HasWindow());
    op.ExpectDialog("CPortSetupDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    Entry(cmd::ID_CONNECTION_SETTINGS)->trigger();
    frame->Web().Databases().m_bCheckInternet = 1;
    op.ExpectBox("Connessione Internet assente.\nNon e' possibile effettuare la modifica");
    Entry(cmd::ID_UPDATE_CALIB_EXPIRY)->trigger();

    op.ExpectDialog("CAboutDlg", [](platform::ModalDialog&) { return IDOK; });
    Entry(cmd::ID_APP_ABOUT)->trigger();
    op.ExpectBox("Manuale non disponibile");
    Entry(cmd::ID_HELP_HANDBOOK)->trigger();

    // Printing goes to the view, which asks for the printer first.
    op.ExpectDialog("CPrintDialog", [](platform::ModalDialog&) { return IDCANCEL; });
    EXPECT_TRUE(frame->Commands().OnCommand(cmd::ID_FILE_PRINT));
    // Ids mapped to nothing are still the frame's.
    EXPECT_TRUE(frame->Commands().OnCommand(cmd::ID_UNUSED_33032));
    EXPECT_FALSE(frame->Commands().OnCommand(12345));

    Entry(cmd::ID_APP_EXIT)->trigger();
    EXPECT_EQ(frame->Window(), nullptr);
    EXPECT_TRUE(platform::EventLoop::QuitPending());
}

TEST_F(FrameWindowTest, EntriesTakeTheirStatesWhenAMenuOpens) {
    InstallMenu();
    OpenMenus();
    EXPECT_TRUE(Entry(cmd::ID_FILE_OPEN)->isEnabled());
    EXPECT_TRUE(Entry(cmd::ID_APP_EXIT)->isEnabled());
    // No report in the list yet.
    EXPECT_FALSE(Entry(cmd::ID_VALIDATE_REPORT)->isEnabled());
    EXPECT_FALSE(Entry(cmd::ID_FILE_PRINT)->isEnabled());

    frame->Bench().Window().Create();
    frame->View()->m_ReportList.InsertItem(0, "RAPPORTO");
    ASSERT_TRUE(frame->Mode().BeginDownload());
    OpenMenus();
    EXPECT_FALSE(Entry(cmd::ID_FILE_OPEN)->isEnabled());
    EXPECT_FALSE(Entry(cmd::ID_APP_EXIT)->isEnabled());
    EXPECT_TRUE(Entry(cmd::ID_VALIDATE_REPORT)->isEnabled());
    frame->Mode().EndDownload();

    CCmdUI save(cmd::ID_SAVE);
    ASSERT_TRUE(frame->Commands().OnUpdateCommandUi(save));
    EXPECT_FALSE(save.m_bEnabled);
    app.m_strCurrentFile = folder.File("rapporto.vpg");
    ASSERT_TRUE(frame->Commands().OnUpdateCommandUi(save));
    EXPECT_TRUE(save.m_bEnabled);

    // A scheduler run or a firmware update keeps the program open and nothing is saved;
    // scheduler mode, which stays after a run, does not.
    const auto enabled = [this](unsigned id) {
        CCmdUI state(id);
        EXPECT_TRUE(frame->Commands().OnUpdateCommandUi(state));
        return state.m_bEnabled;
    };
    frame->Mode().EnterSchedulerMode();
    EXPECT_TRUE(enabled(cmd::ID_APP_EXIT));
    MeterMode& mode = frame->Mode();
    mode.OnRunStarted();
    EXPECT_FALSE(enabled(cmd::ID_APP_EXIT));
    EXPECT_FALSE(enabled(cmd::ID_SAVE));
    mode.OnRunStopped();
    ASSERT_TRUE(mode.BeginFirmwareUpgrade());
    EXPECT_FALSE(enabled(cmd::ID_APP_EXIT));
    EXPECT_FALSE(enabled(cmd::ID_SAVE));
    mode.EndFirmwareUpgrade();

    // "3D Graph Prop." waits for a display mode that nothing sets: disabled even with a file.
    EXPECT_FALSE(enabled(cmd::ID_3DGRAPH_PROPERTIES));
    frame->Commands().DataView().SetDisplayMode(3);
    EXPECT_TRUE(enabled(cmd::ID_3DGRAPH_PROPERTIES));
    ASSERT_TRUE(frame->Mode().BeginDownload());
    EXPECT_FALSE(enabled(cmd::ID_3DGRAPH_PROPERTIES));
    frame->Mode().EndDownload();
    frame->View()->OnInitialUpdate();  // the view's first showing clears the word
    EXPECT_EQ(frame->Commands().DataView().DisplayMode(), 0);
    EXPECT_FALSE(enabled(cmd::ID_3DGRAPH_PROPERTIES));
}

TEST_F(FrameWindowTest, TheWindowAndTheCommandsRunWhatTheyAreHanded) {
    // The close box asks the handler the window was given; the window stays until it goes.
    ui::XStatusBar bar;
    int closes = 0;
    CMainFrameWindow other(
        frame->Commands(), [&closes] { ++closes; }, bar);
    other.show();
    other.close();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(other.isVisible());
    EXPECT_EQ(frame->Window(), window);

    // "&Esci" runs the exit the commands were given; without a window the menu goes nowhere.
    int exits = 0;
    FrameWindowHolder noWindow;
    FrameCommands commands(
        {
            .verification = frame->Verification(),
            .maintenance = frame->Maintenance(),
            .databases = frame->Web().Databases(),
            .booking = frame->Web().Booking(),
            .bench = frame->Bench(),
            .dataView = frame->Commands().DataView(),
            .mode = frame->Mode(),
            .views = frame->Views(),
            .exit = [&exits] { ++exits; },
        },
        noWindow);
    EXPECT_TRUE(commands.OnCommand(cmd::ID_APP_EXIT));
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(frame->Window(), window);
    EXPECT_FALSE(platform::EventLoop::QuitPending());
    ui::RegisterProgramImages();
    commands.InstallMenu();
    EXPECT_EQ(window->Menu(), nullptr);
    EXPECT_EQ(other.Menu(), nullptr);
}

TEST_F(FrameWindowTest, HotKeysResetCountersToggleDebugAndOpenTheReportLog) {
    app.m_RefPort.m_nErrorCount = 3;
    app.m_RefPort.m_nResetCount = 1;
    app.m_TargetPort.m_nErrorCount = 5;
    app.m_TargetPort.m_nResetCount = 2;
    op.ExpectBox("Reset error counters");
    EXPECT_TRUE(SendAltKey(Qt::Key_R));
    EXPECT_EQ(app.m_RefPort.m_nErrorCount + app.m_RefPort.m_nResetCount +
                  app.m_TargetPort.m_nErrorCount + app.m_TargetPort.m_nResetCount,
              0);
    const std::string saved = folder.Read("port.ini");
    EXPECT_NE(saved.find("TARGET_INSTR_ERR_CNT=0"), std::string::npos) << saved;
    EXPECT_NE(saved.find("REF_INSTR_ERR2_CNT=0"), std::string::npos) << saved;

    frame->Bench().Window().Create();
    const QWidget* eventLog =
        frame->Bench().Window().Window()->findChild<QWidget*>(CSoundDlg::kEventLogName);
    ASSERT_NE(eventLog, nullptr);
    op.ExpectBox("err deb");
    EXPECT_TRUE(SendAltKey(Qt::Key_D));
    EXPECT_EQ(app.m_bDebug, 1);
    EXPECT_FALSE(eventLog->isHidden());
    EXPECT_TRUE(SendAltKey(Qt::Key_D));  // no box when the flag clears
    EXPECT_EQ(app.m_bDebug, 0);
    EXPECT_TRUE(eventLog->isHidden());

    std::vector<std::string> opened;
    platform::SetShellRecorder([&](const platform::ShellRequest& request) {
        opened.push_back(request.path);
        return true;
    });
    EXPECT_TRUE(SendAltKey(Qt::Key_L));  // no report yet: nothing to open
    app.m_strCurrentFile = folder.File("archivio/rapporto_7.vpg");
    EXPECT_TRUE(SendAltKey(Qt::Key_L));
    EXPECT_EQ(opened, (std::vector<std::string>{folder.File("archivio/rapporto_7Log.txt")}));

    // Other keys go on to the window.
    EXPECT_FALSE(SendAltKey(Qt::Key_X));
}

TEST_F(FrameWindowTest, MemberBoxesWorkWithTheQueueAndTheDownload) {
    // Cancel on the setup box empties the queue, awaited command and all.
    frame->SendCommand(100, "", "");
    frame->SendCommand(17, "", "");
    frame->Link().SetReadyToSend(TRUE);
    frame->Link().SendNextCommand();
    frame->Boxes().m_WaitGetStatusDlg.Create();
    frame->Boxes().m_WaitGetStatusDlg.ShowWindow(true);
    EXPECT_TRUE(frame->Ui().IsSetupWaitBoxShown());
    frame->Boxes().m_WaitGetStatusDlg.Window()->reject();
    EXPECT_TRUE(frame->Link().IsQueueEmpty());
    EXPECT_EQ(frame->Link().CurrentCommand(), nullptr);
    EXPECT_FALSE(frame->Ui().IsSetupWaitBoxShown());

    // The download box starts at no blocks, shows the timer's counts and raises the cancel flag
    // when confirmed.
    frame->Ui().ShowDownloadBox();
    EXPECT_EQ(
        frame->Boxes().m_DownloadStatusDlg.GetDlgItemText(CDownloadStatusDlg::IDC_RECORD_BLOCKS),
        "0");
    ASSERT_TRUE(frame->Mode().BeginDownload());
    frame->DumpHost().Progress().file = 3;
    frame->DumpHost().Progress().line = 7;
    frame->Timers().Expire(FrameTimers::kDownloadProgress);
    EXPECT_EQ(
        frame->Boxes().m_DownloadStatusDlg.GetDlgItemText(CDownloadStatusDlg::IDC_RECORD_BLOCKS),
        "7");
    EXPECT_EQ(frame->Boxes().m_DownloadStatusDlg.GetProgressPos(CDownloadStatusDlg::IDC_PROGRESS),
              1);
    op.ExpectBox("Confirm stop downloading ?", IDYES);
    frame->Boxes().m_DownloadStatusDlg.OnCancelDownload();
    EXPECT_TRUE(frame->DumpDecoder().IsCancelRequested());
    EXPECT_FALSE(frame->Ui().IsDownloadBoxShown());

    // The status window asks through the queue and tells the frame when it closes.
    frame->Mode().EndDownload();
    frame->Boxes().m_ViewInstrStatusDlg.m_strStatusText = "old";
    frame->Ui().EmptyInstrStatusText();
    EXPECT_EQ(frame->Boxes().m_ViewInstrStatusDlg.m_strStatusText, "");
    frame->Boxes().m_ViewInstrStatusDlg.Create();
    frame->Boxes().m_ViewInstrStatusDlg.OnRefresh();
    EXPECT_EQ(frametest::QueuedCodes(*frame), (std::vector<int>{100, 17, 11, 109}));
    frame->Mode().OnStatusDlgOpened();
    frame->Boxes().m_ViewInstrStatusDlg.Window()->accept();
    EXPECT_FALSE(frame->Mode().IsStatusDlgShown());

    frame->Ui().SetTitle("KX9Monitor QS4060 - 123");
    EXPECT_EQ(window->windowTitle(), "KX9Monitor QS4060 - 123");
}

}  // namespace
