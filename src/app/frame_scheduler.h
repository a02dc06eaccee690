#pragma once
// The acquisition scheduler on the frame: its window, the run of the window's plan, the
// scheduler log, and what a run leaves behind (records and answers still on their way when it
// ended). The run connects the link with the connect routines (MeterConnection), which are
// the scheduler's.

#include <string>

#include "acquisition/scheduler_dlg.h"
#include "acquisition/scheduler_run.h"
#include "app/frame_calibration_host.h"
#include "app/frame_scheduler_host.h"
#include "app/frame_scheduler_run_host.h"
#include "app/meter_connection.h"
#include "link/link_clock.h"
#include "maintenance/electric_calibration_dlg.h"
#include "platform/win_types.h"

class CMainFrame;

class FrameScheduler {
public:
    // `clock` (not owned; nullptr: the program's clock) times the run's waits.
    FrameScheduler(CMainFrame& frame, LinkClock* clock);
    ~FrameScheduler();
    FrameScheduler(const FrameScheduler&) = delete;
    FrameScheduler& operator=(const FrameScheduler&) = delete;

    acquisition::CSchedulerDlg& Window() { return m_window; }
    acquisition::SchedulerRun& Run() { return m_run; }
    // Begun when a run ends; the link's next opening ends it.
    acquisition::RunLeftovers& Leftovers() { return m_run.Leftovers(); }
    MeterConnection& Connection() { return m_connection; }

    // The window of the meter's guided programs, which a run's electric calibration opens.
    CElectricCalibrationDlg& ElectricCalibration() { return m_electricCalibration; }
    // The window created on first use, `routine` started afresh, shown. The routine reads the
    // meter's screens itself, so the display-state check that answers a program's screens
    // with key presses is switched off.
    void OpenElectricCalibration(int routine);
    // A run's electric calibration: its window, and the states it starts from queued.
    void StartElectricCalibration();

    // The main view emptied of the last run's data.
    void ResetView();
    // The run's file "Scheduler.kr9" opened in the main view.
    void OpenFile();
    // A run ended: its record index copied to "Scheduler.kr9", which the main view then shows.
    void ShowResult();

private:
    CMainFrame& m_frame;
    FrameSchedulerHost m_host;
    acquisition::CSchedulerDlg m_window;
    FrameSchedulerRunHost m_runHost;
    ProgramLinkClock m_ownClock;
    acquisition::SchedulerRun m_run;
    MeterConnection m_connection;
    FrameCalibrationHost m_calibrationHost;
    CElectricCalibrationDlg m_electricCalibration;
};
