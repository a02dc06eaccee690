#pragma once
// What the frame hands to the acquisition scheduler: its window, its run's state and its log
// list. Each does nothing until the scheduler installs itself (CMainFrame::SetMonitoring).

#include <string>

class MonitoringServices {
public:
    virtual ~MonitoringServices() = default;

    // The scheduler window (CSchedulerDlg).
    // "Confirm Calibration": 0 "Cal. always", 1 "Cal. if error exceeds", and that threshold.
    virtual int SchedulerConfirmMode() const { return 0; }
    virtual std::string SchedulerCalibrationThreshold() const { return std::string(); }

    // A line just written to the scheduler log, as written: a row of the scheduler window's
    // log list while that window exists.
    virtual void AddSchedulerLogRow(const std::string& /*line*/) {}
};
