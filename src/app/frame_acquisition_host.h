#pragma once
// What the data-acquisition side, its spectrum navigator and the audio-label window need of the
// application and the main view, served for the data files.

#include "acquisition/acquisition_host.h"
#include "acquisition/navigator_dlg.h"
#include "sound/label_audio_host.h"

class CViewSchedLoggingDlg;
class ChartWindows;
class FrameDataFiles;
class FrameUi;
class MeterMode;
class ViewLookup;

class FrameAcquisitionHost : public acquisition::AcquisitionHost,
                             public acquisition::NavigatorHost,
                             public sound::LabelAudioHost {
public:
    // What the host uses, none of it owned.
    struct Uses {
        // The title names an opened data file.
        FrameUi& ui;
        // Takes the kind of a loaded recording.
        MeterMode& mode;
        // The recording the view shows, whose record the navigator selects.
        acquisition::Recording& recording;
        // The graph legend, the loaded data's "Spectrum" window, the report list's place.
        ChartWindows& charts;
        // The scheduler log of a scheduled recording.
        CViewSchedLoggingDlg& schedulerLogViewer;
        const ViewLookup& views;
        // The navigator, the audio-label window and the reader this host serves.
        FrameDataFiles& files;
    };

    explicit FrameAcquisitionHost(const Uses& uses) : m_uses(uses) {}

    // acquisition::AcquisitionHost
    acquisition::PageBuffer DataBuffer() override;
    void SetDataLoaded() override;
    void BeginDataFile(const std::string& path) override;
    void TakeRecordingSetup(const acquisition::RecordingSetup& setup) override;
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

    // sound::LabelAudioHost
    int CurrentRecord() const override;
    void LabelsRemoved() override;

private:
    Uses m_uses;
};
