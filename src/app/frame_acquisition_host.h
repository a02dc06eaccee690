#pragma once
// What the data-acquisition side, its spectrum navigator and the audio-label window need of the
// application, the main frame and the main view, served by the frame.

#include "acquisition/acquisition_host.h"
#include "acquisition/navigator_dlg.h"
#include "sound/label_audio_host.h"

class CMainFrame;

class FrameAcquisitionHost : public acquisition::AcquisitionHost,
                             public acquisition::NavigatorHost,
                             public sound::LabelAudioHost {
public:
    explicit FrameAcquisitionHost(CMainFrame& frame) : m_frame(frame) {}

    // acquisition::AcquisitionHost
    acquisition::PageBuffer DataBuffer() override;
    std::string CurrentFile() const override;
    void SetCurrentFile(const std::string& path) override;
    void SetDataLoaded() override;
    std::vector<std::string>& Labels() override;
    void BeginDataFile(const std::string& path) override;
    void TakeRecordingSetup(const acquisition::RecordingSetup& setup) override;
    void Warn(const std::string& text, unsigned type) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void ShowLoadedDataViews(std::optional<records::RecordKind> kind) override;
    void SetDataListCount(long long rows) override;
    void OnPageLoaded(std::optional<records::RecordKind> kind, long long samples) override;
    void UpdateAudioLabelWindow(bool hasAudioLabels) override;
    void CreateSchedulerLogWindow() override;
    void ShowSchedulerLogWindow(const std::string& path) override;

    // acquisition::NavigatorHost
    void ShowRecord(int record) override;
    QRect ReportListScreenRect() const override;

    // sound::LabelAudioHost (Labels above serves both)
    int CurrentRecord() const override;
    void LabelsRemoved() override;

private:
    CMainFrame& m_frame;
};
