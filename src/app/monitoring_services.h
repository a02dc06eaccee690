#pragma once
// What the frame hands to the data-acquisition side: the live record processors and their
// state, the monitoring options, the "Save on File" window, the acquisition scheduler's window
// and log. Each does nothing until that side installs itself
// (CMainFrame::SetMonitoring).

#include <string>

#include "platform/date_time.h"
#include "platform/win_types.h"

class CMainFrame;

class MonitoringServices {
public:
    virtual ~MonitoringServices() = default;

    // A live record as the meter sent it (ETX included), by channel mode.
    virtual void ProcessMonitorRecordMode0(CMainFrame& /*frame*/, const std::string& /*record*/) {}
    virtual void ProcessMonitorRecordMode1(CMainFrame& /*frame*/, const std::string& /*record*/) {}
    virtual void ProcessMonitorRecordMode2(CMainFrame& /*frame*/, const std::string& /*record*/) {}
    virtual void ProcessMonitorRecordMode3(CMainFrame& /*frame*/, const std::string& /*record*/) {}
    // The monitoring options dialog (CSelCHMonitorDlg), modal.
    virtual void ShowMonitoringOptions(CMainFrame& /*frame*/) {}
    // A new session: the live-record processors' counters and markers become 0 (outside
    // scheduler mode one more marker too) and the selected segment the last one.
    virtual void ResetLiveRecordState(CMainFrame& /*frame*/, BOOL /*schedulerMode*/) {}
    // "Save on File" (CSelFileToSaveDlg), modal; false when the operator cancelled it.
    virtual bool RunSaveDialog(CMainFrame& /*frame*/) { return true; }

    // The scheduler window (CSchedulerDlg).
    virtual bool IsPowerOffAfterDownload() const { return false; }
    // False when the schedule has no start and stop times.
    virtual bool HasScheduleTimes() const { return false; }
    virtual platform::DateTime ScheduleStartTime() const { return {}; }
    virtual platform::DateTime ScheduleStopTime() const { return {}; }
    virtual void SetSchedulerStartTimeText(const std::string& /*text*/) {}
    virtual void OpenSchedulerFile() {}
    // The end of a scheduled download: the schedule controls and OK enabled, Cancel disabled.
    virtual void EnableScheduleControls() {}
    // "Confirm Calibration": 0 "Cal. always", 1 "Cal. if error exceeds", and that threshold.
    virtual int SchedulerConfirmMode() const { return 0; }
    virtual std::string SchedulerCalibrationThreshold() const { return std::string(); }

    // A line just written to the scheduler log, as written: a row of the scheduler window's
    // log list while that window exists.
    virtual void AddSchedulerLogRow(const std::string& /*line*/) {}
};
