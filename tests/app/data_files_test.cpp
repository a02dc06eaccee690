// Data files in the program: a recording opened from the command line or the page list fills
// the view's lists, the frame's setup and the recording's timebase, its labels reach the
// audio-label window and are saved again, and the scheduler log is written to its file.
#include <gtest/gtest.h>

#include "acquisition/scheduler_log.h"
#include "app/frame_boxes.h"
#include "app/frame_data_files.h"
#include "app/frame_notices.h"
#include "app/frame_scheduler.h"
#include "app/frame_ui.h"
#include "graph/graph_host.h"
#include "records/record_layout.h"
#include "support/record_kinds.h"
#include "view_test_support.h"

using namespace viewtest;
using records::SetupBlock;

namespace {

// A page file of octave spectra: its setup, then one page of `spectra` records whose band
// levels are 10 x (first + record).
std::string OctavePageFile(const std::string& start, int spectra, int first,
                           const std::string& pageSize, const std::string& acquisition,
                           const std::string& repetition) {
    SetupBlock block;
    block.SetField(SetupBlock::kModel, "QS4160_L0$1");
    block.SetField(SetupBlock::kAcquisitionMode, "OCTAVE");
    block.SetField(SetupBlock::kPagingSize, pageSize);
    block.SetField(SetupBlock::kSpectrumTime, "1s");
    block.SetField(SetupBlock::kSlm1Param + 6, "LAeq");
    std::string file(block.Bytes().substr(0, records::kAcquisitionTimeOffset));
    file += acquisition + repetition + start;
    for (int record = 0; record < spectra; ++record) {
        const std::vector<std::uint16_t> levels(12,
                                                static_cast<std::uint16_t>(10 * (first + record)));
        file += records::EncodeRecord(records::PackTimeWord(0, 0, record), levels);
    }
    return file;
}

class DataFilesTest : public ViewTest {
protected:
    DataFilesTest() { view.OnInitialUpdate(); }
};

}  // namespace

TEST_F(DataFilesTest, AScheduledRecordingOpensWithItsPagesButLeavesTheLinkAlone) {
    folder.Write("mon_p0.rec",
                 OctavePageFile("2024/03/09 14:05:07 ", 3, 0, "3", "00:01:00", "00:10:00"));
    folder.Write("mon_p1.rec",
                 OctavePageFile("2024/03/09 14:05:10 ", 2, 3, "3", "00:01:00", "00:10:00"));
    folder.Write("mon.kr9", "INDEX FILE\r\nmon_p0.rec\r\nmon_p1.rec\r\n");
    frame.DataFiles().Reader().OpenSessionFile(folder.File("mon.kr9"));

    EXPECT_EQ(frame.Ui().GetTitle(), "KX9Monitor  -  " + folder.File("mon.kr9"));
    EXPECT_EQ(app.m_strCurrentFile, folder.File("mon.kr9"));
    EXPECT_EQ(app.m_bDataLoaded, 1);
    EXPECT_EQ(frame.Mode().ChannelMode(), testkinds::kOctave);
    EXPECT_EQ(app.m_nPagingSize, 3);
    EXPECT_EQ(app.m_InstrStatus.m_strModel, "QS4160_L0$1");
    EXPECT_EQ(view.m_PageList.GetItemCount(), 4);
    EXPECT_EQ(view.m_PageList.GetItemText(2, 0), "PAGE 1");
    EXPECT_EQ(view.m_PageList.GetSelectedRow(), 0);
    EXPECT_EQ(view.m_strPageStartTime, "2024/03/09 14:05:07 ");
    EXPECT_EQ(view.m_DataList.GetColumnCount(), 14);  // time, 11 bands, overall, status
    ASSERT_EQ(view.m_DataList.GetItemCount(), 3);
    EXPECT_EQ(view.m_DataList.GetItemText(2, 0), "00:00:02");
    EXPECT_EQ(view.m_DataList.GetItemText(2, 5), "2.0");
    EXPECT_TRUE(view.IsControlVisible(CKX9MonitorView::IDC_DATA_LIST));
    EXPECT_TRUE(view.IsControlVisible(CKX9MonitorView::IDC_PAGE_LIST));
    EXPECT_FALSE(view.IsControlVisible(CKX9MonitorView::IDC_REPORT_LIST));
    EXPECT_TRUE(frame.DataFiles().Navigator().IsWindowVisible());
    EXPECT_EQ(frame.DataFiles().Navigator().SpectrumCount(), 3);
    EXPECT_EQ(frame.m_SetupBlock.Text(SetupBlock::kAcquisitionMode), "OCTAVE");

    // The file's schedule times its samples; the link stays out of scheduler mode.
    EXPECT_FALSE(frame.Mode().IsSchedulerMode());
    EXPECT_TRUE(frame.m_recording.IsScheduled());
    EXPECT_EQ(view.DataListRowImage(0), 3);
    EXPECT_TRUE(frame.Boxes().SchedulerLogViewer().IsWindowVisible());
    EXPECT_EQ(frame.Boxes().SchedulerLogViewer().m_strText, folder.File("mon.kr9"));
    frame.m_recording.SetAbsoluteTimes(true);
    EXPECT_EQ(view.m_DataList.GetItemText(2, 0), "2024/03/09 14:05:09");

    // The second page, picked in the page list.
    view.m_PageList.SetAllRowStates(ui::RVS_ALL, ui::RVS_UNSELECTED);
    view.m_PageList.SetRowStates(2, ui::RVS_SELECTED);
    view.OnClickList1602();
    ASSERT_EQ(view.m_DataList.GetItemCount(), 2);
    EXPECT_EQ(view.m_DataList.GetItemText(1, 1), "4.0");
}

TEST_F(DataFilesTest, APageSizeTheDataBufferCannotHoldIsRefusedWithAMessage) {
    folder.Write("huge.kr9", OctavePageFile("2024/03/09 14:05:07 ", 1, 0, "99999999999", "NO SCHED",
                                            "NO SCHED"));
    op.ExpectBox("ERROR: Page size not valid (99999999999 samples).");
    frame.DataFiles().Reader().OpenSessionFile(folder.File("huge.kr9"));
    EXPECT_EQ(view.m_DataList.GetItemCount(), 0);
    EXPECT_EQ(view.m_PageList.GetItemCount(), 0);
}

TEST_F(DataFilesTest, LabelsComeWithTheirPageAndGoBackToTheLabelFile) {
    folder.Write("mon.kr9",
                 OctavePageFile("2024/03/09 14:05:07 ", 2, 0, "2", "NO SCHED", "NO SCHED"));
    folder.Write("mon.lbl", "0#OCTAVE#x#y#door#\r\r\n");
    frame.DataFiles().Reader().OpenSessionFile(folder.File("mon.kr9"));
    EXPECT_EQ(app.m_GraphMarks.labels, std::vector<std::string>{"0#OCTAVE#x#y#door#"});
    EXPECT_TRUE(frame.DataFiles().AudioLabels().HasWindow());
    EXPECT_FALSE(frame.DataFiles().AudioLabels().IsWindowVisible());

    // A label with a recording makes the window show; the file follows the table.
    graph::GraphHost& host = *view.GraphWindow(ViewGraph::Data)->Host();
    app.m_GraphMarks.currentRecord = 0;
    app.m_GraphMarks.labels.push_back("0#OCTAVE#x#y#voice#Audio_0");
    host.OnLabelAdded(true);
    EXPECT_EQ(folder.Read("mon.lbl"), "0#OCTAVE#x#y#door#\r\r\n0#OCTAVE#x#y#voice#Audio_0\r\r\n");
    EXPECT_TRUE(frame.DataFiles().AudioLabels().IsWindowVisible());
    EXPECT_EQ(frame.DataFiles().AudioLabels().Rows().size(), 2u);

    host.ClearLabels();
    ASSERT_TRUE(frame.DataFiles().AudioLabels().RemoveRow(0));
    EXPECT_EQ(folder.Read("mon.lbl"), "0#OCTAVE#x#y#voice#Audio_0\r\r\n");
}

TEST_F(DataFilesTest, TheSchedulerLogGoesToItsFile) {
    frame.Notices().LogScheduler(true, "Scheduler Activated", false);
    frame.Notices().LogScheduler(false, "End Scheduler", false);
    EXPECT_EQ(folder.Read(acquisition::SchedulerLog::kLogName),
              "Scheduler Activated\r\r\nEnd Scheduler\r\r\n");
}
