#pragma once
// The acquisition scheduler: its window, the run of the window's plan, the connect routines
// the run connects the link with (MeterConnection), and the window of the meter's guided
// programs that a run's electric calibration opens. It is built with the link session and its
// host, the frame's timers, status bar, notices and boxes, the views, the session operations,
// the bench, the chart windows, the data files and the live recording; the scheduler log's
// lines go to its window, and what the meter still sends after a run's stop is dropped here.

#include "acquisition/run_calibration.h"
#include "acquisition/scheduler_dlg.h"
#include "acquisition/scheduler_run.h"
#include "app/frame_calibration_host.h"
#include "app/frame_scheduler_host.h"
#include "app/frame_scheduler_run_host.h"
#include "app/meter_connection.h"
#include "link/link_clock.h"
#include "maintenance/electric_calibration_dlg.h"

class ChartWindows;
class FrameBench;
class FrameBoxes;
class FrameDataFiles;
class FrameLinkHost;
class FrameNotices;
class FrameTimers;
class FrameUi;
class LinkSession;
class MonitoringSession;
class ViewLookup;
namespace acquisition {
class LiveRecordSink;
class RecordFile;
class Timebase;
}  // namespace acquisition

class FrameScheduler : public acquisition::RunCalibration {
public:
    // What the scheduler uses, none of it owned.
    struct Uses {
        LinkSession& link;
        // A run's calibration that the meter refused moves the run on.
        FrameLinkHost& linkHost;
        FrameTimers& timers;
        FrameUi& ui;
        // The boxes, or the scheduler log in scheduler mode; its lines go to the window.
        FrameNotices& notices;
        // The connecting box and the meter's status box.
        FrameBoxes& boxes;
        const ViewLookup& views;
        MonitoringSession& session;
        // The bench window, shown for a run that records audio.
        FrameBench& bench;
        // The graph legend and the live spectra.
        ChartWindows& charts;
        FrameDataFiles& dataFiles;
        // The live recording: where a run's placeholders for missed records go, its page file
        // and its timebase.
        acquisition::LiveRecordSink& liveRecords;
        acquisition::RecordFile& recordFile;
        acquisition::Timebase& liveTimebase;
        // Times the run's waits; nullptr: the program's clock.
        LinkClock* clock = nullptr;
    };

    explicit FrameScheduler(const Uses& uses);
    ~FrameScheduler() override;
    FrameScheduler(const FrameScheduler&) = delete;
    FrameScheduler& operator=(const FrameScheduler&) = delete;

    acquisition::CSchedulerDlg& Window() { return m_window; }
    acquisition::SchedulerRun& Run() { return m_run; }
    MeterConnection& Connection() { return m_connection; }

    // The window of the meter's guided programs, which a run's electric calibration opens.
    CElectricCalibrationDlg& ElectricCalibration() { return m_electricCalibration; }
    // The window created on first use, `routine` started afresh, shown. The routine reads the
    // meter's screens itself, so the display-state check that answers a program's screens
    // with key presses is switched off.
    void OpenElectricCalibration(int routine);
    // A run's electric calibration: its window, and the states it starts from queued.
    void StartElectricCalibration() override;
    void CloseElectricCalibration() override;

    // A run's end after its download: the live run over, the meter switched off when the
    // window asks it, the run's record index copied to "Scheduler.kr9", which the main view
    // then shows, the run stopped and its log's last line.
    void EndDownloadedRun();

private:
    LinkSession& m_link;
    FrameNotices& m_notices;
    FrameSchedulerHost m_host;
    acquisition::CSchedulerDlg m_window;
    FrameSchedulerRunHost m_runHost;
    ProgramLinkClock m_ownClock;
    // Before the run, which connects through it.
    MeterConnection m_connection;
    acquisition::SchedulerRun m_run;
    FrameCalibrationHost m_calibrationHost;
    CElectricCalibrationDlg m_electricCalibration;
};
