#pragma once
// What the frame hands to the acquisition scheduler: its window, its run's state and its log
// list. Each does nothing until the scheduler installs itself (CMainFrame::SetMonitoring).

#include <string>

#include "platform/date_time.h"

class MonitoringServices {
public:
    virtual ~MonitoringServices() = default;

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
