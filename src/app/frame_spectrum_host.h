#pragma once
// What the "Spectrum" windows need of the application, as the running program has it: the
// frame's mode and acquisition flags, the spectra of the recording in the data buffer, its
// schedule and the frame's window of loaded data.

#include "charts/spectrum_window_host.h"

class CMainFrame;

class FrameSpectrumHost : public charts::SpectrumWindowHost {
public:
    explicit FrameSpectrumHost(CMainFrame& frame) : m_frame(frame) {}

    std::optional<acquisition::RecordKind> LiveKind() const override;
    bool AcquisitionRunning() const override;
    int SelectedSegment() const override;
    int LoadedSpectra() const override;
    std::optional<charts::StoredSpectrum> LoadedSpectrum(int index) const override;
    bool IsReportIntervalBoundary(int timeSeconds) const override;
    charts::CDemoDlg& LoadedDataWindow() override;

private:
    CMainFrame& m_frame;
};
