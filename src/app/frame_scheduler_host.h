#pragma once
// What the acquisition scheduler's window needs of the rest of the program: the main view, the
// live spectra, the bench window and the application's wait.

#include "acquisition/scheduler_host.h"

class ChartWindows;
class FrameBench;
class FrameBoxes;
class FrameDataFiles;
class FrameUi;
class LinkSession;
class MonitoringSession;
class ViewLookup;

class FrameSchedulerHost : public acquisition::SchedulerHost {
public:
    // What the host uses, none of it owned.
    struct Uses {
        // The link's meter mode: the main view is emptied of a download, the title follows
        // the link.
        LinkSession& link;
        FrameUi& ui;
        // The meter's status box, hidden with the main view's data.
        FrameBoxes& boxes;
        const ViewLookup& views;
        MonitoringSession& session;
        FrameBench& bench;
        ChartWindows& charts;
        // The reader that opens the run's file in the main view.
        FrameDataFiles& dataFiles;
    };

    explicit FrameSchedulerHost(const Uses& uses) : m_uses(uses) {}

    void PrepareLiveSpectrumWindow() override;
    void FollowLastReportRow() override;
    void ShowBenchForSchedulerRecording() override;
    void ResetViewForScheduler() override;
    void OpenSchedulerFile() override;
    std::vector<QImage> LogImages() const override;
    void WaitWithMessages(unsigned ms) override;

private:
    Uses m_uses;
};
