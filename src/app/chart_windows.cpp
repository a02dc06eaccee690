#include "app/chart_windows.h"

#include <cmath>
#include <span>

#include "acquisition/data_buffer.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "charts/spectrum_bands.h"

ChartWindows::ChartWindows(CMainFrame& frame, const acquisition::Recording& recording)
    : m_recording(recording),
      m_host(frame),
      m_spectrumHost(frame),
      m_loadedSpectra(m_spectrumHost, frame.Mode(), recording),
      m_liveSpectra(m_spectrumHost, frame.Mode(), recording, &m_loadedSpectra) {}

namespace {

charts::LoudnessEdition ViewEdition() {
    const CKX9MonitorView* view = TheApp().m_pView;
    return static_cast<charts::LoudnessEdition>(view ? view->m_nIsophone : 0);
}

bool HalfBandShift() {
    return TheApp().m_InstrStatus.m_strHalfBandShift == "ON";
}

}  // namespace

void ChartWindows::ComputeIsophoneForBand(int record) {
    const std::vector<unsigned char>& buffer = TheApp().m_DataBuffer;
    const std::span<const unsigned char> loaded(
        buffer.data(), std::min(buffer.size(), CKX9MonitorApp::kDataBufferSize));
    const charts::ChartBands* bands = charts::BandsOf(m_recording.Layout().Kind());
    if (!bands || !bands->equalLoudness)
        return;
    const std::vector<uint16_t> words = m_recording.View(loaded).Values(record);
    // A record the loaded page does not hold whole has no spectrum to go through.
    if (static_cast<int>(words.size()) < charts::kSpectrumLevels)
        return;
    m_isophone.Compute(ViewEdition(), HalfBandShift(), charts::LevelsFromRecord(words));
}

void ChartWindows::ComputeIsophoneForLevels(const std::string& text) {
    m_isophone.Compute(ViewEdition(), HalfBandShift(), charts::LevelsFromText(text));
}

void ChartWindows::ComputeIsophoneForLevels(std::span<const float> levels) {
    charts::SpectrumLevels tenths;
    tenths.fill(charts::kMissingLevel);
    for (size_t band = 0; band < std::min(levels.size(), tenths.size()); ++band)
        tenths[band] = static_cast<int>(std::lround(levels[band] * 10));
    m_isophone.Compute(ViewEdition(), HalfBandShift(), tenths);
}

void ChartWindows::ShowLegend() {
    if (m_legend.HasWindow())
        m_legend.ShowWindow(true);
}

void ChartWindows::ShowLoadedSpectra() {
    const bool made = m_loadedSpectra.HasWindow();
    m_loadedSpectra.Create();
    if (!made)
        m_loadedSpectra.ReloadLoadedSpectra();
    m_loadedSpectra.ShowWindow(true);
}

void ChartWindows::ReloadLoadedSpectra() {
    if (m_loadedSpectra.HasWindow())
        m_loadedSpectra.ReloadLoadedSpectra();
}

void ChartWindows::HideSpectrumWindows() {
    m_liveSpectra.ShowWindow(false);
    m_loadedSpectra.ShowWindow(false);
}
