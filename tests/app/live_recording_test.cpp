// The live recording on its own, built with what it uses as the frame builds it: the report
// list cut back after each page, the page files it keeps without a view, and the trim job that
// goes with it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "acquisition/loose_data_dlg.h"
#include "acquisition/record_file.h"
#include "acquisition/recording.h"
#include "app/chart_windows.h"
#include "app/frame_notices.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/live_recording.h"
#include "app/main_frame.h"
#include "app/view_page_list.h"
#include "link/link_reply_state.h"
#include "link/meter_mode.h"
#include "live_records.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "records/record_layout.h"
#include "support/record_kinds.h"
#include "support/test_env.h"

namespace {

// Trims the view's report list when it has one, and counts the ticks that asked.
class TrimUi : public FrameUi {
public:
    bool TrimReportList(int lastKeptRow, int rows) override {
        ++ticks;
        return !view || view->TrimReportList(lastKeptRow, rows);
    }
    void SetReportTrimFinished() override { finished = true; }

    CKX9MonitorView* view = nullptr;
    int ticks = 0;
    bool finished = false;
};

class LiveRecordingTest : public ::testing::Test {
protected:
    static constexpr int kPageSize = 3;

    LiveRecordingTest() {
        platform::Clock::SetFixedNow(platform::DateTime::FromParts(2024, 3, 9, 14, 0, 0).Seconds());
        app.m_strProgramDir = folder.Path();
        app.m_InstrStatus.m_strModel = "QS4160_L0$1";
        app.m_InstrStatus.m_strDate = "Instr.Date: 2024/03/09";
        app.m_InstrStatus.m_strTime = "Instr.Time: 14:00:00";
        app.m_InstrStatus.m_strProfileSpectrumTime = "1s";
        app.m_nPagingSize = kPageSize;
    }
    ~LiveRecordingTest() override { platform::Clock::SetFixedNow(std::nullopt); }

    // A live recording whose index and first page file are open, as a run's start leaves them.
    std::unique_ptr<LiveRecording> Start() {
        auto live = std::make_unique<LiveRecording>(LiveRecording::Uses{
            .pages = pages,
            .recordFile = file,
            .recording = recording,
            .mode = mode,
            .setupBlock = block,
            .timers = timers,
            .ui = ui,
            .notices = notices,
            .lossNotice = lossNotice,
            .liveSpectra = frame.Charts().LiveSpectra(),
            .views = frame.Views(),
            .recordFolder = app.m_strProgramDir,
        });
        folder.Write(records::kRecordIndexName, records::IndexFileText({"RecFile_first.rec"}));
        EXPECT_TRUE(file.Create(folder.File("RecFile_first.rec")));
        live->Recorder().BeginRecording();
        return live;
    }
    void Feed(LiveRecording& live, int records) {
        for (int record = 0; record < records; ++record)
            live.Recorder().ProcessRecord(testkinds::kOctave, stream.Next());
    }

    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    CKX9MonitorApp app;
    CMainFrame frame;
    ViewPageList pages{frame.Views()};
    acquisition::RecordFile file;
    acquisition::Recording recording;
    LinkReplyState listeners;
    MeterMode mode{listeners};
    records::SetupBlock block;
    FrameTimers timers;
    TrimUi ui;
    FrameNotices notices{mode, app.m_strProgramDir};
    acquisition::CLooseDataDlg lossNotice;
    simmeter::LiveRecordStream stream{2, 1};
};

}  // namespace

TEST_F(LiveRecordingTest, APageEndCutsTheReportListBackToTheNewPageAndStopsItsTimer) {
    CKX9MonitorView view;
    view.OnInitialUpdate();
    ui.view = &view;
    const std::unique_ptr<LiveRecording> live = Start();

    Feed(*live, kPageSize + 2);
    ASSERT_TRUE(timers.IsSet(FrameTimers::kReportTrim));
    EXPECT_EQ(view.m_ReportList.GetItemCount(),
              2 + acquisition::LiveRecorder::kEmptyRowsAtPageEnd + kPageSize);
    EXPECT_EQ(view.m_PageList.GetItemText(0, 0), "CURR PAGE");

    while (timers.IsSet(FrameTimers::kReportTrim) && ui.ticks < 10)
        timers.Expire(FrameTimers::kReportTrim);
    EXPECT_FALSE(timers.IsSet(FrameTimers::kReportTrim));
    EXPECT_TRUE(ui.finished);
    EXPECT_EQ(live->Recorder().RowCounter(), 2);
    EXPECT_EQ(view.m_ReportList.GetItemCount(), 2 + 1);
}

TEST_F(LiveRecordingTest, WithoutAViewThePagesAreStillWrittenAndTheTrimJobGoesWithTheRecording) {
    std::unique_ptr<LiveRecording> live = Start();

    Feed(*live, kPageSize + 1);
    EXPECT_EQ(folder.Read(records::kRecordIndexName),
              records::IndexFileText({"RecFile_first.rec", "RecFile_20240309_140000.rec"}));
    EXPECT_EQ(live->Recorder().PageNumber(), 1);
    ASSERT_TRUE(timers.IsSet(FrameTimers::kReportTrim));

    live.reset();
    timers.Expire(FrameTimers::kReportTrim);
    EXPECT_EQ(ui.ticks, 0);
}
