// The replies that start a live recording's files, with the monitoring options they follow,
// and that begin and end a download of the meter's memory, registered with the link's router.
// The dump itself is read and decoded by the data-acquisition side on the listener thread while
// the mode downloads.

#include "acquisition/data_set.h"
#include "acquisition/sel_ch_monitor_dlg.h"
#include "app/frame_scheduler.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/live_recording.h"
#include "app/main_frame.h"
#include "link/command_codes.h"
#include "link/reply_router.h"
#include "link/state_replies.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace {

using records::SetupBlock;
using namespace command_code;

constexpr unsigned kDownloadProgressMs = 500;
// The maker's viewer of dump files is a program of another system: the dump is kept, and the
// operator is told where it is instead of seeing nothing open.
constexpr const char* kViewerMissing =
    "The memory was saved in %s.\nIts viewer \"KX9Viewer.exe\" is a program of another system "
    "and does not exist here.";

std::string IndexPath() {
    return TheApp().ProgramPath(std::string("\\") + records::kRecordIndexName);
}

// The `width` characters that follow `key`; empty when the key is missing.
std::string TextAfter(const std::string& reply, const char* key, int width) {
    const int at = platform::Find(reply, key);
    if (at < 0)
        return std::string();
    return platform::Mid(reply, at + static_cast<int>(std::string_view(key).size()), width);
}

}  // namespace

void CMainFrame::RegisterRecordingReplies(ReplyRouter& router) {
    router.Register(kRecordFileStart,
                    [this](const CCommand&, const std::string& reply) { StartRecordFile(reply); });
    router.Register(kDumpOn,
                    [this](const CCommand&, const std::string& reply) { OnDumpOnReply(reply); });
    router.Register(kDumpClear, [this](const CCommand&, const std::string&) {
        m_notices.Warn("Clear memory successfull.", MB_ICONINFORMATION);
    });
    router.Register(kDumpOff, [this](const CCommand&, const std::string&) { OnDumpOffReply(); });
}

void CMainFrame::StartRecordFile(const std::string& reply) {
    if (reply.size() >= kMonitorReplyMinimum)
        m_SetupBlock.SetField(SetupBlock::kAcquisitionMode,
                              platform::TrimRight(platform::Mid(reply, kMonitorValueOffset)));
    // The pages are read back at the size they are written with, the first one included.
    const auto kind =
        records::RecordKind::OfModeText(m_SetupBlock.Text(SetupBlock::kAcquisitionMode));
    m_SetupBlock.SetField(SetupBlock::kPagingSize,
                          platform::Format("%.11lld", m_live->Recorder().PageSize(kind)));
    if (Mode().IsSchedulerMode() && !m_scheduler->Run().IsFirstAcquisition()) {
        m_scheduler->Run().SetState(acquisition::SchedulerRun::kSwitchMonitorOn);
        return;
    }
    m_scheduler->Run().ClearFirstAcquisition();

    CKX9MonitorApp& app = TheApp();
    const platform::DateTime now = platform::DateTime::Now();
    const std::string pageName = records::RecordPageName(now.Format(records::kPageNameStampFormat));
    const std::string indexPath = IndexPath();
    const std::string pagePath = app.ProgramPath("\\" + pageName);
    if (!platform::WriteFileAtomic(indexPath, records::IndexFileText({pageName})))
        m_notices.Warn(
            platform::Format("ERROR: Unable to create the record file %s", indexPath.c_str()),
            MB_ICONSTOP);
    else if (!m_RecFile.Create(pagePath))
        m_notices.Warn(
            platform::Format("ERROR: Unable to create the record file %s", pagePath.c_str()),
            MB_ICONSTOP);

    // 20 characters, the trailing blank included: the page's start time as the files keep it.
    const std::string startTime = now.Format(records::kPageStartFormat);
    m_SetupBlock.SetField(SetupBlock::kDate, platform::Left(startTime, SetupBlock::kFieldSize));
    m_SetupBlock.SetField(SetupBlock::kTime,
                          platform::Mid(startTime, SetupBlock::kFieldSize, SetupBlock::kFieldSize));
    m_strPageTime = startTime;
    if (Mode().IsSchedulerMode())
        m_scheduler->Window().SetStartTimeText(startTime);
    if (CKX9MonitorView* view = app.m_pView)
        view->m_strPageStartTime = startTime;
    Ui().AppendPageListRow("CURR. PAGE", 0);
    Ui().AppendPageListRow(startTime, -1);
    Ui().ScrollPageListToEnd();
    m_recording.SetLoadedFromFile(false);
    m_recording.Time().SetSegments({0}, {"0#" + startTime});

    // The lengths of the run's acquisitions and repetitions, which time the recording's samples.
    const bool scheduled =
        Mode().IsSchedulerMode() && m_scheduler->Window().AcquisitionTime().IsValid();
    m_RecFile.Write(records::PageFileHead(
        m_SetupBlock, scheduled ? m_scheduler->Window().AcquisitionTime() : records::ScheduleTime{},
        scheduled ? m_scheduler->Window().RepetitionTime() : records::ScheduleTime{}, startTime));
    m_live->Recorder().BeginRecording();
    if (Mode().IsSchedulerMode())
        m_scheduler->Run().SetState(acquisition::SchedulerRun::kSwitchMonitorOn);
    Ui().RefreshSetupDisplay();
}

void CMainFrame::OnDumpOnReply(const std::string& reply) {
    m_timers.Kill(FrameTimers::kStatusPoll);
    const bool empty = platform::Contains(reply, "MEMORY EMPTY");
    // The decoder counts the files down to the last one.
    const int files = empty ? 0 : platform::Atoi(TextAfter(reply, "Number of files:", 6));
    m_dumpDecoder.Start(files, Current().m_strModel, Current().m_nExtendedRange != 0);
    if (empty) {
        m_notices.Warn("Instrument memory empty.\nDownloading finished.", MB_ICONINFORMATION);
        if (Ui().IsDownloadBoxShown())
            Ui().CloseDownloadBox();
        // A scheduler run waits for the download's end: with nothing to keep it ends as a
        // refused download does.
        if (Mode().IsSchedulerMode()) {
            Mode().OnDumpRefused();
            SendCommand(kDumpOff, "", "");
        }
        return;
    }

    const std::string dumpTime = TextAfter(reply, "Dump time:", 8);
    const bool confirmed =
        Mode().IsSchedulerMode() ||
        platform::AfxMessageBox(
            platform::Format("File to download: %d.\nDownload Time: %s.\n\nConfirm download ?",
                             files, dumpTime.c_str()),
            MB_YESNO | MB_ICONINFORMATION) == IDYES;
    if (confirmed) {
        m_timers.Set(FrameTimers::kDownloadProgress, kDownloadProgressMs);
        Wait(500);
        // Dump mode before the request: the first record may come at once, and it is the
        // decoder's; the listener would take it for a reply to no command.
        if (m_link.StartDumpDownload())
            return;
        // The meter is held otherwise: the download ends as one the operator refused.
        m_timers.Kill(FrameTimers::kDownloadProgress);
    }
    m_link.PurgeLink();
    Mode().OnDumpRefused();
    SendCommand(kDumpOff, "", "");
    if (Ui().IsDownloadBoxShown())
        Ui().CloseDownloadBox();
}

void CMainFrame::OnDumpOffReply() {
    CKX9MonitorApp& app = TheApp();
    m_timers.Set(FrameTimers::kStatusPoll, FrameTimers::kStatusPollMs);
    app.m_DumpFile.Close();
    if (Mode().IsSchedulerMode())
        m_scheduler->Run().SetState(acquisition::SchedulerRun::kDownloaded);
    // A refused download has no file to show: it is cleaned up and not announced as complete.
    const bool refused = Mode().TakeDumpRefusal();
    if (refused) {
        m_link.DeleteAllCommands();
        m_link.PurgeLink();
        m_timers.Kill(FrameTimers::kDownloadProgress);
        if (Ui().IsDownloadBoxShown())
            Ui().CloseDownloadBox();
        app.m_strCurrentFile.clear();
        app.m_nSelectedGraph = -1;
    } else {
        app.m_strCurrentFile = app.ProgramPath(acquisition::DumpFile::kFileName);
        app.m_nSelectedGraph = 1;
    }
    m_timers.Kill(FrameTimers::kDownloadProgress);
    if (Ui().IsDownloadBoxShown())
        Ui().SetDownloadProgress(100);
    if (!refused) {
        const std::string saved = platform::Format(kViewerMissing, app.m_strCurrentFile.c_str());
        if (Mode().IsSchedulerMode())
            m_notices.LogScheduler(false, saved, true);
        else
            platform::AfxMessageBox("Download Complete\n\n" + saved, MB_ICONINFORMATION);
    }
    if (Ui().IsDownloadBoxShown())
        Ui().CloseDownloadBox();
    if (Mode().IsSchedulerMode())
        EndScheduledDownload();
}

void CMainFrame::EndScheduledDownload() {
    Mode().EndLive();
    if (m_scheduler->Window().IsPowerOffAfterDownload()) {
        m_link.WriteCommand(kPowerOff);
        m_notices.LogScheduler(false, "Instr. Power Off", true);
    }
    m_scheduler->ShowResult();
    m_scheduler->Window().EnableScheduleControls();
    m_scheduler->Run().StopMonitoring();
    m_scheduler->Run().Stop();
    m_notices.LogScheduler(false, "End Scheduler", true);
    m_scheduler->Window().EndRun();
}

void CMainFrame::ShowMonitoringOptions() {
    CKX9MonitorApp& app = TheApp();
    acquisition::CSelCHMonitorDlg dialog(Mode().ChannelMode(), app.m_nPagingSize);
    if (dialog.DoModal() != IDOK)
        return;
    app.m_nPagingSize = dialog.PageSize();
    m_SetupBlock.SetField(SetupBlock::kPagingSize, platform::Format("%.11d", app.m_nPagingSize));
}
