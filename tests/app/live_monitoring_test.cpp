// Live monitoring through the frame: the meter's records handed over by the link session
// become rows, pages of "RecFile.kr9" that the data-set reader reads back, and a report list
// that timer 12 keeps to the current page; chosen pages saved as one archive that Info-ZIP and
// Python read. The golden transcript of a run over the port is
// tests/app/golden/live_monitoring.txt; KX9_UPDATE_GOLDEN=1 writes it again instead of
// comparing (support/golden_file.h).
#include <gtest/gtest.h>

#include <cstdlib>

#include "acquisition/data_buffer.h"
#include "acquisition/data_set.h"
#include "acquisition/sel_file_to_save_dlg.h"
#include "app/chart_windows.h"
#include "app/frame_boxes.h"
#include "app/frame_data_files.h"
#include "app/frame_timers.h"
#include "app/live_recording.h"
#include "app/monitoring_session.h"
#include "frame_test_support.h"
#include "live_records.h"
#include "support/golden_file.h"
#include "support/record_kinds.h"

using namespace frametest;

namespace {

class LiveMonitoringTest : public FrameLinkTest {
protected:
    LiveMonitoringTest() {
        ui.lists = &view;
        platform::Clock::SetFixedNow(platform::DateTime::FromParts(2024, 3, 9, 14, 0, 0).Seconds());
        app.m_InstrStatus.m_strModel = "QS4160_L0$1";
        app.m_InstrStatus.m_strDate = "Instr.Date: 2024/03/09";
        app.m_InstrStatus.m_strTime = "Instr.Time: 14:00:00";
        app.m_InstrStatus.m_strProfileSpectrumTime = "1s";
        app.m_nPagingSize = 200;
    }
    ~LiveMonitoringTest() override { platform::Clock::SetFixedNow(std::nullopt); }

    // The meter confirms monitoring in `mode`: the record files start and records flow.
    void StartMonitoring(const std::string& mode, int channelMode) {
        frame.SendCommand(95, mode, "", -1, TRUE);
        Link().SetReadyToSend(TRUE);
        Link().SendNextCommand();
        Link().OnReply("STT:MONITOR:" + mode + "\x03");
        frame.Mode().OnRecordingLoaded(records::RecordKind::OfChannelMode(channelMode));
        ASSERT_TRUE(frame.Mode().BeginLive());
    }
    // The same over the simulated meter's port: false when the record file never opened.
    bool StartLevelsOverThePort() {
        OpenLink();
        frame.SendCommand(95, "SLM", "");
        if (!PumpUntil([&] { return QueueIdle() && frame.m_RecFile.IsOpen(); }))
            return false;
        frame.Mode().ChooseChannel(testkinds::kSoundLevelMeter);
        return frame.Mode().BeginLive();
    }
    std::string Index() const { return folder.File("RecFile.kr9"); }
};

}  // namespace

TEST_F(LiveMonitoringTest, RecordsBecomePagesThatTheReaderReadsBackAndTheListStaysBounded) {
    StartMonitoring("OCTAVE", 2);
    simmeter::LiveRecordStream stream(2, 1);
    for (int record = 0; record < 450; ++record) {
        Link().OnReply(stream.Next());
        // Each page end starts the trim; the records go on arriving meanwhile.
        if (frame.Timers().IsSet(FrameTimers::kReportTrim) && record % 3 == 0)
            frame.Timers().Expire(FrameTimers::kReportTrim);
    }
    while (frame.Timers().IsSet(FrameTimers::kReportTrim))
        frame.Timers().Expire(FrameTimers::kReportTrim);
    EXPECT_EQ(view.m_ReportList.GetItemCount(), 50 + 1);
    EXPECT_EQ(view.m_ReportList.GetItemText(49, 0), "00:07:29");
    EXPECT_TRUE(view.m_bTrimFinished);

    const acquisition::DataSetListing listing = acquisition::ListDataSet(Index());
    ASSERT_FALSE(listing.failure);
    ASSERT_EQ(listing.pages.size(), 3u);
    std::vector<unsigned char> buffer(records::kDataBufferSize);
    int record = 0;
    for (int page = 0; page < 3; ++page) {
        const acquisition::RecordingSetup& setup = listing.Setup(static_cast<size_t>(page));
        EXPECT_EQ(setup.pageSize, 200);
        const acquisition::PageLoad load =
            acquisition::LoadPage(Index(), page, setup.Layout(), setup.pageSize, buffer);
        const acquisition::DataBufferView records(buffer, setup.Layout(), load.bytes);
        for (long long sample = 0; sample < records.SampleCount(); ++sample, ++record) {
            const std::vector<int> values = stream.Values(record);
            ASSERT_EQ(records.Values(sample),
                      std::vector<std::uint16_t>(values.begin(), values.end()));
        }
    }
    EXPECT_EQ(record, 450);
    std::vector<std::string> pages;
    for (int row = 0; row < view.m_PageList.GetItemCount(); row += 2)
        pages.push_back(view.m_PageList.GetItemText(row, 0));
    EXPECT_EQ(pages, (std::vector<std::string>{"PAGE 0", "PAGE 1", "CURR PAGE"}));
    EXPECT_EQ(frame.m_recording.Time().SegmentStarts(), (std::vector<unsigned>{0, 200, 400}));

    // A new session starts the counters afresh.
    frame.Mode().MarkDataSaved();
    frame.Mode().OnMonitorStopped();
    frame.Session().StartNewSession();
    EXPECT_EQ(frame.Live().Recorder().RowCounter(), 0);
    EXPECT_EQ(frame.Live().Recorder().PageNumber(), 0);
}

TEST_F(LiveMonitoringTest, ChosenPagesOfALiveRecordingAreSavedAsOneArchive) {
    StartMonitoring("SLM", 0);
    simmeter::LiveRecordStream stream(0, 1);
    for (int record = 0; record < 450; ++record)
        Link().OnReply(stream.Next());
    frame.Mode().OnMonitorStopped();
    frame.m_RecFile.Close();
    app.m_strCurrentFile = Index();

    op.ExpectDialog("CSelFileToSaveDlg", [&](platform::ModalDialog& shown) {
        auto& save = static_cast<acquisition::CSelFileToSaveDlg&>(shown);
        save.OnInitDialog();
        save.OnClickList(0);
        save.OnClickList(2, true);
        save.m_strTarget = folder.File("mon");  // ".kr9" is added
        EXPECT_TRUE(save.OnOK());
        return save.m_nResult;
    });
    op.ExpectBox("Selected Reports saved successfully.");
    EXPECT_TRUE(frame.DataFiles().RunSaveDialog());
    EXPECT_TRUE(frame.Mode().IsDataSaved());
    const std::string archive = folder.File("mon.kr9");
    if (std::system("command -v unzip >/dev/null 2>&1") == 0) {
        EXPECT_EQ(std::system(("unzip -tqq '" + archive + "' >/dev/null").c_str()), 0);
    }
    if (std::system("command -v python3 >/dev/null 2>&1") == 0) {
        EXPECT_EQ(
            std::system(("python3 -c \"import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
                         "assert z.testzip() is None; "
                         "assert len(z.namelist()) == 3\" '" +
                         archive + "'")
                            .c_str()),
            0);
    }
}

TEST_F(LiveMonitoringTest, TheSimulatedMeterStreamsLevelsWithGapsErrorsAndCutRecordsOverItsPort) {
    // The records' watchdog (five seconds without a record ends monitoring) at the program's
    // own pace: a loaded machine may take longer than its accelerated 200 ms between two of
    // the records posted from the port.
    const platform::ScopedClockSpeed ownPace{1.0};
    ASSERT_TRUE(StartLevelsOverThePort());

    simmeter::LiveRecordStream stream(0, 1);
    std::string wire;
    for (int record = 0; record < 240; ++record) {
        if (record == 100)
            stream.Skip(3);  // lost on the way: three seconds without a record
        wire += record == 150 ? stream.NextTruncated(15) : stream.Next();
        if (record == 180)
            wire += simmeter::LiveErrorRecord();
    }
    meter.Send(wire);
    // 240 records, one loss row, one error row: 242 rows, a page of 200 closed on the way.
    ASSERT_TRUE(PumpUntil([&] { return frame.Live().Recorder().TotalRecords() == 242; }));
    EXPECT_EQ(frame.Live().Recorder().PageNumber(), 1);
    frame.m_RecFile.Close();

    std::vector<std::vector<std::uint16_t>> samples;
    std::vector<unsigned char> buffer(records::kDataBufferSize);
    const acquisition::DataSetListing listing = acquisition::ListDataSet(Index());
    ASSERT_EQ(listing.pages.size(), 2u);
    for (int page = 0; page < 2; ++page) {
        const acquisition::RecordingSetup& setup = listing.Setup(static_cast<size_t>(page));
        const acquisition::PageLoad load =
            acquisition::LoadPage(Index(), page, setup.Layout(), setup.pageSize, buffer);
        const acquisition::DataBufferView records(buffer, setup.Layout(), load.bytes);
        for (long long sample = 0; sample < records.SampleCount(); ++sample)
            samples.push_back(records.Values(sample));
    }
    ASSERT_EQ(samples.size(), 242u);
    const auto values = [&](int record) {
        const std::vector<int> levels = stream.Values(record);
        return std::vector<std::uint16_t>(levels.begin(), levels.end());
    };
    EXPECT_EQ(samples[99], values(99));
    EXPECT_EQ(samples[100], std::vector<std::uint16_t>(5, 0));  // the loss
    EXPECT_EQ(samples[101], values(103));
    // The cut record keeps its first level and stores the rest as missing.
    EXPECT_EQ(samples[151][0], values(153)[0]);
    EXPECT_EQ(samples[151][4], records::kNoValue);
    EXPECT_EQ(samples[182], std::vector<std::uint16_t>(5, 0));  // "ERROR"
    EXPECT_EQ(samples[183], values(184));
    EXPECT_EQ(samples[241], values(242));
}

TEST_F(LiveMonitoringTest, LiveSpectraFeedTheLiveChartAndTheLiveSpectrumWindowPageByPage) {
    frame.Charts().LiveSpectra().Create();
    frame.Charts().LiveSpectra().ShowWindow(true);
    view.ShowControl(CKX9MonitorView::IDC_LIVE_CHART, true);
    StartMonitoring("OCTAVE", 2);
    simmeter::LiveRecordStream stream(2, 1);
    for (int record = 0; record < 150; ++record)
        Link().OnReply(stream.Next());
    EXPECT_EQ(frame.Charts().LiveSpectra().Row(), 150);
    EXPECT_EQ(view.m_LiveChart.GetItemCount(), 12);
    EXPECT_FLOAT_EQ(view.m_LiveChart.GetItemLevel(0), stream.Values(149)[0] / 10.0f);

    // The page ends: the window starts again with the new page.
    for (int record = 0; record < 51; ++record)
        Link().OnReply(stream.Next());
    EXPECT_EQ(frame.Charts().LiveSpectra().Row(), 1);
    // A loss hides it until the operator shows it again.
    stream.Skip(5);
    Link().OnReply(stream.Next());
    EXPECT_FALSE(frame.Charts().LiveSpectra().IsWindowVisible());
    EXPECT_TRUE(frame.Boxes().DataLossNotice().IsWindowVisible());
    EXPECT_EQ(frame.Charts().LiveSpectra().Row(), 3);  // the lost spectrum as a row of zeros
}

// The golden transcript of a live monitoring run over the port, from its start to the operator's
// new session that ends it. The meter sends exactly the records the test gives it, with a loss,
// a cut record and an error among them.
TEST_F(LiveMonitoringTest, GoldenTranscriptOfALiveMonitoringRun) {
    // The records' watchdog at the program's own pace, as above.
    const platform::ScopedClockSpeed ownPace{1.0};
    ASSERT_TRUE(StartLevelsOverThePort());

    simmeter::LiveRecordStream stream(0, 1);
    std::string wire;
    for (int record = 0; record < 20; ++record) {
        if (record == 8)
            stream.Skip(3);
        wire += record == 12 ? stream.NextTruncated(15) : stream.Next();
        if (record == 15)
            wire += simmeter::LiveErrorRecord();
    }
    meter.Send(wire);
    // 20 records, one loss row, one error row.
    ASSERT_TRUE(PumpUntil([&] { return frame.Live().Recorder().TotalRecords() == 22; }));
    frame.Session().StartNewSession();

    EXPECT_FALSE(frame.Mode().IsMonitorOn());
    EXPECT_TRUE(golden::MatchesGolden("tests/app/golden/live_monitoring.txt", meter.Transcript()));
}
