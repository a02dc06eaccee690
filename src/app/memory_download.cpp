#include "app/memory_download.h"

#include <algorithm>
#include <vector>

#include "acquisition/dump_decoder.h"
#include "acquisition/dump_file.h"
#include "acquisition/scheduler_run.h"
#include "app/frame_dump_host.h"
#include "app/frame_link_host.h"
#include "app/frame_notices.h"
#include "app/frame_scheduler.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "link/command_codes.h"
#include "link/instr_status.h"
#include "link/link_session.h"
#include "link/reply_router.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/qt_text.h"
#include "platform/text.h"

using namespace command_code;

namespace {

constexpr unsigned kDownloadProgressMs = 500;
// The maker's viewer of dump files is a program of another system: the dump is kept, and the
// operator is told where it is instead of seeing nothing open.
constexpr const char* kViewerMissing =
    "The memory was saved in %s.\nIts viewer \"KX9Viewer.exe\" is a program of another system "
    "and does not exist here.";

// The `width` characters that follow `key`; empty when the key is missing.
std::string TextAfter(const std::string& reply, const char* key, int width) {
    const int at = platform::Find(reply, key);
    if (at < 0)
        return std::string();
    return platform::Mid(reply, at + static_cast<int>(std::string_view(key).size()), width);
}

}  // namespace

MemoryDownload::MemoryDownload(const Uses& uses) : m_uses(uses) {
    ReplyRouter& router = m_uses.link.Router();
    router.Register(kDumpOn,
                    [this](const CCommand&, const std::string& reply) { OnDumpOnReply(reply); });
    router.Register(kDumpClear, [this](const CCommand&, const std::string&) {
        m_uses.notices.Warn("Clear memory successfull.", MB_ICONINFORMATION);
    });
    router.Register(kDumpOff, [this](const CCommand&, const std::string&) { OnDumpOffReply(); });
    m_uses.linkHost.AddTimeOutTaker([this](const CCommand&) { return TakeTimeOut(); });
    m_uses.linkHost.AddLostListener([this](const CCommand& command) { OnCommandLost(command); });
    m_uses.timers.OnExpiry(FrameTimers::kDownloadProgress, [this] { OnDownloadProgressTimer(); });
}

MemoryDownload::~MemoryDownload() {
    m_uses.timers.OnExpiry(FrameTimers::kDownloadProgress, nullptr);
}

void MemoryDownload::OnDumpOnReply(const std::string& reply) {
    LinkSession& link = m_uses.link;
    MeterMode& mode = link.Mode();
    FrameUi& ui = m_uses.ui;
    m_uses.timers.Kill(FrameTimers::kStatusPoll);
    const bool empty = platform::Contains(reply, "MEMORY EMPTY");
    // The decoder counts the files down to the last one.
    const int files = empty ? 0 : platform::Atoi(TextAfter(reply, "Number of files:", 6));
    m_uses.decoder.Start(files, m_uses.current.m_strModel, m_uses.current.m_nExtendedRange != 0);
    if (empty) {
        m_uses.notices.Warn("Instrument memory empty.\nDownloading finished.", MB_ICONINFORMATION);
        if (ui.IsDownloadBoxShown())
            ui.CloseDownloadBox();
        // A scheduler run waits for the download's end: with nothing to keep it ends as a
        // refused download does.
        if (mode.IsSchedulerMode()) {
            mode.OnDumpRefused();
            link.SendCommand(kDumpOff, "", "");
        }
        return;
    }

    const std::string dumpTime = TextAfter(reply, "Dump time:", 8);
    const bool confirmed =
        mode.IsSchedulerMode() ||
        platform::AfxMessageBox(
            platform::Format("File to download: %d.\nDownload Time: %s.\n\nConfirm download ?",
                             files, dumpTime.c_str()),
            MB_YESNO | MB_ICONINFORMATION) == IDYES;
    if (confirmed) {
        m_uses.timers.Set(FrameTimers::kDownloadProgress, kDownloadProgressMs);
        // A plain wait: nothing else runs meanwhile.
        platform::Clock::Sleep(500);
        // Dump mode before the request: the first record may come at once, and it is the
        // decoder's; the listener would take it for a reply to no command.
        if (link.StartDumpDownload())
            return;
        // The meter is held otherwise: the download ends as one the operator refused.
        m_uses.timers.Kill(FrameTimers::kDownloadProgress);
    }
    link.PurgeLink();
    mode.OnDumpRefused();
    link.SendCommand(kDumpOff, "", "");
    if (ui.IsDownloadBoxShown())
        ui.CloseDownloadBox();
}

void MemoryDownload::OnDumpOffReply() {
    LinkSession& link = m_uses.link;
    MeterMode& mode = link.Mode();
    FrameUi& ui = m_uses.ui;
    FrameTimers& timers = m_uses.timers;
    timers.Set(FrameTimers::kStatusPoll, FrameTimers::kStatusPollMs);
    m_uses.dumpFile.Close();
    if (mode.IsSchedulerMode())
        m_uses.scheduler.Run().SetState(acquisition::SchedulerRun::kDownloaded);
    // A refused download has no file to show: it is cleaned up and not announced as complete.
    const bool refused = mode.TakeDumpRefusal();
    if (refused) {
        link.DeleteAllCommands();
        link.PurgeLink();
        timers.Kill(FrameTimers::kDownloadProgress);
        if (ui.IsDownloadBoxShown())
            ui.CloseDownloadBox();
        m_uses.currentFile.clear();
        m_uses.selectedGraph = -1;
    } else {
        m_uses.currentFile =
            platform::JoinPath(m_uses.programFolder, acquisition::DumpFile::kFileName);
        m_uses.selectedGraph = 1;
    }
    timers.Kill(FrameTimers::kDownloadProgress);
    if (ui.IsDownloadBoxShown())
        ui.SetDownloadProgress(100);
    if (!refused) {
        const std::string saved = platform::Format(
            kViewerMissing, platform::SystemNameToText(m_uses.currentFile).c_str());
        if (mode.IsSchedulerMode())
            m_uses.notices.LogScheduler(false, saved, true);
        else
            platform::AfxMessageBox("Download Complete\n\n" + saved, MB_ICONINFORMATION);
    }
    if (ui.IsDownloadBoxShown())
        ui.CloseDownloadBox();
    if (mode.IsSchedulerMode())
        m_uses.scheduler.EndDownloadedRun();
}

void MemoryDownload::EndInterruptedDownload() {
    // The held record and the file's synthetic end go to the dump file; dump mode ends.
    m_uses.decoder.Interrupt();
    m_uses.link.Mode().EndDownload();
    m_uses.link.SendCommand(kDumpOff, "", "");
    m_uses.notices.Warn("Download Interrupted", MB_OK);
    if (m_uses.ui.IsDownloadBoxShown())
        m_uses.ui.CloseDownloadBox();
}

bool MemoryDownload::TakeTimeOut() {
    const MeterMode& mode = m_uses.link.Mode();
    if (mode.IsDownloading()) {
        m_uses.timers.Kill(FrameTimers::kDownloadProgress);
        EndInterruptedDownload();
        return true;
    }
    // A meter that stopped answering before or after its dump would hold the run for ever.
    return EndScheduledDownload();
}

void MemoryDownload::OnCommandLost(const CCommand& command) {
    const std::vector<int> queued = m_uses.link.QueuedCodes();
    const auto isQueued = [&queued](int code) {
        return std::find(queued.begin(), queued.end(), code) != queued.end();
    };
    // Only the download's own steps: with one of them lost nothing left in the queue would
    // begin or end the download, and the run would wait for it for ever.
    const int code = command.GetCode();
    const bool stalled =
        code == kDumpOn || code == kDumpOff ||
        (code == kAcquisitionQuery && !isQueued(kAcquisitionQuery) && !isQueued(kDumpOn));
    if (stalled)
        EndScheduledDownload();
}

bool MemoryDownload::EndScheduledDownload() {
    acquisition::SchedulerRun& run = m_uses.scheduler.Run();
    if (!m_uses.link.Mode().IsSchedulerMode() ||
        run.State() != acquisition::SchedulerRun::kDownloading)
        return false;
    run.SetState(acquisition::SchedulerRun::kDownloaded);
    m_uses.dumpFile.Close();
    if (m_uses.ui.IsDownloadBoxShown())
        m_uses.ui.CloseDownloadBox();
    m_uses.scheduler.EndDownloadedRun();
    return true;
}

void MemoryDownload::OnDownloadProgressTimer() {
    FrameUi& ui = m_uses.ui;
    const DownloadProgress& progress = m_uses.progress;
    if (m_uses.link.Mode().IsDownloading()) {
        if (ui.IsMinimized())
            ui.SetTitle(platform::Format("Download progress: file %d - line %d", progress.file,
                                         progress.line));
        else
            ui.SetTitle(NormalFrameTitle(m_uses.current));
    }
    if (ui.IsDownloadBoxShown()) {
        if (ui.StepDownloadProgress() >= 120)
            ui.SetDownloadProgress(0);
        ui.SetDownloadFields(platform::Format("%d", progress.file),
                             platform::Format("%d", progress.line));
    }
}
