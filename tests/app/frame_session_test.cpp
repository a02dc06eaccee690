// The session operations against the simulated meter: the confirming exchange, a new session
// and the end of a live run, stopping the monitoring, the electric calibration and the start of
// a memory download with its dump file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "frame_test_support.h"
#include "link/session_queries.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/text.h"

using namespace frametest;

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kSaveQuestion =
    "Do you want to save current data before starting new session ?";

class FrameSessionTest : public FrameLinkTest {
protected:
    FrameSessionTest() {
        app.m_InstrStatus.m_strModel = "QS4160_00$1";
        app.m_InstrStatus.m_strSerialNumber = "12345678";
        app.m_strCurrentFile = folder.File("old.kr9");
        platform::SetShellRecorder([](const platform::ShellRequest&) { return true; });
    }
    ~FrameSessionTest() override { platform::SetShellRecorder(nullptr); }

    Lines LinesOf(const std::vector<int>& codes) const {
        Lines lines;
        for (int code : codes)
            lines.push_back(platform::TrimRight(CCommand(code, "", "").GetText()));
        return lines;
    }
    std::string DumpFilePath() const { return folder.File(DumpFile::kFileName); }
};

}  // namespace

TEST_F(FrameSessionTest, ExchangeAndWaitIsConfirmedRefusedOrNeverConfirmedInThreeRounds) {
    OpenPort();
    EXPECT_TRUE(frame.ExchangeAndWait("STT:MON:OFF\r\n", "STT:MON:?\r\n", "OFF"));
    EXPECT_EQ(meter.Lines(), (Lines{"STT:MON:OFF", "STT:MON:?"}));
    EXPECT_TRUE(Link().IsListening());

    meter.ClearLog();
    meter.RefuseNext("STT:ACQ", -1);
    EXPECT_FALSE(frame.ExchangeAndWait("STT:ACQ:STOP\r\n", "STT:ACQ:?\r\n", "STOP"));
    EXPECT_EQ(meter.LineCount(), 6u);
    EXPECT_FALSE(Link().IsListening());

    meter.ClearOverrides();
    meter.ClearLog();
    meter.Modify([](simmeter::MeterState& s) {
        s.monitorOn = true;
        s.monitorStaysOn = true;
    });
    const auto start = platform::Clock::TickCount();
    EXPECT_FALSE(frame.ExchangeAndWait("STT:MON:OFF\r\n", "STT:MON:?\r\n", "OFF"));
    EXPECT_GE(platform::Clock::TickCount() - start, 3000u);
    EXPECT_EQ(meter.LineCount(), 6u);
}

TEST_F(FrameSessionTest, ANewSessionAsksToSaveBeforeItDiscardsAnything) {
    OpenLink();
    view.OnInitialUpdate();
    view.m_ReportList.InsertItem(0, "old row");
    // Cancel, or a save window that was cancelled: nothing of the current data goes.
    op.ExpectBox(kSaveQuestion, IDCANCEL).ExpectBox(kSaveQuestion, IDYES);
    monitoring.saved = false;
    frame.StartNewSession();
    frame.StartNewSession();
    EXPECT_EQ(op.types[0], MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(monitoring.calls, Lines{"CSelFileToSaveDlg"});
    EXPECT_EQ(app.m_strCurrentFile, folder.File("old.kr9"));
    EXPECT_EQ(app.m_InstrStatus.m_strSerialNumber, "12345678");
    EXPECT_EQ(view.m_ReportList.GetItemCount(), 1);
    EXPECT_TRUE(Link().IsQueueEmpty());
    EXPECT_EQ(meter.Lines(), (Lines{"STT:MON:OFF", "STT:MON:?", "STT:MON:OFF", "STT:MON:?"}));

    // Saved: the session starts on emptied data and asks the meter for its setup.
    meter.ClearLog();
    monitoring.saved = true;
    monitoring.calls.clear();
    op.ExpectBox(kSaveQuestion, IDYES);
    frame.StartNewSession();
    EXPECT_TRUE(app.m_strCurrentFile.empty());
    EXPECT_EQ(view.m_ReportList.GetItemCount(), 0);
    EXPECT_EQ(monitoring.calls, (Lines{"CSelFileToSaveDlg", "ResetLiveRecord"}));
    EXPECT_EQ(frame.m_nPendingOp, 9);
    EXPECT_EQ(frame.TimerInterval(CMainFrame::kInstrumentClock), 1000u);
    EXPECT_EQ(ui.setupBoxText, "Comunication setup...Please wait.");
    // A model with data logging starts its profile at its shortest time.
    EXPECT_EQ(app.m_InstrStatus.m_strProfileTime, "0.125s");
    EXPECT_EQ(frame.m_SetupBlock.Field(14), BlockField("0.125s"));
    EXPECT_EQ(frame.m_SetupBlock.Field(1), std::string(11, '\xFF'));
    ASSERT_TRUE(PumpUntil([&] { return QueueIdle(); }));
    Lines expected{"STT:MON:OFF", "STT:MON:?"};
    for (const std::string& line : LinesOf(NewSessionQueryCodes("QS4160_00$1")))
        expected.push_back(line);
    EXPECT_EQ(meter.Lines(), expected);
    EXPECT_EQ(app.m_InstrStatus.m_strSerialNumber, "A12345");
    EXPECT_EQ(dataSheets, 0);
    EXPECT_FALSE(ui.setupBoxShown);  // the monitoring state's reply closed it
    EXPECT_FALSE(frame.m_bDataSaved);

    // Saved data, or a scheduled run: no question; No goes on without saving.
    for (const BOOL scheduler : {FALSE, TRUE}) {
        frame.m_bDataSaved = !scheduler;
        frame.m_bSchedulerMode = scheduler;
        frame.StartNewSession();
        Link().DeleteAllCommands();
    }
    frame.m_bSchedulerMode = FALSE;
    op.ExpectBox(kSaveQuestion, IDNO);
    frame.StartNewSession();
    EXPECT_EQ(op.Shown().size(), 4u);
    EXPECT_EQ(monitoring.calls.front(), "CSelFileToSaveDlg");
    EXPECT_EQ(std::count(monitoring.calls.begin(), monitoring.calls.end(), "CSelFileToSaveDlg"), 1);
}

TEST_F(FrameSessionTest, AnEndedLiveRunIsConfirmedOffAndStoppingMonitoringDisconnects) {
    OpenLink();
    frame.m_bLinkActive = TRUE;
    frame.m_bMonitorOn = TRUE;
    frame.m_bAcquiring = TRUE;
    ASSERT_TRUE(frame.m_RecFile.Create(folder.File("RecFile_x.rec")));
    frame.m_bAudioRecording = TRUE;
    frame.m_AudioRecording = {"2024/03/09 10:00:00", "", 1, 40, folder.File("Audio_1.wav")};
    frame.SetTimer(CMainFrame::kIntegrationEnd, 5000);
    frame.StartNewSession();
    EXPECT_FALSE(frame.m_RecFile.IsOpen());
    EXPECT_FALSE(frame.IsTimerSet(CMainFrame::kIntegrationEnd));
    EXPECT_FALSE(frame.m_bMonitorOn);
    EXPECT_EQ(frame.TimerInterval(CMainFrame::kStatusPoll), 60000u);
    EXPECT_EQ(meter.Lines(), (Lines{"STT:MON:OFF", "STT:MON:?"}));
    EXPECT_FALSE(frame.m_bAudioRecording);
    EXPECT_TRUE(platform::EndsWith(folder.Read("AudioFileList.txt"),
                                   "#1#40#" + folder.File("Audio_1.wav") + "\r\n"));
    EXPECT_TRUE(op.Shown().empty());

    meter.ClearLog();
    frame.m_bDataSaved = TRUE;
    frame.SetTimer(CMainFrame::kInstrumentClock, 1000);
    frame.StopMonitoring();
    ASSERT_TRUE(meter.WaitForLines(1));
    EXPECT_EQ(meter.Lines(), Lines{"STT:MON:OFF"});
    EXPECT_FALSE(frame.m_bDataSaved);
    EXPECT_FALSE(frame.IsTimerSet(CMainFrame::kInstrumentClock));
    EXPECT_FALSE(Port().IsOpen());
    EXPECT_FALSE(frame.m_bLinkActive);
    EXPECT_EQ(ui.panes[1].text, "Disconnected");
}

TEST_F(FrameSessionTest, TheElectricCalibrationOpensItsWindowAndAsksForTheStates) {
    frame.StartElectricCalibration();
    EXPECT_TRUE(frame.m_bElectricCalRunning);
    EXPECT_EQ(services.calls, Lines{"CElectricCalibrationDlg 0"});
    EXPECT_EQ(QueuedCodes(frame), (std::vector<int>{11, 100}));
}

TEST_F(FrameSessionTest, ADownloadStartsWithTheDumpHeaderByteForByte) {
    OpenLink();
    frame.m_nDownloadFile = 3;
    frame.m_bCancelDownload = TRUE;
    op.ExpectBox("Instrument memory empty.\nDownloading finished.");
    frame.OpenDumpFile();
    std::string header =
        "\xBA"
        "QS4160_00$1 12345678 V2.0 ";
    header.resize(64, '\xFF');
    EXPECT_EQ(folder.Read(DumpFile::kFileName), header);
    EXPECT_EQ(frame.m_nDownloadFile, 0);
    EXPECT_FALSE(frame.m_bCancelDownload);
    EXPECT_EQ(monitoring.calls, Lines{"ResetDumpBadRecords"});
    EXPECT_TRUE(ui.downloadBoxShown);
    // The acquisition state starts the dump; an empty memory ends it at once.
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 1 && QueueIdle(); }));
    EXPECT_EQ(meter.Lines(), (Lines{"STT:ACQ:?", "DMP:ON"}));
    EXPECT_FALSE(ui.downloadBoxShown);

    // A memory with files is asked about; refused, the meter is told and the file closed.
    meter.ClearLog();
    meter.Modify([](simmeter::MeterState& s) { s.dumpFiles = 2; });
    op.ExpectBox("File to download: 2.\nDownload Time: 00:01:30.\n\nConfirm download ?", IDNO);
    frame.OpenDumpFile();
    ASSERT_TRUE(PumpUntil([&] { return meter.LineCount() == 3 && QueueIdle(); }));
    EXPECT_EQ(meter.Lines(), (Lines{"STT:ACQ:?", "DMP:ON", "DMP:OFF"}));
    EXPECT_FALSE(app.m_DumpFile.IsOpen());
}

TEST_F(FrameSessionTest, ADumpFileThatCannotBeCreatedOrWrittenStartsNoDownload) {
    ASSERT_EQ(::mkdir(DumpFilePath().c_str(), 0700), 0);
    op.ExpectBox("Error: Unable to open selected file (code 21)");
    frame.OpenDumpFile();
    ::rmdir(DumpFilePath().c_str());

    // A full disk: the header cannot be written.
    ASSERT_EQ(::symlink("/dev/full", DumpFilePath().c_str()), 0);
    op.ExpectBox("error writing dump file (code 28)");
    frame.OpenDumpFile();
    EXPECT_EQ(op.types, (std::vector<unsigned>{MB_OK, MB_ICONSTOP}));
    EXPECT_FALSE(app.m_DumpFile.IsOpen());
    EXPECT_TRUE(Link().IsQueueEmpty());
    EXPECT_FALSE(ui.downloadBoxShown);
    EXPECT_EQ(frame.m_nPendingOp, -1);
}
