#include "app/frame_spectrum_host.h"

#include <algorithm>
#include <climits>

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"

namespace {

// The loaded page's records, when they are spectra of the frame's mode.
std::optional<acquisition::DataBufferView> Spectra(const CMainFrame& frame) {
    const acquisition::Recording& recording = frame.m_recording;
    const std::optional<records::RecordKind> kind = recording.Layout().Kind();
    if (kind != frame.Link().Mode().ChannelMode() || !kind || !kind->IsSpectrum())
        return std::nullopt;
    const std::vector<unsigned char>& buffer = TheApp().m_DataBuffer;
    return recording.View(
        {buffer.data(), std::min(buffer.size(), CKX9MonitorApp::kDataBufferSize)});
}

}  // namespace

int FrameSpectrumHost::LoadedSpectra() const {
    const auto spectra = Spectra(m_frame);
    return spectra ? static_cast<int>(std::min<long long>(spectra->SampleCount(), INT_MAX)) : 0;
}

std::optional<charts::StoredSpectrum> FrameSpectrumHost::LoadedSpectrum(int index) const {
    const auto spectra = Spectra(m_frame);
    if (!spectra)
        return std::nullopt;
    const auto seconds = spectra->TimeSeconds(index);
    if (!seconds)
        return std::nullopt;
    return charts::StoredSpectrum{spectra->Values(index), *seconds};
}

bool FrameSpectrumHost::IsReportIntervalBoundary(int timeSeconds) const {
    const acquisition::Timebase& timebase = m_frame.m_recording.Time();
    return timebase.HasScheduleTimes() && timebase.IsReportIntervalIndex(timeSeconds);
}
