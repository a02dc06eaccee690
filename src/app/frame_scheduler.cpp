#include "app/frame_scheduler.h"

#include "app/frame_link_host.h"
#include "app/frame_notices.h"
#include "app/kx9monitor_app.h"
#include "app/monitoring_session.h"
#include "link/command.h"
#include "link/command_codes.h"
#include "link/link_session.h"
#include "link/reply_router.h"

namespace {
constexpr int kElectricCalibrationRoutine = 0;
constexpr const char* kRunLeftoversDropped = "Data received after the end of the run discarded.";
}  // namespace

FrameScheduler::FrameScheduler(const Uses& uses)
    : m_link(uses.link),
      m_notices(uses.notices),
      m_host({
          .link = uses.link,
          .ui = uses.ui,
          .boxes = uses.boxes,
          .views = uses.views,
          .session = uses.session,
          .bench = uses.bench,
          .charts = uses.charts,
          .dataFiles = uses.dataFiles,
      }),
      m_window({
          .host = m_host,
          .link = uses.link,
          .run = m_run,
          .session = uses.session,
          .notices = uses.notices,
          .current = TheApp().m_InstrStatus,
          .edited = TheApp().m_EditStatus,
          .referencePort = TheApp().m_RefPort,
          .modemLink = TheApp().m_bModemLink,
          .programFolder = TheApp().m_strProgramDir,
          .liveFile = uses.recordFile,
          .liveTimebase = uses.liveTimebase,
      }),
      m_runHost(uses.timers, uses.charts),
      m_connection({
          .link = uses.link,
          .boxes = uses.boxes,
          .ui = uses.ui,
          .notices = uses.notices,
          .run = m_run,
          .views = uses.views,
      }),
      m_run({
          .host = m_runHost,
          .clock = uses.clock ? *uses.clock : m_ownClock,
          .link = uses.link,
          .connector = m_connection,
          .session = uses.session,
          .calibration = *this,
          .window = m_window,
          .notices = uses.notices,
          .records = uses.liveRecords,
          .liveFile = uses.recordFile,
          .current = TheApp().m_InstrStatus,
          .edited = TheApp().m_EditStatus,
      }),
      m_calibrationHost(uses.notices, m_window, m_run),
      m_electricCalibration(m_calibrationHost, uses.link.Sender(), uses.link.Mode()) {
    // Each line of the scheduler log is also one of the window's log list.
    m_notices.SetLogLineListener([this](const std::string& line) { m_window.AddLogRow(line); });
    // A reply to nothing after a run ended: dropped, the first one logged.
    m_link.Router().SetStrayTaker([this](const std::string&) {
        acquisition::RunLeftovers& leftovers = m_run.Leftovers();
        if (!leftovers.IsDraining())
            return false;
        if (leftovers.Take() == 1)
            m_notices.LogScheduler(false, kRunLeftoversDropped, true);
        return true;
    });
    // Outside scheduler mode, where the log says it otherwise, a refused calibration is one
    // that failed.
    uses.linkHost.AddGivenUpTaker([this](const CCommand& command, bool) {
        if (command.GetCode() != command_code::kStartCalibrationKey ||
            m_link.Mode().IsSchedulerMode())
            return false;
        m_notices.LogScheduler(false, "WARNING: Calibration Failed", true);
        m_run.SetState(acquisition::SchedulerRun::kCalibrated);
        return true;
    });
}

FrameScheduler::~FrameScheduler() {
    m_notices.SetLogLineListener(nullptr);
}

void FrameScheduler::EndDownloadedRun() {
    m_link.Mode().EndLive();
    if (m_window.IsPowerOffAfterDownload()) {
        m_link.WriteCommand(command_code::kPowerOff);
        m_notices.LogScheduler(false, "Instr. Power Off", true);
    }
    m_window.ShowRunResult();
    m_window.EnableScheduleControls();
    m_run.StopMonitoring();
    m_run.Stop();
    m_notices.LogScheduler(false, "End Scheduler", true);
    m_window.EndRun();
}

void FrameScheduler::OpenElectricCalibration(int routine) {
    m_link.Mode().EndDisplayCheck();
    m_electricCalibration.Open(routine);
}

void FrameScheduler::StartElectricCalibration() {
    // Refused while the meter is held otherwise: the run's watchdog then ends the calibration
    // as one that never answered.
    if (!m_link.Mode().BeginElectricCalibration())
        return;
    OpenElectricCalibration(kElectricCalibrationRoutine);
    m_link.SendCommand(command_code::kAcquisitionQuery, "", "");
    m_link.SendCommand(command_code::kDisplayQuery, "", "");
}

void FrameScheduler::CloseElectricCalibration() {
    m_electricCalibration.DestroyWindow();
}
