#pragma once
// What the acquisition scheduler's window needs of the rest of the program: the main view,
// the live spectra, the bench window and the program's waits. The meter's mode, the link, the
// run, the session operations and the scheduler log the window is handed directly.

#include <QImage>
#include <string>
#include <vector>

namespace acquisition {

class SchedulerHost {
public:
    virtual ~SchedulerHost() = default;

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

    // --- the view's images, waits
    // The main view's list images: the log list shows 4, 5 and 6.
    virtual std::vector<QImage> LogImages() const = 0;
    // The message-pumping wait.
    virtual void WaitWithMessages(unsigned ms) = 0;
};

}  // namespace acquisition
