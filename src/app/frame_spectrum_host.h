#pragma once
// What the "Spectrum" windows need of the application, as the running program has it: the
// spectra of the recording in the data buffer and its schedule.

#include "charts/spectrum_window_host.h"

class CMainFrame;

class FrameSpectrumHost : public charts::SpectrumWindowHost {
public:
    explicit FrameSpectrumHost(CMainFrame& frame) : m_frame(frame) {}

    int LoadedSpectra() const override;
    std::optional<charts::StoredSpectrum> LoadedSpectrum(int index) const override;
    bool IsReportIntervalBoundary(int timeSeconds) const override;

private:
    CMainFrame& m_frame;
};
