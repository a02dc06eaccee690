// The session operations against the simulated meter: the confirming exchange, a new session
// and the end of a live run, stopping the monitoring, the electric calibration and the start of
// a memory download with its dump file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "acquisition/sel_file_to_save_dlg.h"
#include "app/frame_scheduler.h"
#include "app/frame_timers.h"
#include "app/maintenance_commands.h"
#include "app/monitoring_session.h"
#include "frame_test_support.h"
#include "link/session_queries.h"
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
    }
    bool Confirms(const char* command, const char* query, const char* expected) {
        meter.ClearLog();
        return frame.Link().ExchangeAndWait(command, query, expected);
    }
};

}  // namespace

TEST_F(FrameSessionTest, ExchangeAndWaitIsConfirmedRefusedOrNeverConfirmedInThreeRounds) {
    OpenPort();
    EXPECT_TRUE(Confirms("STT:MON:OFF\r\n", "STT:MON:?\r\n", "OFF"));
    EXPECT_EQ(meter.Lines(), (Lines{"STT:MON:OFF", "STT:MON:?"}));
    EXPECT_TRUE(Link().IsListening());

    meter.RefuseNext("STT:ACQ", -1);
    EXPECT_FALSE(Confirms("STT:ACQ:STOP\r\n", "STT:ACQ:?\r\n", "STOP"));
    // The exchange does not wait for the meter to read its last line.
    EXPECT_TRUE(meter.WaitForLines(6));
    EXPECT_EQ(meter.LineCount(), 6u);
    EXPECT_FALSE(Link().IsListening());

    meter.Modify([](simmeter::MeterState& s) { s.monitorOn = s.monitorStaysOn = true; });
    const auto start = platform::Clock::TickCount();
    EXPECT_FALSE(Confirms("STT:MON:OFF\r\n", "STT:MON:?\r\n", "OFF"));
    EXPECT_GE(platform::Clock::TickCount() - start, 3000u);
    EXPECT_TRUE(meter.WaitForLines(6));
    EXPECT_EQ(meter.LineCount(), 6u);
}

TEST_F(FrameSessionTest, ANewSessionAsksToSaveBeforeItDiscardsAnything) {
    OpenLink();
    view.m_ReportList.InsertItem(0, "old row");
    // Cancel, or a save window that was cancelled: nothing of the current data goes.
    op.ExpectBox(kSaveQuestion, IDCANCEL).ExpectBox(kSaveQuestion, IDYES);
    op.ExpectDialog("CSelFileToSaveDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    frame.Session().StartNewSession();
    frame.Session().StartNewSession();
    EXPECT_EQ(op.types[0], MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(app.m_strCurrentFile, folder.File("old.kr9"));
    EXPECT_EQ(app.m_InstrStatus.m_strSerialNumber, "12345678");
    EXPECT_EQ(view.m_ReportList.GetItemCount(), 1);
    EXPECT_TRUE(Link().IsQueueEmpty());

    // Saved: the session starts on emptied data and asks the meter for its setup.
    meter.ClearLog();
    records::SetupBlock block;
    block.SetField(records::SetupBlock::kPagingSize, "1");
    folder.Write("old.kr9", std::string(block.Bytes()) + "2024/03/09 10:00:00 " +
                                records::EncodeRecord(0, std::vector<std::uint16_t>(5, 450)));
    view.m_PageList.InsertItem(0, "PAGE 0");
    view.m_PageList.InsertItem(1, "2024/03/09 10:00:00");
    op.ExpectBox(kSaveQuestion, IDYES);
    op.ExpectDialog("CSelFileToSaveDlg", [&](platform::ModalDialog& shown) {
        auto& save = static_cast<acquisition::CSelFileToSaveDlg&>(shown);
        save.OnClickList(0);
        save.m_strTarget = folder.File("kept");
        EXPECT_TRUE(save.OnOK());
        return save.m_nResult;
    });
    op.ExpectBox("Selected Reports saved successfully.");
    frame.Session().StartNewSession();
    EXPECT_EQ(folder.Read("kept.kr9"), folder.Read("old.kr9"));
    EXPECT_TRUE(app.m_strCurrentFile.empty());
    EXPECT_EQ(view.m_ReportList.GetItemCount(), 0);
    EXPECT_EQ(frame.Mode().PendingOp(), 9);
    EXPECT_EQ(frame.Timers().Interval(FrameTimers::kInstrumentClock), 1000u);
    EXPECT_EQ(ui.setupBoxText, "Comunication setup...Please wait.");
    // A model with data logging starts its profile at its shortest time.
    EXPECT_EQ(frame.m_SetupBlock.Field(14), BlockField("0.125s"));
    EXPECT_EQ(frame.m_SetupBlock.Field(1), std::string(11, '\xFF'));
    // The meter's monitoring state brings the monitoring options.
    op.ExpectDialog("CSelCHMonitorDlg", [](platform::ModalDialog&) { return IDOK; });
    ASSERT_TRUE(PumpUntil([&] { return QueueIdle(); }));
    Lines expected{"STT:MON:OFF", "STT:MON:?"};
    for (int code : NewSessionQueryCodes("QS4160_00$1"))
        expected.push_back(platform::TrimRight(CCommand(code, "", "").GetText()));
    EXPECT_EQ(meter.Lines(), expected);
    EXPECT_EQ(dataSheets, 0);
    EXPECT_FALSE(ui.setupBoxShown);  // the monitoring state's reply closed it

    // Saved data, or a scheduled run: no question; No goes on without saving.
    frame.Mode().MarkDataSaved();
    frame.Session().StartNewSession();
    frame.Mode().EnterSchedulerMode();
    frame.Session().StartNewSession();
    frame.Mode().LeaveSchedulerMode();
    op.ExpectBox(kSaveQuestion, IDNO);
    frame.Session().StartNewSession();
    EXPECT_EQ(std::count(op.Shown().begin(), op.Shown().end(), kSaveQuestion), 4);
    EXPECT_EQ(std::count(op.Shown().begin(), op.Shown().end(), "dialog:CSelFileToSaveDlg"), 2);
}

TEST_F(FrameSessionTest, AnEndedLiveRunIsConfirmedOffAndStoppingMonitoringDisconnects) {
    OpenLink();
    frame.Mode().OnMeterAnswered();
    ASSERT_TRUE(frame.Mode().BeginLive());
    ASSERT_TRUE(frame.m_RecFile.Create(folder.File("RecFile_x.rec")));
    frame.Mode().OnAudioRecordingStarted();
    frame.Session().AudioRecording() = {"2024/03/09 10:00:00", "", 1, 40, "Audio_1.wav"};
    frame.Session().StartNewSession();
    EXPECT_FALSE(frame.m_RecFile.IsOpen());
    EXPECT_FALSE(frame.Mode().IsMonitorOn());
    EXPECT_EQ(frame.Timers().Interval(FrameTimers::kStatusPoll), 60000u);
    EXPECT_EQ(meter.Lines(), (Lines{"STT:MON:OFF", "STT:MON:?"}));
    EXPECT_FALSE(frame.Mode().IsAudioRecording());
    EXPECT_FALSE(frame.Mode().IsAudioFileOpen());
    EXPECT_TRUE(platform::EndsWith(folder.Read("AudioFileList.txt"), "#1#40#Audio_1.wav\r\n"));

    // Stopping: monitoring off on the wire, then the whole run ends with the link.
    meter.ClearLog();
    frame.Mode().MarkDataSaved();
    frame.Timers().Set(FrameTimers::kInstrumentClock, 1000);
    ui.SetTitle("KX9Monitor QS4160_00$1 - 12345678                 -RECORDING-");
    ASSERT_TRUE(frame.m_RecFile.Create(folder.File("RecFile_y.rec")));
    frame.Session().StopMonitoring();
    ASSERT_TRUE(meter.WaitForLines(1));
    EXPECT_EQ(meter.Lines(), Lines{"STT:MON:OFF"});
    EXPECT_FALSE(frame.Mode().IsDataSaved());
    for (int timer : {FrameTimers::kInstrumentClock, FrameTimers::kStatusPoll})
        EXPECT_FALSE(frame.Timers().IsSet(timer)) << timer;
    EXPECT_FALSE(Port().IsOpen() || Link().IsListening() || frame.Mode().IsLinkActive());
    EXPECT_EQ(ui.panes[1].text, "Disconnected");
    EXPECT_EQ(ui.GetTitle(), "KX9Monitor QS4160_00$1 - 12345678");
    EXPECT_FALSE(frame.m_RecFile.IsOpen());
}

TEST_F(FrameSessionTest, AScheduledAcquisitionsSessionGoesOnInTheLiveSegment) {
    OpenLink();
    frame.Mode().OnMeterAnswered();
    ASSERT_TRUE(frame.Mode().BeginLive());
    frame.m_recording.SelectSegment(2);
    // The operator's new session only ends the live run; the scheduler's also goes back to the
    // live segment.
    frame.Session().StartNewSession();
    EXPECT_EQ(frame.m_recording.SelectedSegment(), 2);
    ASSERT_TRUE(frame.Mode().BeginLive());
    frame.Session().StartLiveSession();
    EXPECT_FALSE(frame.Mode().IsMonitorOn());
    EXPECT_EQ(frame.m_recording.SelectedSegment(), -1);
}

TEST_F(FrameSessionTest, TheElectricCalibrationOpensItsWindowAndAsksForTheStates) {
    frame.Scheduler().StartElectricCalibration();
    EXPECT_TRUE(frame.Mode().IsElectricCalRunning());
    EXPECT_TRUE(frame.Scheduler().ElectricCalibration().IsWindowVisible());
    EXPECT_EQ(frame.Scheduler().ElectricCalibration().Routine().GetRoutine(), 0);
    frame.Scheduler().ElectricCalibration().DestroyWindow();
    EXPECT_EQ(QueuedCodes(frame), (std::vector<int>{11, 100}));
}

TEST_F(FrameSessionTest, NoElectricCalibrationStartsWhileTheWriterHoldsTheMeter) {
    ASSERT_TRUE(frame.Mode().BeginFirmwareUpgrade());
    frame.Scheduler().StartElectricCalibration();
    EXPECT_TRUE(frame.Mode().IsFirmwareUpgrading());
    EXPECT_FALSE(frame.Scheduler().ElectricCalibration().HasWindow());
    EXPECT_TRUE(Link().IsQueueEmpty());
}

TEST_F(FrameSessionTest, ADownloadStartsWithTheDumpHeaderByteForByte) {
    OpenLink();
    frame.DumpHost().Progress().file = 3;
    frame.DumpDecoder().RequestCancel();
    op.ExpectBox("Instrument memory empty.\nDownloading finished.");
    frame.Session().OpenDumpFile();
    std::string header = "\xBAQS4160_00$1 12345678 V2.0 ";
    header.resize(64, '\xFF');
    EXPECT_EQ(folder.Read(acquisition::DumpFile::kFileName), header);
    EXPECT_EQ(frame.DumpHost().Progress().file, 0);
    EXPECT_FALSE(frame.DumpDecoder().IsCancelRequested());
    EXPECT_TRUE(ui.downloadBoxShown);
    // The acquisition state starts the dump; an empty memory ends it at once.
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 1 && QueueIdle(); }));
    EXPECT_EQ(meter.Lines(), (Lines{"STT:ACQ:?", "DMP:ON"}));
    EXPECT_FALSE(ui.downloadBoxShown);
}

TEST_F(FrameSessionTest, ADumpFileThatCannotBeCreatedOrWrittenStartsNoDownload) {
    const std::string path = folder.File(acquisition::DumpFile::kFileName);
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    op.ExpectBox("Error: Unable to open selected file (code 21)");
    frame.Session().OpenDumpFile();
    // A scheduler run is told that no download began, and its log says why.
    frame.Mode().EnterSchedulerMode();
    EXPECT_FALSE(frame.Session().OpenDumpFile());
    EXPECT_EQ(SchedulerLog(), Lines{"Error: Unable to open selected file (code 21)"});
    frame.Mode().LeaveSchedulerMode();
    ::rmdir(path.c_str());
    // A full disk: the header cannot be written.
    ASSERT_EQ(::symlink("/dev/full", path.c_str()), 0);
    op.ExpectBox("error writing dump file (code 28)");
    frame.Session().OpenDumpFile();
    EXPECT_EQ(op.types, (std::vector<unsigned>{MB_OK, MB_ICONSTOP}));
    EXPECT_FALSE(app.m_DumpFile.IsOpen() || ui.downloadBoxShown);
    EXPECT_TRUE(Link().IsQueueEmpty());
    EXPECT_EQ(frame.Mode().PendingOp(), -1);
}
