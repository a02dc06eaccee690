#pragma once
// What the acquisition scheduler's window needs of the application: the meter's setup, the
// monitoring link, the frame's operations, the scheduler log and the main view. The meter's
// mode (scheduler mode, a run going on, the channel) the window shares directly (MeterMode).

#include <QImage>
#include <string>
#include <vector>

#include "acquisition/scheduler_run.h"
#include "records/record_layout.h"

class CInstrStatus;

namespace acquisition {

class SchedulerHost {
public:
    virtual ~SchedulerHost() = default;

    // --- the meter's setup (current as last read, edited as the operator wants it)
    virtual const CInstrStatus& CurrentSetup() const = 0;
    virtual CInstrStatus& EditedSetup() = 0;
    // Queues a command of the command table with its argument.
    virtual void SendCommand(int code, const std::string& argument) = 0;
    // The read of the whole setup, whose last reply opens the setup sheet.
    virtual void QueueSetupQueries() = 0;

    // --- the monitoring link
    virtual int LinkBaudRate() const = 0;
    virtual bool IsModemLink() const = 0;
    // The command's line (command_code) straight to the reference meter's port, past the
    // queue; nothing when it is closed.
    virtual void WriteToLink(int code) = 0;
    // "STT:MON:OFF" and the frame's end of monitoring: timers, flags, the link closed.
    virtual void StopFrameMonitoring() = 0;
    // Ends monitoring between acquisitions: "STT:MON:OFF", the status poll and the record
    // watchdog stopped, the monitoring, connected and receive flags cleared, a modem call
    // ended, the port closed, the link pane "Disconnected", the queue emptied, the title.
    virtual void DisconnectLink() = 0;

    // --- the frame's run
    // The live 3-D spectrum window made when missing, emptied and kept hidden.
    virtual void PrepareLiveSpectrumWindow() = 0;
    // The report list keeps its last row in view as rows arrive.
    virtual void FollowLastReportRow() = 0;
    // The bench window made again and shown with its scheduler-recording flag set.
    virtual void ShowBenchForSchedulerRecording() = 0;
    // The main view emptied for the scheduler's file, and that file ("Scheduler.kr9") opened
    // in it.
    virtual void ResetViewForScheduler() = 0;
    virtual void OpenSchedulerFile() = 0;

    // --- the scheduler log, the program folder, the view's images, waits
    virtual void LogScheduler(bool restart, const std::string& text, bool stamp) = 0;
    virtual std::string ProgramFolder() const = 0;
    // The main view's list images: the log list shows 4, 5 and 6.
    virtual std::vector<QImage> LogImages() const = 0;
    // The message-pumping wait.
    virtual void WaitWithMessages(unsigned ms) = 0;

    // --- the run of an activated plan (SchedulerRun, the frame's)
    virtual void StartRun(const SchedulePlan& plan) = 0;
    // Every timer of the run stops.
    virtual void StopRun() = 0;
    // Monitoring ends and the link closes between acquisitions: the run idle, "Connection OFF".
    virtual void StopRunMonitoring() = 0;
};

}  // namespace acquisition
