#pragma once
// What a scheduled run needs of the program, served by the main frame: its link session, its
// connect routines and timers, the electric calibration, the memory download, the record files
// and the scheduler log.

#include <cstdint>
#include <optional>
#include <string>

#include "acquisition/scheduler_run_host.h"

class CMainFrame;

class FrameSchedulerRunHost : public acquisition::SchedulerRunHost {
public:
    explicit FrameSchedulerRunHost(CMainFrame& frame) : m_frame(frame) {}

    std::time_t Now() override;
    void WriteLink(int code) override;
    std::string ReadLink(size_t limit) override;
    void PurgeLink() override;
    void ListenForRecords() override;
    bool ConfirmAcquisitionStop() override;
    bool ConfirmMonitorOff() override;
    void QueueCommand(int code, const std::string& arg1, const std::string& arg2) override;
    bool IsReadyToSend() override;

    bool IsAutoDetect() override;
    void PrepareConnectAttempt() override;
    int ConnectForScheduler() override;
    void ConnectInstrument() override;
    void ConnectInstrumentPort() override;
    void ArmLink() override;
    void CloseLink() override;

    void KillRecordWatchdog() override;
    void KillStatusPoll() override;
    std::string AutoStoreValue() override;
    std::string EditedIntegrationMode() override;
    void StartNewSession() override;
    void OnAcquisitionStart(records::RecordKind kind) override;
    void StartRecordingBlink() override;
    void AddSpectrumGap(records::RecordKind kind) override;
    void StopAudioRecording() override;

    void StartElectricCalibration() override;
    void CloseElectricCalibrationWindow() override;
    bool StartDownload() override;

    void ShowRunResult() override;
    void OnRunEnded() override;

    void Log(const std::string& text) override;
    std::string Caption() override;
    void SetCaption(const std::string& caption) override;

private:
    CMainFrame& m_frame;
    std::optional<std::time_t> m_anchor;
    std::uint32_t m_anchorTick = 0;
};
