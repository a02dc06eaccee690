#pragma once
// What the acquisition scheduler's window needs of the application, the main frame and the
// main view, served by the frame.

#include "acquisition/scheduler_host.h"

class CMainFrame;

class FrameSchedulerHost : public acquisition::SchedulerHost {
public:
    explicit FrameSchedulerHost(CMainFrame& frame) : m_frame(frame) {}

    const CInstrStatus& CurrentSetup() const override;
    CInstrStatus& EditedSetup() override;
    void SendCommand(int code, const std::string& argument) override;
    void QueueSetupQueries() override;
    int LinkBaudRate() const override;
    bool IsModemLink() const override;
    void WriteToLink(int code) override;
    void StopFrameMonitoring() override;
    void DisconnectLink() override;
    void PrepareLiveSpectrumWindow() override;
    void FollowLastReportRow() override;
    void ShowBenchForSchedulerRecording() override;
    void ResetViewForScheduler() override;
    void OpenSchedulerFile() override;
    void LogScheduler(bool restart, const std::string& text, bool stamp) override;
    std::string ProgramFolder() const override;
    std::vector<QImage> LogImages() const override;
    void WaitWithMessages(unsigned ms) override;
    void StartRun(const acquisition::SchedulePlan& plan) override;
    void StopRun() override;
    void StopRunMonitoring() override;

private:
    CMainFrame& m_frame;
};
