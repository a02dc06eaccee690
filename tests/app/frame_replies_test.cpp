// The replies' owners code by code: each reply is handed to the frame as the answer to the
// command it awaits, and what the handler did to the records, the flags, the queue, the files
// and the neighbours is checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "acquisition/sel_ch_monitor_dlg.h"
#include "app/frame_scheduler.h"
#include "app/frame_timers.h"
#include "app/maintenance_commands.h"
#include "app/setup_transfer.h"
#include "frame_test_support.h"
#include "live_records.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "report/instr_info_dlg.h"
#include "support/record_kinds.h"

using namespace frametest;

namespace {

class FrameRepliesTest : public FrameLinkTest {
protected:
    FrameRepliesTest() {
        platform::SetShellRecorder([this](const platform::ShellRequest& request) {
            shell.push_back(request.path);
            for (const std::string& argument : request.arguments)
                shell.push_back(argument);
            return true;
        });
    }
    ~FrameRepliesTest() override {
        platform::SetShellRecorder(nullptr);
        platform::Clock::SetFixedNow(std::nullopt);
    }

    // The command `code` goes out (on the closed port, unless a test opened it) and awaits
    // its reply.
    void Await(int code, const std::string& arg1 = "") {
        frame.SendCommand(code, arg1, "", -1, TRUE);
        frame.Link().SetReadyToSend(TRUE);
        frame.Link().SendNextCommand();
    }
    // The reply the listener delivers for it; "" stands for an empty reply.
    void Reply(const std::string& reply) {
        frame.Link().OnReply(reply.empty() ? reply : reply + "\x03");
    }
    // `reply` arrives for the command `code`, just sent.
    void Answer(int code, const std::string& reply, const std::string& arg1 = "") {
        Await(code, arg1);
        Reply(reply);
    }
    // The meter refuses the command and both its resends with `reply`.
    void RefuseThrice(int code, const std::string& reply, const std::string& arg1 = "") {
        Await(code, arg1);
        for (int send = 0; send < 3; ++send) {
            if (send > 0)
                frame.Link().SendNextCommand();
            Reply(reply);
        }
    }

    std::vector<int> Queued() const { return QueuedCodes(frame); }

    CInstrStatus& Current() { return app.m_InstrStatus; }
    CInstrStatus& Edited() { return app.m_EditStatus; }

    std::vector<std::string> shell;
};

}  // namespace

TEST_F(FrameRepliesTest, QueryRepliesShorterThanTheirValueChangeNothingAndNeverReadPastTheEnd) {
    Current().m_strAutoPowerOff = "ON";
    Answer(17, "SET:AUTO_POWEROFF");   // 17 characters: below the minimum
    Answer(17, "SET:AUTO_POWEROFF:");  // 18 characters: the value is empty
    EXPECT_EQ(frame.m_SetupBlock.Field(9), BlockField(""));
    // Both replies went to the status text too.
    EXPECT_EQ(ui.GetInstrStatusText(), "SET:AUTO_POWEROFFSET:AUTO_POWEROFF:");
    Answer(24, "SET:INTEGRATION_TIME:MM:05" + std::string(300, ' ') + "x");
    EXPECT_EQ(Current().m_strIntegrationTime, "MM:05" + std::string(300, ' ') + "x");
    EXPECT_EQ(frame.m_SetupBlock.Field(16), "MM:05      ");
}

TEST_F(FrameRepliesTest, ClockGainModeAndTriggerRepliesReachTheFrameAndTheView) {
    Answer(6, "SET:DATE:2024:02:29");
    Answer(7, "SET:TIME:23:59:58");
    EXPECT_EQ(frame.Setup().InstrumentClock().Format("%Y/%m/%d %H:%M:%S"), "2024/02/29 23:59:58");
    Answer(7, "SET:TIME:noon");
    EXPECT_FALSE(frame.Setup().InstrumentClock().IsValid());

    // The level scale follows the gain and the extended range.
    Answer(21, "SET:INPUT_GAIN:20dB");
    EXPECT_EQ(view.m_nLevelScaleTop, 40);
    Answer(121, "SET:EXT_RNG:ON");
    EXPECT_EQ(view.m_nExtendedRangeMark, 1);
    Answer(21, "SET:INPUT_GAIN:40dB");
    EXPECT_EQ(view.m_nLevelScaleTop, -10);
    Answer(21, "SET:INPUT_GAIN:0dB");
    EXPECT_EQ(view.m_nLevelScaleTop, 30);

    Answer(127, "SET:INT_MODE:MULT");
    EXPECT_EQ(frame.m_SetupBlock.Field(44), BlockField("MULTI"));
    // The event trigger queues the queries its kind has.
    frame.Link().DeleteAllCommands();
    Answer(181, "SET:EVN_TRIGGER:LEV");
    EXPECT_EQ(Queued(), (std::vector<int>{193, 191, 189, 187, 183}));
}

TEST_F(FrameRepliesTest, SerialNumberShowsTheVerificationSheetOutsideSetupReadsAndTheScheduler) {
    app.m_nPagingSize = 500;
    op.ExpectDialog("CInstrInfoDlg", [](platform::ModalDialog& dialog) {
        const auto& sheet = dynamic_cast<const CInstrInfoDlg&>(dialog);
        EXPECT_EQ(sheet.Value("CUST_FON_SN"), "A12345");
        return IDOK;
    });
    Answer(1, "SET:INSTR_NUMBER: A12345 ");
    EXPECT_EQ(dataSheets, 0);  // the expected showing, and no other
    EXPECT_EQ(frame.m_SetupBlock.Field(1), BlockField("A12345"));
    EXPECT_EQ(frame.m_SetupBlock.Field(43), "00000000500");
    frame.Mode().BeginSetupTransfer();
    Answer(1, "SET:INSTR_NUMBER:A12345");
    frame.Mode().BeginNewSession();
    Answer(1, "SET:INSTR_NUMBER:A12345");
    frame.Mode().EndPendingOp();
    frame.Mode().EnterSchedulerMode();
    Answer(1, "SET:INSTR_NUMBER:A12345");
    EXPECT_EQ(dataSheets, 0);
}

TEST_F(FrameRepliesTest, ThirdRefusalOfAKeyPressExplainsItOrGoesToTheSchedulerLog) {
    op.ExpectBox("ERROR: Logging not allowed.\nPlease check if any channel is selected.");
    RefuseThrice(85, "\x15");
    EXPECT_EQ(op.types, std::vector<unsigned>{MB_ICONSTOP});
    EXPECT_FALSE(frame.Mode().IsDataLogging());

    RefuseThrice(124, "\x15");
    EXPECT_EQ(SchedulerLog(), std::vector<std::string>{"WARNING: Calibration Failed"});
    EXPECT_EQ(frame.Scheduler().Run().State(), 11);

    // Meters that do not know their class refuse the query: the class is "-1", said nowhere.
    RefuseThrice(205, "\x15");
    EXPECT_EQ(Current().m_strClass, "-1");
    EXPECT_EQ(Edited().m_strClass, "-1");

    // Any other command: what was refused, or what went unanswered.
    op.ExpectBox("WARNING : Command not recognized.\n\n(Command = 2 ,param = version)")
        .ExpectBox("WARNING: Empty message receivedSET:INSTR_V:?\r\n");
    RefuseThrice(2, "\x15", "version");
    RefuseThrice(2, "");

    frame.Mode().EnterSchedulerMode();
    RefuseThrice(85, "\x15", "log");
    RefuseThrice(17, "");
    Answer(100, "#");
    EXPECT_EQ(SchedulerLog(),
              (std::vector<std::string>{
                  "WARNING: Calibration Failed",
                  "WARNING : Command not recognized.\n\n(Command = 85 ,param = log)",
                  "WARNING: Empty message received",
                  "WARNING : WRONG INSTR STATUS Received.\n\n(Command = 100 ,param = )"}));
    EXPECT_EQ(frame.Link().RetryCount(), 0);
    EXPECT_TRUE(frame.Link().IsQueueEmpty());
}

TEST_F(FrameRepliesTest, DataLoggingStartAndStopMoveTheFlagsTitleAndPolls) {
    Current().m_strModel = "QS4060_00$1";
    Current().m_strSerialNumber = "A1";
    frame.Mode().RequestDataLoggingStart();
    Answer(85, "KEY:DATA_LOG");
    EXPECT_TRUE(frame.Mode().IsDataLogging());
    EXPECT_EQ(Current().m_nDataLogging, 1);
    EXPECT_EQ(frame.Mode().PendingOp(), -1);
    EXPECT_EQ(frame.Timers().Interval(FrameTimers::kStatusPoll), 5000u);
    EXPECT_TRUE(frame.Timers().IsSet(FrameTimers::kRecordingBlink));

    ui.SetTitle("KX9Monitor QS4060_00$1 - A1                 -RECORDING-");
    // The handler's wait lets nothing else run: a timer due meanwhile runs afterwards.
    app.m_strTechnicianId = "T1";
    frame.Timers().Set(FrameTimers::kCalibExpiryUpdate, 1);
    Answer(86, "STT:ACQUISITION:STOP");
    EXPECT_FALSE(CalibExpiryUpdateStarted());
    ASSERT_TRUE(PumpUntil([&] { return CalibExpiryUpdateStarted(); }));
    EXPECT_FALSE(frame.Mode().IsDataLogging());
    EXPECT_EQ(Current().m_nDataLogging, 0);
    EXPECT_EQ(ui.GetTitle(), "KX9Monitor QS4060_00$1 - A1");
    EXPECT_EQ(Queued(), std::vector<int>{87});
    EXPECT_EQ(frame.Timers().Interval(FrameTimers::kStatusPoll), 60000u);
    frame.Link().DeleteAllCommands();

    Answer(108, "STT:ACQUISITION:RUN");
    EXPECT_TRUE(frame.Mode().IsAcquiring());
    EXPECT_FALSE(frame.Mode().IsDataLogging());  // auto-store off
    Current().m_strAutoStore = "ON";
    frame.Mode().RequestDataLoggingStart();
    Answer(108, "STT:ACQUISITION:RUN");
    EXPECT_TRUE(frame.Mode().IsDataLogging());
    EXPECT_EQ(frame.Mode().PendingOp(), -1);
    Answer(107, "STT:ACQUISITION:STOP");
    EXPECT_FALSE(frame.Mode().IsAcquiring());

    // The meter back on its title screen while logging: the integration time ended it.
    Current().m_strModel = "QS4060";
    frame.Mode().OnDataLoggingStarted();
    frame.Link().DeleteAllCommands();
    op.ExpectBox("End Datalogging by integration time expired.");
    Answer(100, "STT:DISPL:Title");
    EXPECT_EQ(op.types, std::vector<unsigned>{MB_ICONINFORMATION});
    EXPECT_FALSE(frame.Mode().IsDataLogging());
    EXPECT_EQ(ui.GetTitle(), "KX9Monitor QS4060 - A1");
    EXPECT_EQ(Queued(), std::vector<int>{87});
    frame.Mode().EnterSchedulerMode();
    frame.Mode().OnDataLoggingStarted();
    Answer(100, "STT:DISPL:Title");
    EXPECT_EQ(SchedulerLog(),
              std::vector<std::string>{
                  "WARNING: Monitor and Datalogging interrupded by integration time expired"});
}

TEST_F(FrameRepliesTest, AcquisitionStateOpensTheStatusDialogOnceAndCarriesOutADownloadRequest) {
    frame.Mode().RequestDownload();
    Answer(11, "STT:ACQUISITION:RUN");
    EXPECT_TRUE(ui.statusDlgCreated);
    EXPECT_TRUE(frame.Mode().IsStatusDlgShown());
    EXPECT_TRUE(frame.Mode().IsAcquiring());
    EXPECT_EQ(frame.Mode().PendingOp(), -1);
    EXPECT_EQ(Queued(), (std::vector<int>{12, 110}));
    frame.Link().DeleteAllCommands();

    frame.Mode().OnStatusDlgClosed();  // the operator closed it
    Answer(11, "STT:ACQUISITION:STOP");
    EXPECT_FALSE(frame.Mode().IsStatusDlgShown());  // it exists: not shown again
    EXPECT_FALSE(frame.Mode().IsAcquiring());
    EXPECT_TRUE(Queued().empty());

    Answer(109, "STT:REC:ON");
    EXPECT_EQ(
        ui.shownStatusTexts,
        std::vector<std::string>{"STATUS:ACQUISITION:RUNSTATUS:ACQUISITION:STOPSTATUS:REC:ON"});
}

TEST_F(FrameRepliesTest, MonitoringStateEndsTheSetupBoxAndOffersTheMonitoringOptions) {
    ui.setupBoxShown = true;
    frame.Mode().ChooseChannel(testkinds::kThirdOctave);
    app.m_nPagingSize = 5000;
    op.ExpectDialog("CSelCHMonitorDlg", [](platform::ModalDialog& shown) {
        auto& options = static_cast<acquisition::CSelCHMonitorDlg&>(shown);
        EXPECT_EQ(options.ChannelModeText(), "THIRD OCTAVE");
        EXPECT_EQ(options.PageSize(), 5000);  // it opens on the size in force
        options.m_nChoice = 2;
        return IDOK;
    });
    Answer(98, "STT:MONITOR:ON");
    EXPECT_TRUE(frame.Mode().IsMonitorOn());
    EXPECT_FALSE(ui.setupBoxShown);
    EXPECT_EQ(ui.setupBoxProgress, 100);
    EXPECT_EQ(app.m_nPagingSize, 1000);
    EXPECT_EQ(frame.m_SetupBlock.Field(43), "00000001000");
    EXPECT_EQ(ui.graphWindowShown, false);
    EXPECT_EQ(ui.bandChartShown, true);

    frame.Mode().ChooseChannel(testkinds::kProfile);
    op.ExpectDialog("CSelCHMonitorDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    op.ExpectDialog("CSelCHMonitorDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    Answer(98, "STT:MONITO");  // too short: the flag stays
    EXPECT_TRUE(frame.Mode().IsMonitorOn());
    EXPECT_EQ(ui.bandChartShown, false);
    Answer(98, "STT:MONITOR:OFF");
    EXPECT_FALSE(frame.Mode().IsMonitorOn());

    frame.Mode().EnterSchedulerMode();
    frame.Scheduler().Run().SetState(9);
    Answer(98, "STT:MONITOR:ON");
    EXPECT_EQ(frame.Scheduler().Run().State(), 9);
    frame.Scheduler().Run().SetState(3);
    Answer(98, "STT:MONITOR:ON");
    EXPECT_EQ(frame.Scheduler().Run().State(), 5);  // the dialog only outside the scheduler
    EXPECT_EQ(app.m_nPagingSize, 1000);
}

TEST_F(FrameRepliesTest, AMonitoringStartWhileTheMeterCalibratesLeavesTheModeAndIsLogged) {
    const std::string refusal =
        "WARNING: Monitoring not started, the instrument is busy with the electric calibration.";
    const std::string instrumentLog = frame.Web().Log().LogPath(platform::DateTime::Now());
    OpenPort();
    ASSERT_TRUE(frame.Mode().BeginElectricCalibration());
    // The meter's state reply and the queue's "STT:MON:ON": the instrument log says it.
    op.ExpectDialog("CSelCHMonitorDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    Answer(98, "STT:MONITOR:ON");
    // Each line is read before the next send purges the port.
    ASSERT_TRUE(meter.WaitForLines(1));
    Await(96);
    EXPECT_TRUE(frame.Mode().IsElectricCalRunning());
    const auto logged = platform::ReadWholeFile(instrumentLog);
    ASSERT_TRUE(logged);
    const std::vector<std::string> lines = platform::Split(*logged, '\n');
    ASSERT_EQ(lines.size(), 3u);  // two lines, each time-stamped
    EXPECT_TRUE(platform::EndsWith(lines[0], ": " + refusal + "\r"));
    EXPECT_EQ(lines[1].substr(19), lines[0].substr(19));

    // In scheduler mode the scheduler log says it.
    frame.Mode().EnterSchedulerMode();
    Answer(98, "STT:MONITOR:ON");
    ASSERT_TRUE(meter.WaitForLines(2));
    Await(96);
    EXPECT_TRUE(frame.Mode().IsElectricCalRunning());
    EXPECT_EQ(SchedulerLog(), (std::vector<std::string>{refusal, refusal}));
    EXPECT_EQ(platform::ReadWholeFile(instrumentLog), logged);
    // The meter heard no "STT:MON:ON": only the state queries, and the command sent last.
    Await(100);
    ASSERT_TRUE(meter.WaitForLines(3));
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"STT:MON:?", "STT:MON:?", "STT:DISPL:?"}));
}

TEST_F(FrameRepliesTest, LiveRecordsReArmTheWatchdogByModeAndModel) {
    ASSERT_TRUE(frame.Mode().BeginLive());
    struct Case {
        int mode;
        const char* model;
        const char* profileTime;
        const char* spectrumTime;
        unsigned ms;
        int rows;  // what the mode's processor makes of its record
    };
    for (const Case& c :
         {Case{0, "QS4060", "", "", 5000, 1}, Case{1, "QS4060", "0.125s", "", 5000, 4},
          Case{1, "QS4060", "2s", "", 20000, 1}, Case{2, "QS4060", "", "4", 5000, 1},
          Case{3, "QS4160_L0$1", "", "1", 10000, 1}, Case{2, "QS4160_00$1", "", "0", 5000, 1}}) {
        SCOPED_TRACE(c.mode);
        Current().m_strModel = c.model;
        Current().m_strProfileTime = c.profileTime;
        Current().m_strProfileSpectrumTime = c.spectrumTime;
        frame.Mode().OnRecordingLoaded(records::RecordKind::OfChannelMode(c.mode));
        const int rows = view.m_ReportList.GetItemCount();
        frame.Link().OnReply(simmeter::LiveRecordStream(c.mode, 1, c.rows).Next());
        EXPECT_EQ(frame.Timers().Interval(FrameTimers::kIntegrationEnd), c.ms);
        EXPECT_TRUE(frame.Timers().IsSet(FrameTimers::kIntegrationEnd));
        EXPECT_EQ(view.m_ReportList.GetItemCount(), rows + c.rows);
        EXPECT_FALSE(frame.Mode().IsProcessingRecord());
    }
    // No mode chosen: the record goes nowhere and the watchdog stops.
    frame.Mode().OnRecordingLoaded(std::nullopt);
    frame.Link().OnReply(simmeter::LiveRecordStream(0, 1).Next());
    EXPECT_FALSE(frame.Timers().IsSet(FrameTimers::kIntegrationEnd));
    EXPECT_EQ(view.m_ReportList.GetItemCount(), 9);
    EXPECT_TRUE(frame.Link().IsListening());
}

TEST_F(FrameRepliesTest, MonitoringStartWritesANewRecordFile) {
    platform::Clock::SetFixedNow(platform::DateTime::FromParts(2024, 3, 9, 14, 5, 7).Seconds());
    frame.m_SetupBlock.SetField(0, "QS4060_00");
    Answer(95, "STT:MONITOR:SLM   ", "SLM");
    EXPECT_EQ(frame.m_SetupBlock.Field(42), BlockField("SLM"));

    const std::string start = "2024/03/09 14:05:07 ";
    EXPECT_EQ(folder.Read("RecFile.kr9"), "INDEX FILE\r\nRecFile_20240309_140507.rec\r\n");
    const std::string page = folder.Read("RecFile_20240309_140507.rec");
    ASSERT_EQ(page.size(), 520u);
    EXPECT_EQ(page.substr(0, 484), std::string(frame.m_SetupBlock.Bytes().substr(0, 484)));
    EXPECT_EQ(page.substr(66, 22), "2024/03/09 14:05:07   ");  // blocks 6 and 7
    EXPECT_EQ(page.substr(484), "NO SCHEDNO SCHED" + start);
    EXPECT_TRUE(frame.m_RecFile.IsOpen());
    EXPECT_EQ(view.m_strPageStartTime, start);
    EXPECT_EQ(frame.m_recording.Time().SegmentStarts(), std::vector<unsigned>{0});
    EXPECT_EQ(frame.m_recording.Time().SegmentTexts(), std::vector<std::string>{"0#" + start});
    EXPECT_EQ(ui.pageList,
              (std::vector<std::pair<std::string, int>>{{"CURR. PAGE", 0}, {start, -1}}));
    EXPECT_EQ(ui.setupDisplayRefreshes, 1);
}

TEST_F(FrameRepliesTest, ScheduledMonitoringStartsARecordFileOnlyWhenTheSchedulerAsks) {
    platform::Clock::SetFixedNow(platform::DateTime::FromParts(2024, 3, 9, 8, 0, 1).Seconds());
    frame.Mode().EnterSchedulerMode();
    Answer(95, "STT:MONITOR:OCT", "OCT");
    EXPECT_FALSE(platform::FileExists(folder.File("RecFile.kr9")));
    EXPECT_EQ(frame.Scheduler().Run().State(), 7);

    // The run's first acquisition: its page file keeps the lengths of its acquisitions and
    // repetitions.
    acquisition::CSchedulerDlg& scheduler = frame.Scheduler().Window();
    frame.Scheduler().Run().Start(acquisition::SchedulePlan{});
    frame.Scheduler().Run().Stop();
    frame.Scheduler().Run().SetState(0);
    scheduler.m_AcqSpan = 8 * 3600;
    scheduler.m_RepSpan = 17 * 3600 + 30 * 60;
    Answer(95, "STT:MONITOR:OCT", "OCT");
    EXPECT_FALSE(frame.Scheduler().Run().IsFirstAcquisition());
    EXPECT_EQ(scheduler.StartTimeText(), "2024/03/09 08:00:01 ");
    EXPECT_EQ(folder.Read("RecFile_20240309_080001.rec").substr(484),
              "08:00:0017:30:002024/03/09 08:00:01 ");
    EXPECT_EQ(frame.Scheduler().Run().State(), 7);
}

TEST_F(FrameRepliesTest, ConfirmedDownloadAsksTheMeterForItsDumpPastTheQueue) {
    Await(110);  // the port opens after: the meter hears only what the reply makes the frame send
    OpenPort();
    // The meter holds its first record back: the download still runs when the test looks.
    meter.SilenceNext("DMP:NE");
    frame.Timers().Set(FrameTimers::kStatusPoll, 60000);
    op.ExpectBox("File to download: 2.\nDownload Time: 00:01:30.\n\nConfirm download ?", IDYES);
    Reply("DMP:ON\r\nNumber of files:     2\r\nDump time:00:01:30\r\n");
    EXPECT_EQ(op.types, std::vector<unsigned>{MB_YESNO | MB_ICONINFORMATION});
    EXPECT_FALSE(frame.Timers().IsSet(FrameTimers::kStatusPoll));
    EXPECT_EQ(frame.Timers().Interval(FrameTimers::kDownloadProgress), 500u);
    EXPECT_TRUE(frame.Mode().IsDownloading());
    EXPECT_TRUE(frame.Link().IsQueueEmpty());
    ASSERT_TRUE(meter.WaitForLines(1));
    EXPECT_EQ(meter.Received(), "DMP:NE\r\n");
}

TEST_F(FrameRepliesTest, ADownloadIsRefusedWhileTheMeterMonitorsAndEndsAsOneRefused) {
    ui.downloadBoxShown = true;
    ASSERT_TRUE(frame.Mode().OnMonitorStarted());
    op.ExpectBox("File to download: 2.", IDYES);
    Answer(110, "DMP:ON\r\nNumber of files:     2\r\n");
    EXPECT_FALSE(frame.Mode().IsDownloading());
    EXPECT_TRUE(frame.Mode().IsMonitorOn());
    EXPECT_TRUE(frame.Mode().IsDumpRefused());
    EXPECT_FALSE(frame.Timers().IsSet(FrameTimers::kDownloadProgress));
    EXPECT_FALSE(ui.downloadBoxShown);
    EXPECT_EQ(Queued(), std::vector<int>{115});
}

TEST_F(FrameRepliesTest, RefusedOrEmptyDownloadIsCleanedUpAndNotAnnouncedAsComplete) {
    ui.downloadBoxShown = true;
    op.ExpectBox("File to download: 0.\nDownload Time: .", IDNO);
    Answer(110, "DMP:ON");
    EXPECT_TRUE(frame.Mode().IsDumpRefused());
    EXPECT_FALSE(frame.Mode().IsDownloading());
    EXPECT_FALSE(ui.downloadBoxShown);
    EXPECT_EQ(Queued(), std::vector<int>{115});

    frame.SendCommand(100, "", "");  // anything still queued is dropped with the download
    app.m_strCurrentFile = "old.kr9";
    Answer(115, "DMP:OFF");
    EXPECT_FALSE(frame.Mode().IsDumpRefused());
    EXPECT_TRUE(frame.Link().IsQueueEmpty());
    EXPECT_EQ(app.m_strCurrentFile, "");
    EXPECT_EQ(app.m_nSelectedGraph, -1);
    EXPECT_TRUE(shell.empty());
    EXPECT_EQ(frame.Timers().Interval(FrameTimers::kStatusPoll), 60000u);

    op.ExpectBox("Clear memory successfull.");
    Answer(113, "DMP:CL");
    EXPECT_EQ(op.types.back(), static_cast<unsigned>(MB_ICONINFORMATION));
}

TEST_F(FrameRepliesTest, FinishedDownloadSaysWhereTheDumpIsAndThatItsViewerIsNotHere) {
    ui.downloadBoxShown = true;
    frame.Timers().Set(FrameTimers::kDownloadProgress, 500);
    const std::string dumpPath = app.ProgramPath("\\QS4160_DumpFile.kx9");
    op.ExpectBox("Download Complete\n\nThe memory was saved in " + dumpPath +
                 ".\nIts viewer \"KX9Viewer.exe\" is a program of another system and does not "
                 "exist here.");
    Answer(115, "DMP:OFF");
    EXPECT_EQ(app.m_strCurrentFile, dumpPath);
    EXPECT_EQ(app.m_nSelectedGraph, 1);
    EXPECT_EQ(ui.downloadProgress, 100);
    EXPECT_FALSE(ui.downloadBoxShown);
    EXPECT_FALSE(frame.Timers().IsSet(FrameTimers::kDownloadProgress));
    EXPECT_TRUE(shell.empty());
}

TEST_F(FrameRepliesTest, ScheduledDownloadEndsTheSchedulerRun) {
    Await(115);
    OpenPort();
    folder.Write("RecFile.kr9", "INDEX FILE\r\nRecFile_1.rec\r\n");
    frame.Mode().EnterSchedulerMode();
    frame.Mode().OnMonitorStopped();
    frame.Scheduler().Window().Settings().powerOffAtPause = true;
    Reply("DMP:OFF");
    // Downloaded (13), then the link closed between runs (1).
    EXPECT_EQ(frame.Scheduler().Run().State(), 1);
    EXPECT_FALSE(frame.Mode().IsAcquiring());
    ASSERT_TRUE(meter.WaitForLines(2));
    EXPECT_EQ(meter.Received(), "KEY:OFF\r\nSTT:MON:OFF\r\n");
    EXPECT_EQ(folder.Read("Scheduler.kr9"), "INDEX FILE\r\nRecFile_1.rec\r\n");
    // The run's page file is not there: the scheduler file opens with its warning in the log.
    EXPECT_EQ(SchedulerLog(),
              (std::vector<std::string>{
                  "The memory was saved in " + app.ProgramPath("\\QS4160_DumpFile.kx9") +
                      ".\nIts viewer \"KX9Viewer.exe\" is a program of another system and does "
                      "not exist here.",
                  "Instr. Power Off", "Unable to open current file (code 2)", "Connection OFF",
                  "End Scheduler"}));
    EXPECT_EQ(app.m_strCurrentFile, app.ProgramPath("\\Scheduler.kr9"));
    EXPECT_TRUE(frame.Scheduler().Window().Form().IsEnabled(acquisition::scheduler_ids::kStart));
    EXPECT_FALSE(frame.Scheduler().Window().Form().IsEnabled(acquisition::scheduler_ids::kStop));
    EXPECT_FALSE(frame.Scheduler().Run().IsActive());
    // The run is over: the frame asks its questions again.
    EXPECT_FALSE(frame.Mode().IsSchedulerMode());
    EXPECT_TRUE(shell.empty());
}

TEST_F(FrameRepliesTest, AScheduledDownloadOfAnEmptyMemoryEndsTheRun) {
    frame.Mode().EnterSchedulerMode();
    frame.Scheduler().Run().SetState(acquisition::SchedulerRun::kDownloading);
    Answer(110, "DMP:ON\r\nMEMORY EMPTY\r\n");
    EXPECT_EQ(Queued(), std::vector<int>{115});
    frame.Link().DeleteAllCommands();
    // A run that made no record index has no file to show, and says so once it has ended.
    const std::string noRecordIndex =
        "WARNING: Unable to copy RecFile.kr9 to Scheduler.kr9 (RecFile.kr9: " +
        std::string(std::strerror(ENOENT)) +
        ").\nThe run's records are in RecFile.kr9; Scheduler.kr9 is not this run's.";
    op.ExpectBox(noRecordIndex);
    Answer(115, "DMP:OFF");
    EXPECT_EQ(SchedulerLog(),
              (std::vector<std::string>{"Instrument memory empty.\nDownloading finished.",
                                        noRecordIndex, "Connection OFF", "End Scheduler"}));
    EXPECT_TRUE(shell.empty());  // nothing downloaded, nothing shown
}

// The run waits for its download's end: a step of it that the meter refuses, leaves empty or
// answers in the wrong state must not leave the run, and the program's close, waiting for ever.
TEST_F(FrameRepliesTest, AScheduledDownloadWhoseStepTheMeterRefusesEndsTheRun) {
    const std::string noRecordIndex =
        "WARNING: Unable to copy RecFile.kr9 to Scheduler.kr9 (RecFile.kr9: " +
        std::string(std::strerror(ENOENT)) +
        ").\nThe run's records are in RecFile.kr9; Scheduler.kr9 is not this run's.";
    for (const char* answer : {"\x15", "#DMP"}) {
        SCOPED_TRACE(answer);
        ClearSchedulerLog();
        frame.Mode().EnterSchedulerMode();
        frame.Scheduler().Run().SetState(acquisition::SchedulerRun::kDownloading);
        ui.downloadBoxShown = true;
        op.ExpectBox(noRecordIndex);
        if (answer[0] == '#')
            Answer(110, answer);
        else
            RefuseThrice(110, answer);
        const std::vector<std::string> log = SchedulerLog();
        ASSERT_EQ(log.size(), 4u) << ::testing::PrintToString(log);
        EXPECT_TRUE(platform::StartsWith(log[0], "WARNING : ")) << log[0];
        EXPECT_EQ(std::vector<std::string>(log.begin() + 1, log.end()),
                  (std::vector<std::string>{noRecordIndex, "Connection OFF", "End Scheduler"}));
        EXPECT_FALSE(ui.downloadBoxShown);
        EXPECT_FALSE(frame.Mode().IsSchedulerMode());
    }
}

TEST_F(FrameRepliesTest, CalibrationRepliesFeedTheOpenCalibrationWindows) {
    using maintenance::MicReplacement;
    const MicReplacement& wizard = frame.Maintenance().MicCalibration().Wizard();
    Answer(136, "SET:PROT_CODE:4321");  // the wizard is closed: nothing
    EXPECT_TRUE(wizard.IsOver());

    op.ExpectDialog("CMicCalibDlg", [](platform::ModalDialog& dialog) {
        dynamic_cast<CMicCalibDlg&>(dialog).m_strMicSerial = "M9";
        return IDOK;
    });
    frame.Maintenance().MicCalibration().Create();
    frame.Maintenance().MicCalibration().ShowWindow(true);
    ASSERT_EQ(wizard.GetStep(), MicReplacement::kMeasuring);
    Answer(136, "SET:PROT_CODE:4321");
    Answer(131, "CAL:GAIN:  12.5", "CH:1");
    Answer(131, "CAL:GAIN:  -3.0", "CH:0");
    Answer(133, "CAL:ELCAL:93.9 ", "CH:0");
    op.ExpectDialog("CMicCalibDlg",
                    [](platform::ModalDialog&) { return CMicCalibDlg::kAnswerOnWindow; });
    Answer(135, "PRN_VAL:   94.1 dB(A)");
    ASSERT_EQ(wizard.GetStep(), MicReplacement::kConfirmGain);
    EXPECT_EQ(wizard.Level(), "94.1");
    EXPECT_EQ(wizard.OldGain(0), "-3.0");
    EXPECT_EQ(wizard.NewGain(1), "12.4");

    frame.Maintenance().MicCalibration().OnNext();
    Answer(137, "FAB:OK", "4321");
    EXPECT_EQ(wizard.GetStep(), MicReplacement::kReadingElectric);

    ASSERT_TRUE(frame.Mode().BeginElectricCalibration());
    frame.Mode().BeginDisplayCheck();
    frame.Scheduler().OpenElectricCalibration(
        maintenance::ElectricCalibration::kElectricCalibration);
    EXPECT_FALSE(
        frame.Mode().IsCheckingDisplay());  // the routine reads the program's screens itself
    const auto& routine = frame.Scheduler().ElectricCalibration().Routine();
    Answer(123, "PRN_VAL: 0.3 dB");
    EXPECT_EQ(routine.PrintedValueText(), "PRN_VAL: 0.3 dB");
    op.ExpectBox("Start Electric Calibration now ?", IDNO);
    Answer(100, "STT:DISPL:Leq 45.2 dB");
    EXPECT_EQ(routine.DisplayText(), "STT:DISPL:Leq 45.2 dB");
    EXPECT_TRUE(routine.IsFinished());
    EXPECT_FALSE(frame.Mode().IsElectricCalRunning());
}
